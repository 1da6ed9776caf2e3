// Recognition and the definitions load over generated program folders of many voucher types, each figure
// beside its floor: the least work the same task needs (one hash lookup of the code; reading the file's bytes).

#include "TypeFolderGenerator.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/CheckDigits.h"
#include "core/Kontrola.h"
#include "core/ReaderControl.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "platform/TextFiles.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>

using namespace trv;

namespace {

struct Folder {
    explicit Folder(int count)
    {
        bench::writeTypeFolder(folder, count);
        state.sw.gFRozpoznaniKodem = true;
        // Every conditional key is read, as in an installation with package, list and CBA exports.
        state.sw.gFBalikyTyden = true;
        state.sw.gFExportSeznamu = true;
        state.sw.gFExportCBA = true;
    }

    std::unique_ptr<CColStrav> load()
    {
        auto types = std::make_unique<CColStrav>(state, prompts, clock);
        if (!types->NactiINI().ok())
            throw std::runtime_error("the generated definition file did not load");
        return types;
    }

    QTemporaryDir dir;
    std::filesystem::path folder = TextFiles::toPath(dir.path());
    AppState state{folder};
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 3, 14), QTime(10, 30))};
};

Folder& folderOf(int count)
{
    static std::map<int, std::unique_ptr<Folder>> folders;
    auto& f = folders[count];
    if (!f)
        f = std::make_unique<Folder>(count);
    return *f;
}

// Recognition by the whole code (customer switch 14), one code of every type in turn and two that no type takes.
void BM_RecognitionByWholeCode(benchmark::State& bench)
{
    const int count = static_cast<int>(bench.range(0));
    Folder& f = folderOf(count);
    const auto types = f.load();
    const auto codes = bench::generatedCodes(count);
    size_t i = 0;
    qint64 recognised = 0;
    for (auto _ : bench) {
        const QString& kod = codes[i++ % codes.size()];
        const auto t = types->NajdiDelkuKod(kod);
        benchmark::DoNotOptimize(t);
        recognised += t ? 1 : 0;
    }
    bench.SetItemsProcessed(bench.iterations());
    bench.counters["recognised"] = benchmark::Counter(static_cast<double>(recognised) / bench.iterations());
}
BENCHMARK(BM_RecognitionByWholeCode)->Arg(20)->Arg(200);

// Floor: one hash lookup of the code, the least any recogniser does with it.
void BM_RecognitionFloorHashLookup(benchmark::State& bench)
{
    const int count = static_cast<int>(bench.range(0));
    const auto codes = bench::generatedCodes(count);
    QHash<QString, int> byCode;
    for (int n = 1; n <= count; ++n)
        byCode.insert(bench::generatedCode(n), n);
    size_t i = 0;
    for (auto _ : bench) {
        const int found = byCode.value(codes[i++ % codes.size()]);
        benchmark::DoNotOptimize(found);
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_RecognitionFloorHashLookup)->Arg(20)->Arg(200);

// What the code processor does with each code at 200 types: the check digit, the length, the validity and
// the booking, each of which recognises the code (by the whole code).
void BM_CodeCheckedAndBooked(benchmark::State& bench)
{
    const int count = static_cast<int>(bench.range(0));
    Folder& f = folderOf(count);
    const auto types = f.load();
    const auto codes = bench::generatedCodes(count);
    NullReaderControl reader;
    Kontrola kontrola(f.state, *types, f.prompts, reader);
    Booking booking(f.state, *types, f.prompts, reader);
    // The codes go into the receipt, whose sums booking weighs at every code.
    f.state.gColStrav = std::shared_ptr<CColStrav>(std::shared_ptr<CColStrav>(), types.get());
    size_t i = 0;
    for (auto _ : bench) {
        const QString& kod = codes[i++ % count]; // recognised codes only: an unknown one would stop the reader
        const bool passed = OverInterleave(*types, kod) && kontrola.OverDelku(kod) && kontrola.OverPlatnost(kod);
        benchmark::DoNotOptimize(passed);
        benchmark::DoNotOptimize(booking.PridejKod(kod, 1, false));
        if (i % 10000 == 0) {
            bench.PauseTiming();
            booking.VymazBuf();
            bench.ResumeTiming();
        }
    }
    f.state.gColStrav.reset();
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_CodeCheckedAndBooked)->Arg(20)->Arg(200);

// The start-up's load of the definitions: TypStrav.ini of 40 and 200 types of 94 keys.
void BM_DefinitionsLoad(benchmark::State& bench)
{
    Folder& f = folderOf(static_cast<int>(bench.range(0)));
    for (auto _ : bench) {
        const auto types = f.load();
        benchmark::DoNotOptimize(types->count());
    }
    bench.counters["bytes"] = static_cast<double>(std::filesystem::file_size(f.folder / "TypStrav.ini"));
}
BENCHMARK(BM_DefinitionsLoad)->Arg(40)->Arg(200)->Unit(benchmark::kMillisecond);

// Floor: reading the same file's bytes.
void BM_DefinitionsFloorReadFile(benchmark::State& bench)
{
    Folder& f = folderOf(static_cast<int>(bench.range(0)));
    const QString path = TextFiles::toQString(f.folder / "TypStrav.ini");
    for (auto _ : bench) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the generated file");
        const QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(bytes.size());
    }
}
BENCHMARK(BM_DefinitionsFloorReadFile)->Arg(40)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
