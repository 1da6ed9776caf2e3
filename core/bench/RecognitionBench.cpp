// Recognition and valuation of one code over a definition file of 20 voucher types, the work the code
// processor does for every code the reader sends.

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "platform/TextFiles.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

using namespace trv;

namespace {

const std::filesystem::path kData = std::filesystem::path(__FILE__).parent_path() / "../tests/data/voucher/bench";

// Codes of most types of the file, cheques with correct check sums, one code no type takes and one that only the
// last, catch-all type takes.
const std::vector<QString>& codes()
{
    static const std::vector<QString> list = {
        QStringLiteral("1012345601250"),          QStringLiteral("0120012345"),
        QStringLiteral("3012345601100"),          QStringLiteral("4112345600950"),
        QStringLiteral("5012345601000"),          QStringLiteral("6312345600900"),
        QStringLiteral("70561234012000"),         QStringLiteral("120000000850"),
        QStringLiteral("3000000000001000"),       QStringLiteral("8003456789012345"),
        QStringLiteral("811234567890120020"),     QStringLiteral("82123456789012340800"),
        QStringLiteral("8312345678901234560900"), QStringLiteral("84123450750"),
        QStringLiteral("851234567801100"),        QStringLiteral("8612345601050"),
        QStringLiteral("8812345600850"),          QStringLiteral("9912345600800"),
        QStringLiteral("250436431136123452011344"), QStringLiteral("250436531312123452011344"),
        QStringLiteral("407000000830123452011644"), QStringLiteral("24838356732123456712334459"),
        QStringLiteral("1234567890"),             QStringLiteral("0000000000000"),
    };
    return list;
}

struct Setup {
    Setup()
    {
        for (const char* name : {"TypStrav.ini", "hodnoty_beta.ini"})
            std::filesystem::copy_file(kData / name, folder / name);
        state.sw.gFCBA = true;
        types = std::make_unique<CColStrav>(state, prompts, clock);
        if (!types->NactiINI().ok() || types->count() != 20)
            throw std::runtime_error("the benchmark's definition file did not load");
    }

    QTemporaryDir dir;
    std::filesystem::path folder = TextFiles::toPath(dir.path());
    AppState state{folder};
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 3, 14), QTime(10, 30))};
    std::unique_ptr<CColStrav> types;
};

// Whole-code recognition (customer switch 14) and the face value.
void BM_NajdiDelkuKodAndValue(benchmark::State& bench)
{
    Setup s;
    const auto& list = codes();
    size_t i = 0;
    qint64 recognised = 0;
    for (auto _ : bench) {
        const QString& kod = list[i++ % list.size()];
        if (const auto t = s.types->NajdiDelkuKod(kod)) {
            CPolozka code;
            code.Kod = kod;
            code.setTypS(t);
            const auto value = code.DejHodnotu();
            benchmark::DoNotOptimize(value);
            ++recognised;
        }
    }
    bench.SetItemsProcessed(bench.iterations());
    bench.counters["recognised"] = benchmark::Counter(static_cast<double>(recognised) / bench.iterations());
}
BENCHMARK(BM_NajdiDelkuKodAndValue);

// Recognition by length and the face value.
void BM_NajdiDelkuAndValue(benchmark::State& bench)
{
    Setup s;
    const auto& list = codes();
    size_t i = 0;
    for (auto _ : bench) {
        const QString& kod = list[i++ % list.size()];
        const auto t = s.types->NajdiDelku(kod.size(), kod);
        if (t.ok() && t.value()) {
            CPolozka code;
            code.Kod = kod;
            code.setTypS(t.value());
            const auto value = code.DejHodnotu();
            benchmark::DoNotOptimize(value);
        }
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_NajdiDelkuAndValue);

// Loading the definition file, as every summary and report does for its own collection.
void BM_NactiINI(benchmark::State& bench)
{
    Setup s;
    for (auto _ : bench) {
        CColStrav col(s.state, s.prompts, s.clock);
        const Status loaded = col.NactiINI();
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_NactiINI)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
