// Peak memory of the per-SM exports over one large statement file, beside the period load of the same file and
// `sort | uniq -c` of it. Each operation runs in a child process of its own; the figure is the child's peak
// resident size (wait4), and "idle" is a child that does nothing, the floor every figure stands on.
// Run: exports_memory_bench <program folder> <lines> [benchmark flags]
// The program folder is one written by gen_data.py (its configuration and voucher types); the statement file is
// made of its March statement lines repeated until it holds <lines> lines, each with a Czech operator name in
// Windows-1250, as the stored files have it (the text is then no plain ASCII, the costly case).
// SumsPerSmSteps runs the per-SM sums of the file in this process, told to a progress that answers at once, as the
// progress window is: "longest_gap_ms" is the longest time without a step, from the start to the sums, in which the
// program would not answer; "cancel_ms" the longest time from the operator's cancel, at points through the run, to
// its end (the window adds at most its repaint interval, 50 ms, before it hears the click).
#include "core/ReaderControl.h"
#include "core/SettingsLoader.h"
#include "exports/SmExports.h"
#include "exports/SmSums.h"
#include "platform/Clock.h"
#include "platform/Progress.h"
#include "platform/ScriptedPrompts.h"
#include "testsupport/BenchSupport.h"
#include "platform/Shell.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"
#include "summaries/PeriodLoader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
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

// A progress that answers at once, keeps the longest time between two steps, and says the operator has cancelled
// once `cancelAtMs` (from its start) has passed.
struct Timed final : trv::Progress {
    Timed() { clock.start(); }
    bool step(qint64, qint64) override {
        const qint64 now = clock.elapsed();
        longestMs = std::max(longestMs, now - lastMs);
        lastMs = now;
        return cancelAtMs < 0 || now < cancelAtMs;
    }
    QElapsedTimer clock;
    qint64 lastMs = 0;
    qint64 longestMs = 0;
    qint64 cancelAtMs = -1;
};

void BM_SumsPerSmSteps(benchmark::State& state) {
    qint64 longest = 0;
    qint64 wholeMs = 0;
    for (auto _ : state) {
        Program p;
        Timed progress;
        p.ctx.progress = &progress;
        if (!trv::sumPeriodPerSm(p.ctx, p.request(), trv::SmSumsVariant::Tesco).ok()) {
            state.SkipWithError("the sums failed");
            return;
        }
        const qint64 end = progress.clock.elapsed();
        longest = std::max({longest, progress.longestMs, end - progress.lastMs});
        wholeMs = std::max(wholeMs, end);
    }
    std::vector<qint64> latencies;
    for (const double part : {0.1, 0.3, 0.5, 0.7, 0.9}) {
        Program p;
        Timed progress;
        progress.cancelAtMs = qint64(double(wholeMs) * part);
        p.ctx.progress = &progress;
        const bool done = trv::sumPeriodPerSm(p.ctx, p.request(), trv::SmSumsVariant::Tesco).ok();
        if (!done)
            latencies.push_back(std::max<qint64>(progress.clock.elapsed() - progress.cancelAtMs, 0));
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["longest_gap_ms"] = double(longest);
    if (!latencies.empty()) {
        state.counters["cancel_ms"] = double(latencies.back());
        state.counters["cancel_median_ms"] = double(latencies[latencies.size() / 2]);
    }
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
BENCHMARK(BM_SumsPerSmSteps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
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
