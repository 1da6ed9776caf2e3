// The period load of a whole year of an office (tier M of the benchmark data: about 11.9 million statement
// records in 14,800 statement files) with the progress window the period window shows, beside the same load
// without it, in the same run: the window (painted, the program kept responsive, cancel checked) may cost no
// more than a tenth of the load. The ticket list of the same year runs in the same window as the period window
// runs it (files read, then codes written); "longest_gap_ms" is the longest time the window was not told of
// progress, during which the program does not answer.
// The folder comes from TRV_BENCH_DIR (default build/bench-m, written by
// python3 ../shared/bench/gen_data.py --tier M --out build/bench-m).

#include "periods/ui/SummaryWidgets.h"
#include "platform/ui/ProgressWindow.h"
#include "summaries/PeriodFileOps.h"
#include "summaries/PeriodLoader.h"
#include "summaries/bench/BenchInstallation.h"
#include "testsupport/GuiBenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace trv;

namespace {

using bench::Installation;

// The progress window, with the longest time between two of its steps kept.
struct Watched final : Progress {
    explicit Watched(ProgressWindow& window) : window(window) { since.start(); }
    bool step(qint64 done, qint64 total) override {
        longestMs = std::max(longestMs, since.restart());
        return window.step(done, total);
    }
    ProgressWindow& window;
    QElapsedTimer since;
    qint64 longestMs = 0;
};

void BM_YearTicketListWithProgressWindow(benchmark::State& bs) {
    Installation inst;
    QWidget owner;
    owner.show();
    // A list of its own for each run, as each click names its own: no run replaces the file of another.
    std::vector<std::filesystem::path> files;
    qint64 codes = 0;
    qint64 longest = 0;
    for (auto _ : bs) {
        files.push_back(bench::benchDir() / "export" / ("bench_tickets_" + std::to_string(files.size()) + ".txt"));
        const auto& file = files.back();
        PeriodState st;
        ProgressWindow window(&owner, QStringLiteral("Součet"), 0);
        Watched progress(window);
        PeriodServices services = inst.services();
        services.progress = &progress;
        PeriodLoader loader(services);
        if (const Status read = loader.stravenky(st, bench::wholeSpan()); !read.ok()) {
            bs.SkipWithError(read.message().toStdString().c_str());
            return;
        }
        window.setStepText(periodsui::stepTextCodesWritten());
        const auto written = loader.zapisStravenky(st, {}, file);
        if (!written.ok()) {
            bs.SkipWithError(written.message().toStdString().c_str());
            return;
        }
        codes = written.value();
        longest = std::max(longest, progress.longestMs);
    }
    std::error_code ec;
    for (const auto& file : files)
        std::filesystem::remove(file, ec);
    bs.counters["codes"] = double(codes);
    bs.counters["longest_gap_ms"] = double(longest);
}

void load(benchmark::State& bs, bool withWindow) {
    Installation inst;
    QWidget owner;
    owner.show();
    PeriodState st;
    qint64 longest = 0;
    for (auto _ : bs) {
        // The window is made for each load, as the period window does; shown from the first file on.
        std::unique_ptr<ProgressWindow> window;
        std::unique_ptr<Watched> progress;
        PeriodServices services = inst.services();
        if (withWindow) {
            window = std::make_unique<ProgressWindow>(&owner, QStringLiteral("Součet"), 0);
            progress = std::make_unique<Watched>(*window);
            services.progress = progress.get();
        }
        const Status done = PeriodLoader(services).vypocet(st, bench::wholeSpan());
        if (!done.ok()) {
            bs.SkipWithError(done.message().toStdString().c_str());
            return;
        }
        if (progress)
            longest = std::max(longest, progress->longestMs);
    }
    bs.counters["codes"] = double(st.m_col.codes->size());
    if (withWindow)
        bs.counters["longest_gap_ms"] = double(longest);
}

void BM_Floor_YearLoadWithoutProgress(benchmark::State& bs) {
    load(bs, false);
}

void BM_YearLoadWithProgressWindow(benchmark::State& bs) {
    load(bs, true);
}

} // namespace

BENCHMARK(BM_Floor_YearLoadWithoutProgress)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_YearLoadWithProgressWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_YearTicketListWithProgressWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Floor_YearLoadWithoutProgress)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    return bench::runGuiBenchmarks(argc, argv);
}
