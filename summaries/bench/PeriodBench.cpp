// The period load and the duplicate check over a month of an office (tier M of the benchmark data: a year of
// files in one folder, March with about a million statement records in 1,240 files), beside the Unix tools doing
// the same work on the same files in the same run:
//   cat of the period's statement files (reading them at all),
//   an awk script making the same distinct-code totals per type and value,
//   cut | sort | uniq -d listing the codes read more than once.
// The folder comes from TRV_BENCH_DIR (default build/bench-m, written by
// python3 ../shared/bench/gen_data.py --tier M --out build/bench-m).

#include "core/CColStrav.h"
#include "platform/TextFiles.h"
#include "summaries/PeriodLoader.h"
#include "summaries/PeriodResult.h"
#include "summaries/bench/BenchInstallation.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

using namespace trv;
namespace fs = std::filesystem;

namespace {

using bench::benchDir;

using bench::Installation;

PeriodChoice march() {
    PeriodChoice c;
    c.datumOd = QDate(2025, 3, 1);
    c.datumDo = QDate(2025, 3, 31);
    return c;
}

long peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The loader's totals against the generator's: count and amount of the distinct codes of the period.
bool totalsMatch(const PeriodState& st) {
    qint64 count = 0;
    Currency amount;
    for (int t = 0; t < st.m_col.codes->typeCount(); ++t) {
        for (const auto& [value, n] : nominalTable(*st.m_col.codes, t)) {
            count += n;
            amount += value * n;
        }
    }
    const auto expected = TextFiles::readLines(benchDir() / "bench" / "expected_totals.txt");
    const QString total = expected.ok() ? expected.value().last() : QString();
    const QString mine = QStringLiteral("TOTAL;;%1;%2").arg(count).arg(amount.toDouble(), 0, 'f', 2);
    if (mine != total)
        std::cerr << "totals differ: " << mine.toStdString() << " against " << total.toStdString() << '\n';
    return mine == total;
}

void BM_PeriodLoad(benchmark::State& bs) {
    Installation inst;
    PeriodLoader loader(inst.services());
    PeriodState st;
    QString text;
    for (auto _ : bs) {
        const Status done = loader.vypocet(st, march());
        if (!done.ok()) {
            bs.SkipWithError(done.message().toStdString().c_str());
            return;
        }
        text = zobrazVysledek(inst.state, st.m_col, st.gColStrav2, {}, {}, {});
        benchmark::DoNotOptimize(text);
    }
    if (!totalsMatch(st))
        bs.SkipWithError("the totals differ from the generator's");
    bs.counters["codes"] = double(st.m_col.codes->size());
    bs.counters["peak_rss_MB"] = double(peakRssMb());
}

void BM_Duplicates(benchmark::State& bs) {
    Installation inst;
    PeriodLoader loader(inst.services());
    PeriodState st;
    for (auto _ : bs) {
        bs.PauseTiming();
        fs::remove(inst.state.programFolder / "Duplicity.log");
        bs.ResumeTiming();
        const Status done = loader.duplicity(st, march());
        if (!done.ok()) {
            bs.SkipWithError(done.message().toStdString().c_str());
            return;
        }
        const QString text = vypisDuplicit(inst.state, st.m_col);
        benchmark::DoNotOptimize(text);
    }
    qint64 repeated = 0;
    for (int t = 0; t < st.m_col.codes->typeCount(); ++t)
        repeated += qint64(st.m_col.codes->repeats(t).size());
    bs.counters["later_readings"] = double(repeated);
}

void BM_Floor_Cat(benchmark::State& bs) {
    bench::shellFloor(bs, "cat 2503*.vyc > /dev/null");
}

void BM_Floor_AwkDistinctTotals(benchmark::State& bs) {
    bench::shellFloor(
        bs, "awk -F';' '!seen[$4 \";\" $5]++ { n[$4 \";\" $6]++ } END { for (k in n) print k, n[k] }' 2503*.vyc"
            " > /dev/null");
}

void BM_Floor_CutSortUniq(benchmark::State& bs) {
    bench::shellFloor(bs, "cut -d';' -f5 2503*.vyc | LC_ALL=C sort | uniq -d > /dev/null");
}

} // namespace

BENCHMARK(BM_Floor_Cat)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PeriodLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor_AwkDistinctTotals)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Duplicates)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor_CutSortUniq)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return bench::runBenchmarks(argc, argv);
}
