// The period load of a whole year of an office (tier M of the benchmark data: about 11.9 million statement
// records in 14,800 statement files) with the progress window the period window shows, beside the same load
// without it, in the same run: the window (painted, the program kept responsive, cancel checked) may cost no
// more than a tenth of the load. The ticket list of the same year runs in the same window as the period window
// runs it (files read, then codes written); "longest_gap_ms" is the longest time the window was not told of
// progress, during which the program does not answer, from the click to the result shown (the result text made,
// the list written). "cancel_ms" is the longest time from the operator's click on the window's cancel button to the
// end of the load, the button clicked at points through the load (cancel_median_ms their median).
// The folder comes from TRV_BENCH_DIR (default build/bench-m, written by
// python3 ../shared/bench/gen_data.py --tier M --out build/bench-m).

#include "periods/ui/SummaryWidgets.h"
#include "platform/ui/ProgressWindow.h"
#include "summaries/PeriodFileOps.h"
#include "summaries/PeriodLoader.h"
#include "summaries/PeriodResult.h"
#include "summaries/bench/BenchInstallation.h"
#include "testsupport/GuiBenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace trv;

namespace {

using bench::Installation;

// The progress window, with the longest time between two of its steps kept, from the click on.
struct Watched final : Progress {
    explicit Watched(ProgressWindow& window) : window(window) { since.start(); }
    bool step(qint64 done, qint64 total) override {
        longestMs = std::max(longestMs, since.restart());
        return window.step(done, total);
    }
    // The result is shown: the time since the last step counts as well.
    void shown() { longestMs = std::max(longestMs, since.restart()); }
    ProgressWindow& window;
    QElapsedTimer since;
    qint64 longestMs = 0;
};

// The operator clicks the window's cancel button `atMs` after the click that started the load; the click waits in
// the queue until the program answers.
void cancelAt(ProgressWindow& window, int atMs) {
    // A precise timer: a coarse one may fire a twentieth of its time early or late.
    QTimer::singleShot(atMs, Qt::PreciseTimer, &window, [&window] {
        if (auto* button = window.findChild<QPushButton*>(QStringLiteral("cmdPrerusit")))
            button->click();
    });
}

// The result the period window shows after the computation.
void showResult(Installation& inst, const PeriodState& st) {
    const QString text = zobrazVysledek(inst.state, st.m_col, st.gColStrav2, {}, {}, {});
    benchmark::DoNotOptimize(text.size());
}

// The median and the longest of the latencies.
void cancelCounters(benchmark::State& bs, std::vector<qint64> latencies) {
    if (latencies.empty())
        return;
    std::sort(latencies.begin(), latencies.end());
    bs.counters["cancel_ms"] = double(latencies.back());
    bs.counters["cancel_median_ms"] = double(latencies[latencies.size() / 2]);
}

// Where through a load the operator cancels it, as parts of its whole time.
constexpr double kCancelPoints[] = {0.02, 0.25, 0.5, 0.75, 0.9, 0.95, 0.98};

// The ticket list as the period window runs it: its load, then its write, in one progress window. The state
// stays with the caller, as with the window: its codes are not let go when the list ends.
Result<qint64> ticketList(Installation& inst, PeriodState& st, ProgressWindow& window, Watched& progress,
                          const std::filesystem::path& file) {
    PeriodServices services = inst.services();
    services.progress = &progress;
    PeriodLoader loader(services);
    if (const Status read = loader.stravenky(st, bench::wholeSpan()); !read.ok())
        return read.error();
    window.setStepText(periodsui::stepTextCodesWritten());
    return loader.zapisStravenky(st, {}, file);
}

void BM_YearTicketListWithProgressWindow(benchmark::State& bs) {
    Installation inst;
    QWidget owner;
    owner.show();
    // A list of its own for each run, as each click names its own: no run replaces the file of another.
    std::vector<std::filesystem::path> files;
    const auto nextFile = [&] {
        files.push_back(bench::benchDir() / "export" / ("bench_tickets_" + std::to_string(files.size()) + ".txt"));
        return files.back();
    };
    qint64 codes = 0;
    qint64 longest = 0;
    qint64 wholeMs = 0;
    for (auto _ : bs) {
        QElapsedTimer whole;
        whole.start();
        PeriodState st;
        ProgressWindow window(&owner, QStringLiteral("Součet"), 0);
        Watched progress(window);
        const auto written = ticketList(inst, st, window, progress, nextFile());
        if (!written.ok()) {
            bs.SkipWithError(written.message().toStdString().c_str());
            return;
        }
        codes = written.value();
        progress.shown();
        longest = std::max(longest, progress.longestMs);
        wholeMs = std::max(wholeMs, whole.elapsed());
    }
    std::vector<qint64> latencies;
    for (const double part : kCancelPoints) {
        const int atMs = int(double(wholeMs) * part);
        PeriodState st;
        ProgressWindow window(&owner, QStringLiteral("Součet"), 0);
        Watched progress(window);
        cancelAt(window, atMs);
        QElapsedTimer clock;
        clock.start();
        const auto written = ticketList(inst, st, window, progress, nextFile());
        const qint64 endMs = clock.elapsed();
        if (!written.ok())
            latencies.push_back(std::max<qint64>(endMs - atMs, 0));
    }
    std::error_code ec;
    for (const auto& file : files)
        std::filesystem::remove(file, ec);
    bs.counters["codes"] = double(codes);
    bs.counters["longest_gap_ms"] = double(longest);
    cancelCounters(bs, latencies);
}

void load(benchmark::State& bs, bool withWindow) {
    Installation inst;
    QWidget owner;
    owner.show();
    PeriodState st;
    qint64 longest = 0;
    qint64 wholeMs = 0;
    for (auto _ : bs) {
        QElapsedTimer whole;
        whole.start();
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
        showResult(inst, st);
        wholeMs = std::max(wholeMs, whole.elapsed());
        if (progress) {
            progress->shown();
            longest = std::max(longest, progress->longestMs);
        }
    }
    bs.counters["codes"] = double(st.m_col.codes->size());
    if (!withWindow)
        return;
    bs.counters["longest_gap_ms"] = double(longest);
    // The same load cancelled at points through it (untimed: the figures are the latencies).
    std::vector<qint64> latencies;
    for (const double part : kCancelPoints) {
        const int atMs = int(double(wholeMs) * part);
        PeriodState cancelled;
        ProgressWindow window(&owner, QStringLiteral("Součet"), 0);
        Watched progress(window);
        PeriodServices services = inst.services();
        services.progress = &progress;
        cancelAt(window, atMs);
        QElapsedTimer clock;
        clock.start();
        const Status done = PeriodLoader(services).vypocet(cancelled, bench::wholeSpan());
        const qint64 endMs = clock.elapsed();
        if (done.ok())
            continue; // ended before the click
        latencies.push_back(std::max<qint64>(endMs - atMs, 0));
    }
    cancelCounters(bs, latencies);
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
