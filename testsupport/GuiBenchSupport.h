#pragma once

// The main() of a benchmark of windows: the offscreen platform unless one is named, a widgets application,
// and the benchmarks; `after` runs once they are done (a summary of ratios, say).

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

namespace trv::bench {

inline int runGuiBenchmarks(int argc, char** argv, const std::function<void()>& after = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (after)
        after();
    benchmark::Shutdown();
    return 0;
}

} // namespace trv::bench
