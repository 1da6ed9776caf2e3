// The period load of a whole year of an office (tier M of the benchmark data: about 11.9 million statement
// records in 14,800 statement files) with the progress window the period window shows, beside the same load
// without it, in the same run: the window (painted, the program kept responsive, cancel checked) may cost no
// more than a tenth of the load.
// The folder comes from TRV_BENCH_DIR (default build/bench-m, written by
// python3 ../shared/bench/gen_data.py --tier M --out build/bench-m).

#include "platform/ui/ProgressWindow.h"
#include "summaries/PeriodLoader.h"
#include "summaries/bench/BenchInstallation.h"
#include "testsupport/GuiBenchSupport.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

using namespace trv;

namespace {

using bench::Installation;

PeriodChoice year() {
    PeriodChoice c;
    c.datumOd = QDate(2024, 1, 1);
    c.datumDo = QDate(2025, 12, 31);
    return c;
}

void load(benchmark::State& bs, bool withWindow) {
    Installation inst;
    QWidget owner;
    owner.show();
    PeriodState st;
    for (auto _ : bs) {
        // The window is made for each load, as the period window does; shown from the first file on.
        std::unique_ptr<ProgressWindow> progress;
        PeriodServices services = inst.services();
        if (withWindow) {
            progress = std::make_unique<ProgressWindow>(&owner, QStringLiteral("Součet"), 0);
            services.progress = progress.get();
        }
        const Status done = PeriodLoader(services).vypocet(st, year());
        if (!done.ok()) {
            bs.SkipWithError(done.message().toStdString().c_str());
            return;
        }
    }
    bs.counters["codes"] = double(st.m_col.codes->size());
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
BENCHMARK(BM_Floor_YearLoadWithoutProgress)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    return bench::runGuiBenchmarks(argc, argv);
}
