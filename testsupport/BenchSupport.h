#pragma once

// What the benchmarks over the generated month of an office share: where the data is, the Unix floors run in
// its data folder, and a main() with the Qt application the program's classes need.

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace trv::bench {

// The generated program folder: TRV_BENCH_DIR, else build/bench-m (written by
// python3 ../shared/bench/gen_data.py --tier M --out build/bench-m).
inline std::filesystem::path benchDir() {
    const char* dir = std::getenv("TRV_BENCH_DIR");
    return std::filesystem::absolute(dir ? std::filesystem::path(dir) : std::filesystem::path("build/bench-m"));
}

// Runs a Unix command in the data folder each iteration: the floor a figure is set beside.
inline void shellFloor(benchmark::State& bs, const std::string& command) {
    const std::string line = "cd '" + (benchDir() / "data").string() + "' && " + command;
    for (auto _ : bs) {
        if (std::system(line.c_str()) != 0) {
            bs.SkipWithError("the command failed");
            return;
        }
    }
}

inline int runBenchmarks(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace trv::bench
