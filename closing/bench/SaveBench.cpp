// The save of a closed receipt of 50,000 codes in statement mode (the day file, the statement file and one
// company export per voucher type), beside two floors: a plain copy of the same bytes, and the same bytes written
// and synced to disk once each (the least a save that survives a power cut does).
//
// Run on a program folder written by ../shared/bench/gen_data.py (tier M: 24 voucher types, so 24 exports):
//     python3 ../shared/bench/gen_data.py --tier M --out build/bench-m
//     build/closing/closing_bench build/bench-m --benchmark_repetitions=5 --benchmark_report_aggregates_only
// The receipt is the codes of the folder's day files, taken in name order and repeated up to 50,000 codes.

#include "closing/ReceiptInfo.h"
#include "closing/ReceiptSave.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/DayDataFiles.h"
#include "core/SettingsLoader.h"
#include "platform/Clock.h"
#include "platform/DbfTable.h"
#include "platform/ScriptedPrompts.h"
#include "platform/TextFiles.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace trv;
namespace fs = std::filesystem;

namespace {

constexpr int kCodes = 50000;
fs::path g_source; // the program folder of gen_data.py

struct Receipt {
    Receipt() {
        if (!dir.isValid())
            throw std::runtime_error("no temporary folder");
        for (const char* sub : {"data", "export", "copy"})
            fs::create_directory(folder / sub);
        for (const auto& entry : fs::directory_iterator(g_source)) {
            if (entry.is_regular_file())
                fs::copy_file(entry.path(), folder / entry.path().filename());
        }
        // The receipt saves into a data folder of its own; its exports go to one folder.
        const QString ini = QStringLiteral("[Data]\r\nDir=%1\r\nExpDir=%2\r\nExpTxtSeparator=;\r\n")
                                .arg(TextFiles::toQString(folder / "data"), TextFiles::toQString(folder / "export"));
        const auto original = TextFiles::readAll(folder / "TRV7300.ini");
        if (!original.ok() || !TextFiles::writeAll(folder / "TRV7300.ini", ini + original.value().text).ok())
            throw std::runtime_error("the configuration cannot be written");
        state = AppState(folder);
        if (!NactiNastaveni(state).ok())
            throw std::runtime_error("the settings do not load");
        state.sw.gFVycetky = true;
        state.sw.gFDepo = false;
        types = std::make_shared<CColStrav>(state, prompts, clock);
        if (!types->NactiINI().ok() || types->count() == 0)
            throw std::runtime_error("the definition file does not load");
        state.gColStrav = types;
        for (const auto& t : *types) {
            t->Export = 1;
            t->ExpTyp = QStringLiteral("SODEXHO");
            t->Cesta = TextFiles::toQString(folder / "export");
            t->Pripona = QStringLiteral("e%1").arg(t->kodTypu);
        }

        const auto files = DayDataFiles::list(g_source / "data");
        if (!files.ok() || files.value().empty())
            throw std::runtime_error("the folder has no day files");
        int booked = 0;
        while (booked < kCodes) {
            for (const auto& file : files.value()) {
                const auto lines = TextFiles::readLines(file);
                if (!lines.ok())
                    continue;
                for (const QString& line : lines.value()) {
                    const auto t = types->NajdiDelkuKod(line);
                    if (!t || booked >= kCodes)
                        continue;
                    auto code = std::make_shared<CPolozka>();
                    code->Kod = line;
                    code->TypNacteni = 1;
                    code->setTypS(t);
                    t->Polozky->Add(code);
                    ++booked;
                }
            }
        }
        receipt.gDatumPrijmu = QStringLiteral("260314");
        receipt.gSM = QStringLiteral("042");
        receipt.gOperator = QStringLiteral("Novák");
        receipt.gDatumOdvodu = QDate(2026, 3, 16);
        dayFile = folder / "data" / "260314_042_Novak_1.txt";
    }

    QTemporaryDir dir;
    fs::path folder = TextFiles::toPath(dir.path());
    AppState state{folder};
    ScriptedPrompts prompts{[](const QString&) {}};
    FixedClock clock{QDateTime(QDate(2026, 3, 14), QTime(10, 30))};
    std::shared_ptr<CColStrav> types;
    ReceiptInfo receipt;
    fs::path dayFile;
};

Receipt& receipt() {
    static Receipt r;
    return r;
}

void BM_SaveOf50000Codes(benchmark::State& st) {
    Receipt& r = receipt();
    UlozeniPrijmu save(r.state, r.receipt, r.prompts, r.clock);
    for (auto _ : st) {
        if (!save.uloz(r.dayFile))
            st.SkipWithError("the save failed");
    }
    std::uintmax_t bytes = 0;
    for (const auto& e : fs::recursive_directory_iterator(r.folder / "data"))
        bytes += e.is_regular_file() ? e.file_size() : 0;
    for (const auto& e : fs::directory_iterator(r.folder / "export"))
        bytes += e.is_regular_file() ? e.file_size() : 0;
    st.counters["bytes"] = double(bytes);
    st.SetBytesProcessed(std::int64_t(st.iterations()) * std::int64_t(bytes));
}

// The same receipt started by cash desk, outside statement mode: the day file, the exports, and the exp_data row
// of the cash desk and day recomputed from its day files on disk (this one, 50,000 codes, read and recognised
// again).
void BM_CashDeskSaveOf50000Codes(benchmark::State& st) {
    Receipt& r = receipt();
    r.state.sw.gFVycetky = false;
    const fs::path dayFile = r.folder / "data" / "260314042_1.txt";
    UlozeniPrijmu save(r.state, r.receipt, r.prompts, r.clock);
    for (auto _ : st) {
        if (!save.uloz(dayFile))
            st.SkipWithError("the save failed");
    }
    // What the row holds, to see that the day file was read again.
    if (auto table = DbfTable::open(r.folder / "export" / "exp_data.dbf", DbfTable::Access::ReadOnly); table.ok()) {
        const auto rows = table.value().readAll();
        st.counters["rows"] = rows.ok() ? double(rows.value().size()) : -1;
        if (rows.ok() && !rows.value().empty()) {
            Currency total;
            for (const char* field : {"hodn_CHe", "hodn_Sod", "hodn_Exi", "hodn_Tic"})
                total += rows.value().front().number(QString::fromLatin1(field)).value_or(Currency());
            st.counters["row_total"] = double(total.units()) / Currency::kUnitsPerWhole;
        }
    }
    r.state.sw.gFVycetky = true;
    fs::remove(dayFile);
}

// The floor: the same files copied as they are, as `cp` would.
void BM_PlainCopyOfTheSameBytes(benchmark::State& st) {
    Receipt& r = receipt();
    // Exactly the files of one statement-mode save, as BM_SaveOf50000Codes writes them.
    for (const char* sub : {"data", "export"}) {
        for (const auto& e : fs::directory_iterator(r.folder / sub))
            fs::remove_all(e.path());
    }
    UlozeniPrijmu(r.state, r.receipt, r.prompts, r.clock).uloz(r.dayFile);
    std::vector<fs::path> files;
    for (const char* sub : {"data", "export"}) {
        for (const auto& e : fs::directory_iterator(r.folder / sub))
            if (e.is_regular_file())
                files.push_back(e.path());
    }
    std::uintmax_t bytes = 0;
    for (const auto& f : files)
        bytes += fs::file_size(f);
    for (auto _ : st) {
        for (const auto& f : files)
            fs::copy_file(f, r.folder / "copy" / f.filename(), fs::copy_options::overwrite_existing);
    }
    st.counters["bytes"] = double(bytes);
    st.SetBytesProcessed(std::int64_t(st.iterations()) * std::int64_t(bytes));
}

// The floor of a safe save: each file of one statement-mode save written from its bytes in memory and synced, once.
void BM_Floor_WriteAndSyncTheSameBytes(benchmark::State& st) {
    Receipt& r = receipt();
    for (const char* sub : {"data", "export"}) {
        for (const auto& e : fs::directory_iterator(r.folder / sub))
            fs::remove_all(e.path());
    }
    UlozeniPrijmu(r.state, r.receipt, r.prompts, r.clock).uloz(r.dayFile);
    std::vector<std::pair<fs::path, QByteArray>> files;
    std::uintmax_t bytes = 0;
    for (const char* sub : {"data", "export"}) {
        for (const auto& e : fs::directory_iterator(r.folder / sub)) {
            if (!e.is_regular_file())
                continue;
            auto content = TextFiles::readBytes(e.path());
            if (!content.ok()) {
                st.SkipWithError("a saved file cannot be read");
                return;
            }
            bytes += std::uintmax_t(content.value().size());
            files.emplace_back(r.folder / "copy" / e.path().filename(), content.value());
        }
    }
    for (auto _ : st) {
        for (const auto& [file, content] : files) {
            const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0 || ::write(fd, content.constData(), size_t(content.size())) != content.size() ||
                ::fsync(fd) != 0) {
                st.SkipWithError("the floor's write failed");
            }
            if (fd >= 0)
                ::close(fd);
        }
    }
    st.counters["bytes"] = double(bytes);
    st.counters["files"] = double(files.size());
    st.SetBytesProcessed(std::int64_t(st.iterations()) * std::int64_t(bytes));
}

BENCHMARK(BM_SaveOf50000Codes)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_CashDeskSaveOf50000Codes)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_PlainCopyOfTheSameBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Floor_WriteAndSyncTheSameBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s <program folder of gen_data.py> [benchmark options]\n", argv[0]);
        return 2;
    }
    g_source = argv[1];
    for (int i = 1; i + 1 < argc; ++i)
        argv[i] = argv[i + 1];
    --argc;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
