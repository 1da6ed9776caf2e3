// The period load per SM (statement files of a month into data.dbf, grouped per SM) over a month of an office
// (tier M of the benchmark data: March with about a million statement records in 1,240 files), beside the Unix
// tools doing the same work on the same files in the same run:
//   cat of the period's statement files (reading them at all),
//   an awk script summing the value field per SM and type.
// The folder comes from TRV_BENCH_DIR (default build/bench-m, written by
// python3 ../shared/bench/gen_data.py --tier M --out build/bench-m).

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/ReaderControl.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "reports/SmReports.h"
#include "testsupport/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

using namespace trv;
namespace fs = std::filesystem;

namespace {

using bench::benchDir;

struct Installation {
    Installation() : state(benchDir()) {
        state.gDatovyAdresar = state.programFolder / "data";
        state.sw.gFVycetky = true;
        state.sw.gFRozpoznaniKodem = true;
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        (void)state.gColStrav->NactiINI();
    }
    PeriodServices services() { return {state, prompts, clock, reader}; }

    AppState state;
    ScriptedPrompts prompts;
    SystemClock clock;
    NullReaderControl reader;
};

void BM_SmPeriodLoad(benchmark::State& bs) {
    Installation inst;
    SmReports reports(inst.services());
    SmReportChoice c;
    c.dt1 = QDate(2025, 3, 1);
    c.dt2 = QDate(2025, 3, 31);
    size_t rows = 0;
    for (auto _ : bs) {
        const auto period = reports.nactiObdobi(SmReportKind::Souhrn, c);
        if (!period) {
            bs.SkipWithError("the load ended with a message");
            return;
        }
        rows = period->rows.size();
    }
    bs.counters["rows"] = double(rows);

    // The recogniser kept per code length gives the sums that NajdiDelkuKod gives code by code.
    const auto fast = reports.nactiObdobi(SmReportKind::Souhrn, c);
    inst.state.sw.gFRozpoznaniKodem = false;
    const auto slow = reports.nactiObdobi(SmReportKind::Souhrn, c);
    bool same = fast && slow && fast->rows.size() == slow->rows.size();
    for (size_t i = 0; same && i < fast->rows.size(); ++i)
        same = fast->rows[i].sm == slow->rows[i].sm && fast->rows[i].sums == slow->rows[i].sums;
    if (!same)
        bs.SkipWithError("the sums differ from those of the recogniser code by code");
}

void BM_Floor_Cat(benchmark::State& bs) {
    bench::shellFloor(bs, "cat 2503*.vyc > /dev/null");
}

void BM_Floor_AwkSumsPerSm(benchmark::State& bs) {
    bench::shellFloor(bs,
                      "awk -F';' '{ s[$3 \";\" $4] += $6 } END { for (k in s) print k, s[k] }' 2503*.vyc > /dev/null");
}

} // namespace

BENCHMARK(BM_Floor_Cat)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SmPeriodLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor_AwkSumsPerSm)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return bench::runBenchmarks(argc, argv);
}
