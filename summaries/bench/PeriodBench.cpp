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
#include "summaries/PeriodFiles.h"
#include "summaries/PeriodLoader.h"
#include "summaries/PeriodResult.h"
#include "summaries/bench/BenchInstallation.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

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

// The bytes of the files the period load reads (the same files cat reads below): with the time per byte of each
// run, the loads of two tiers compare by what they cost per byte.
qint64 periodBytes(const AppState& state) {
    const auto files = souboryObdobi(state, march(), PeriodOperation::Vypocet);
    if (!files.ok())
        return 0;
    qint64 bytes = 0;
    for (const PeriodFile& f : files.value()) {
        std::error_code ec;
        const auto size = fs::file_size(f.path, ec);
        bytes += ec ? 0 : qint64(size);
    }
    return bytes;
}

// The counters "bytes" and "ns_per_byte": the real time of the run's iterations per byte read.
void perByte(benchmark::State& bs, std::chrono::steady_clock::duration spent, qint64 bytes) {
    bs.counters["bytes"] = double(bytes);
    if (bytes > 0 && bs.iterations() > 0)
        bs.counters["ns_per_byte"] = double(std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count()) /
                                     double(bs.iterations()) / double(bytes);
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
    const auto began = std::chrono::steady_clock::now();
    for (auto _ : bs) {
        const Status done = loader.vypocet(st, march());
        if (!done.ok()) {
            bs.SkipWithError(done.message().toStdString().c_str());
            return;
        }
        text = zobrazVysledek(inst.state, st.m_col, st.gColStrav2, {}, {}, {});
        benchmark::DoNotOptimize(text);
    }
    const auto spent = std::chrono::steady_clock::now() - began;
    if (!totalsMatch(st))
        bs.SkipWithError("the totals differ from the generator's");
    bs.counters["codes"] = double(st.m_col.codes->size());
    bs.counters["peak_rss_MB"] = double(peakRssMb());
    perByte(bs, spent, periodBytes(inst.state));
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
        repeated += qint64(st.m_col.codes->setAside(t).size());
    bs.counters["later_readings"] = double(repeated);
}

void BM_Floor_Cat(benchmark::State& bs) {
    const auto began = std::chrono::steady_clock::now();
    bench::shellFloor(bs, "cat 2503*.vyc > /dev/null");
    const auto spent = std::chrono::steady_clock::now() - began;
    Installation inst;
    perByte(bs, spent, periodBytes(inst.state));
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
