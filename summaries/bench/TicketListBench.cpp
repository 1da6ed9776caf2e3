// The ticket list of a whole year of an office (tier M of the benchmark data: about 11.9 million statement
// records in 14,800 statement files) beside the computation of the same year, in the same run. Each runs in a
// child process of its own, so that the figures are the time of the whole operation and its peak resident size
// ("peak_MB"); the idle child is the floor every peak stands on. Both are told to a progress as the period window
// tells its progress window (files read, then codes written), which answers at once. The list should take no
// more than 1.3 times the computation's time and 1.1 times its memory.
// The folder comes from TRV_BENCH_DIR (default build/bench-m, written by
// python3 ../shared/bench/gen_data.py --tier M --out build/bench-m).

#include "platform/Progress.h"
#include "summaries/PeriodFileOps.h"
#include "summaries/PeriodLoader.h"
#include "summaries/bench/BenchInstallation.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <vector>

using namespace trv;
namespace fs = std::filesystem;

namespace {

using bench::Installation;

// A list of its own for each run (named by the child's process), as each click names its own: no run replaces
// the file of another.
const char* const kListPrefix = "bench_tickets_";
fs::path listFile() {
    return bench::benchDir() / "export" / (kListPrefix + std::to_string(getpid()) + ".txt");
}

// An operator who watches and never cancels.
struct Watching final : Progress {
    bool step(qint64 done, qint64 total) override {
        benchmark::DoNotOptimize(done + total);
        return true;
    }
};

void BM_Floor_IdleChild(benchmark::State& bs) {
    bench::measurePeak(bs, [] { return true; });
}

// One operation on the generated office, watched by an operator who never cancels; false, and why on stderr, when
// it failed.
bool watched(const std::function<Status(PeriodLoader&, PeriodState&)>& operation) {
    Installation inst;
    Watching progress;
    PeriodServices services = inst.services();
    services.progress = &progress;
    PeriodState st;
    PeriodLoader loader(services);
    const Status done = operation(loader, st);
    if (!done.ok())
        std::cerr << done.message().toStdString() << '\n';
    return done.ok();
}

void BM_Floor_YearComputation(benchmark::State& bs) {
    bench::measurePeak(bs, [] {
        return watched([](PeriodLoader& loader, PeriodState& st) { return loader.vypocet(st, bench::wholeSpan()); });
    });
}

void BM_YearTicketList(benchmark::State& bs) {
    bench::measurePeak(bs, [] {
        return watched([](PeriodLoader& loader, PeriodState& st) {
            if (const Status read = loader.stravenky(st, bench::wholeSpan()); !read.ok())
                return read;
            return Status::from(loader.zapisStravenky(st, {}, listFile()));
        });
    });
    std::vector<fs::path> lists;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(bench::benchDir() / "export", ec)) {
        if (e.path().filename().string().rfind(kListPrefix, 0) == 0)
            lists.push_back(e.path());
    }
    bs.counters["file_MB"] = lists.empty() ? 0.0 : double(fs::file_size(lists.back(), ec)) / 1e6;
    for (const auto& f : lists)
        fs::remove(f, ec);
}

} // namespace

BENCHMARK(BM_Floor_IdleChild)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Floor_YearComputation)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_YearTicketList)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Floor_YearComputation)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    return bench::runBenchmarks(argc, argv);
}
