// Peak memory of the per-SM exports over one large statement file, beside the period load of the same file and
// `sort | uniq -c` of it. Each operation runs in a child process of its own; the figure is the child's peak
// resident size (wait4), and "idle" is a child that does nothing, the floor every figure stands on.
// Run: exports_memory_bench <program folder> <lines> [benchmark flags]
// The program folder is one written by gen_data.py (its configuration and voucher types); the statement file is
// made of its March statement lines repeated until it holds <lines> lines, each with a Czech operator name in
// Windows-1250, as the stored files have it (the text is then no plain ASCII, the costly case).
#include "core/ReaderControl.h"
#include "core/SettingsLoader.h"
#include "exports/SmExports.h"
#include "exports/SmSums.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "testsupport/BenchSupport.h"
#include "platform/Shell.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"
#include "summaries/PeriodLoader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>

namespace {

namespace fs = std::filesystem;

fs::path g_home; // the program folder of the run: the generated one's definitions, a data folder of its own
fs::path g_file; // the large statement file
const QDate g_day(2025, 3, 1);

using trv::bench::measurePeak;

// A program state over the run's folder, as the period window has it.
struct Program {
    trv::AppState app{g_home};
    trv::ScriptedPrompts prompts;
    trv::RecordingShell shell;
    trv::SystemClock clock;
    trv::NullReaderControl reader;
    trv::ExportContext ctx{app, prompts, shell, clock};
    Program() {
        (void)trv::NactiNastaveni(app);
        app.gDatovyAdresar = g_home / "data";
    }
    trv::SmSumsRequest request() const { return {g_day, g_day, {}, false, false}; }
};

void BM_Idle(benchmark::State& state) {
    measurePeak(state, [] { return true; });
}

void BM_SumsPerSm(benchmark::State& state) {
    measurePeak(state, [] {
        Program p;
        return trv::sumPeriodPerSm(p.ctx, p.request(), trv::SmSumsVariant::Tesco).ok();
    });
}

void BM_CountsExport(benchmark::State& state) {
    measurePeak(state, [] {
        Program p;
        return trv::exportPocetSM(p.ctx, p.request()).ok();
    });
}

void BM_MergedExport(benchmark::State& state) {
    measurePeak(state, [] {
        Program p;
        return trv::exportSlouceneVycetky(p.ctx, p.request(), g_day.addDays(1)).ok();
    });
}

void BM_PeriodLoad(benchmark::State& state) {
    measurePeak(state, [] {
        Program p;
        trv::PeriodLoader loader({p.app, p.prompts, p.clock, p.reader});
        auto col = loader.novaKolekce(false);
        if (!col.ok())
            return false;
        const std::vector<trv::PeriodFile> files{
            {g_file, trv::TextFiles::toQString(g_file.filename()), trv::PeriodFile::Kind::Statement, {}}};
        return loader.nacti(col.value(), files, {}, false).ok();
    });
}

void BM_SortUniqC(benchmark::State& state) {
    const std::string command = "sort '" + g_file.string() + "' | uniq -c > /dev/null";
    measurePeak(state, [&] { return std::system(command.c_str()) == 0; });
}

// The run's program folder: the generated configuration pointed at a data folder of its own, and the large file.
bool prepare(const fs::path& generated, qint64 lines, const fs::path& into) {
    std::error_code ec;
    fs::create_directories(into / "data", ec);
    fs::create_directories(into / "export", ec);
    for (const auto& entry : fs::directory_iterator(generated, ec)) {
        if (entry.path().extension() == ".ini")
            fs::copy_file(entry.path(), into / entry.path().filename(), fs::copy_options::overwrite_existing, ec);
    }
    auto config = trv::TextFiles::readAll(into / "TRV7300.ini");
    if (!config.ok())
        return false;
    QString text = config.value().text;
    const QString data = trv::TextFiles::toQString(into / "data");
    const QString exp = trv::TextFiles::toQString(into / "export");
    text.replace(QRegularExpression(QStringLiteral("(?m)^Dir=.*$")), QStringLiteral("Dir=") + data);
    text.replace(QRegularExpression(QStringLiteral("(?m)^ExpDir=.*$")), QStringLiteral("ExpDir=") + exp);
    if (!trv::TextFiles::writeAll(into / "TRV7300.ini", text).ok())
        return false;

    QByteArray sample;
    for (const auto& entry : fs::directory_iterator(generated / "data", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("2503", 0) == 0 && name.size() > 10 && name.ends_with(".vyc")) {
            auto bytes = trv::TextFiles::readBytes(entry.path());
            if (bytes.ok())
                sample += bytes.value();
            if (sample.size() > (8 << 20))
                break;
        }
    }
    // The operator field (the last) of every line holds Czech letters.
    const QByteArray czech = trv::encodeText(QStringLiteral("Šárka Řeřichová"), trv::TextEncoding::Windows1250);
    QByteArray withCzech;
    for (const QByteArray& line : sample.split('\n')) {
        const qsizetype last = line.lastIndexOf(';');
        if (last >= 0)
            withCzech += line.left(last + 1) + czech + "\r\n";
    }
    sample = withCzech;
    const qint64 sampleLines = sample.count('\n');
    if (sampleLines == 0)
        return false;
    g_file = into / "data" / "250301_101_OP1_1.vyc";
    QFile out(trv::TextFiles::toQString(g_file));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (qint64 written = 0; written < lines; written += sampleLines) {
        if (written + sampleLines <= lines) {
            out.write(sample);
            continue;
        }
        qsizetype at = 0;
        for (qint64 i = written; i < lines; ++i)
            at = sample.indexOf('\n', at) + 1;
        out.write(sample.left(at));
    }
    return out.flush();
}

} // namespace

BENCHMARK(BM_Idle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SumsPerSm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_CountsExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_MergedExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_PeriodLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SortUniqC)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: exports_memory_bench <program folder> <lines> [flags]\n";
        return 2;
    }
    QTemporaryDir tmp;
    g_home = fs::path(tmp.path().toStdString());
    if (!prepare(fs::absolute(argv[1]), std::atoll(argv[2]), g_home)) {
        std::cerr << "cannot prepare the statement file\n";
        return 1;
    }
    std::cerr << "statement file: " << g_file << ", " << fs::file_size(g_file) / (1 << 20) << " MB\n";
    int rest = argc - 2;
    argv[2] = argv[0];
    benchmark::Initialize(&rest, argv + 2);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
