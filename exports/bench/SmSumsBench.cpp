// The per-SM sums of a period's statement files (the pipeline of the period export button) over a generated
// program folder, beside cat and an awk script that sum the same files per SM and type. Beside the wall time each
// figure has its processor time (cpu_ms, user and system, of the program itself or of the shell command's
// processes), which a machine busy with other work disturbs less.
// Run: exports_bench <program folder> <first day YYYY-MM-DD> <last day YYYY-MM-DD> [benchmark flags]
#include "exports/SmSums.h"

#include "core/SettingsLoader.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "platform/Shell.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

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

// User and system time in ms of this process (RUSAGE_SELF) or of its waited-for children (RUSAGE_CHILDREN).
double cpuMs(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
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
    const double cpuBefore = cpuMs(RUSAGE_SELF);
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
    state.counters["cpu_ms"] = (cpuMs(RUSAGE_SELF) - cpuBefore) / double(state.iterations());
}

void shell(benchmark::State& state, const std::string& command) {
    const double cpuBefore = cpuMs(RUSAGE_CHILDREN);
    for (auto _ : state) {
        const int rc = std::system(command.c_str());
        benchmark::DoNotOptimize(rc);
    }
    state.counters["cpu_ms"] = (cpuMs(RUSAGE_CHILDREN) - cpuBefore) / double(state.iterations());
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
