#pragma once

// What the benchmarks over the generated month of an office share: where the data is, the Unix floors run in
// its data folder, and a main() with the Qt application the program's classes need.

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
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

// The peak resident size in MB of a child process that runs `work`, or -1 when the child failed: each
// operation measured in a process of its own, so that one's peak does not hide another's.
inline double peakOfChild(const std::function<bool()>& work) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(work() ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return double(usage.ru_maxrss) / 1024.0;
}

// Runs `work` in a child each iteration and reports its peak as the counter "peak_MB".
inline void measurePeak(benchmark::State& state, const std::function<bool()>& work) {
    double peak = 0;
    for (auto _ : state)
        peak = peakOfChild(work);
    if (peak < 0)
        state.SkipWithError("the child failed");
    state.counters["peak_MB"] = peak;
}

inline int runBenchmarks(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace trv::bench
