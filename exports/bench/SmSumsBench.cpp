// The per-SM sums of a period's statement files (the pipeline of the period export button) over a generated
// program folder, beside cat and an awk script that sum the same files per SM and type.
// Run: exports_bench <program folder> <first day YYYY-MM-DD> <last day YYYY-MM-DD> [benchmark flags]
#include "exports/SmSums.h"

#include "core/SettingsLoader.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "platform/Shell.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

std::filesystem::path g_home;
QDate g_from, g_to;

// The period's statement files as a shell glob: the generated names start with the receipt date.
std::string periodGlob() {
    std::string glob;
    for (QDate d = g_from; d <= g_to; d = d.addDays(1))
        glob +=
            " '" + (g_home / "data").string() + "/'" + d.toString(QStringLiteral("yyMMdd")).toStdString() + "_*.vyc";
    return glob;
}

void BM_SumsPerSm(benchmark::State& state) {
    trv::AppState app(g_home);
    if (trv::Status loaded = trv::NactiNastaveni(app); !loaded.ok()) {
        state.SkipWithError(loaded.message().toStdString().c_str());
        return;
    }
    app.gDatovyAdresar = g_home / "data";
    trv::ScriptedPrompts prompts;
    trv::RecordingShell shell;
    trv::SystemClock clock;
    trv::ExportContext ctx{app, prompts, shell, clock};
    const trv::SmSumsRequest request{g_from, g_to, {}, false, false};
    for (auto _ : state) {
        auto sums = trv::sumPeriodPerSm(ctx, request, trv::SmSumsVariant::Counts);
        if (!sums.ok()) {
            state.SkipWithError(sums.message().toStdString().c_str());
            return;
        }
        state.counters["files"] = double(sums.value().scan.files.size());
        state.counters["sms"] = double(sums.value().rows.size());
        state.counters["skipped"] = double(sums.value().scan.skippedLines);
    }
}

void shell(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        const int rc = std::system(command.c_str());
        benchmark::DoNotOptimize(rc);
    }
}

void BM_Cat(benchmark::State& state) {
    shell(state, "cat" + periodGlob() + " > /dev/null");
}

void BM_AwkSumsPerSmAndType(benchmark::State& state) {
    shell(state, "awk -F';' '{ s[$3 \";\" $4] += $6; n[$3 \";\" $4]++ } END { for (k in s) print k, s[k], n[k] }'" +
                     periodGlob() + " > /dev/null");
}

} // namespace

BENCHMARK(BM_SumsPerSm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Cat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_AwkSumsPerSmAndType)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: exports_bench <program folder> <first day YYYY-MM-DD> <last day YYYY-MM-DD> [flags]\n";
        return 2;
    }
    g_home = std::filesystem::absolute(argv[1]);
    g_from = QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate);
    g_to = QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate);
    int rest = argc - 3;
    argv[3] = argv[0];
    benchmark::Initialize(&rest, argv + 3);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
