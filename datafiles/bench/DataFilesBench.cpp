// The browser's listing and filters and the code search over a generated data folder, beside grep -rFl on the
// same folder. Run: datafiles_bench <data folder> <code> [benchmark flags]
#include "datafiles/CodeSearch.h"
#include "datafiles/DataFileList.h"

#include <QStringListModel>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

std::filesystem::path g_folder;
QString g_code;

void BM_BrowserListAndFilter(benchmark::State& state) {
    for (auto _ : state) {
        auto list = trv::DataFileList::load(g_folder);
        if (!list.ok()) {
            state.SkipWithError(list.message().toStdString().c_str());
            return;
        }
        QStringListModel model;
        model.setStringList(list.value().names());
        QStringListModel filtered;
        filtered.setStringList(list.value().filter({trv::DataFileList::Key::Datum, QStringLiteral("250314"), false}));
        filtered.setStringList(list.value().filter({trv::DataFileList::Key::Sm, QStringLiteral("641"), false}));
        filtered.setStringList(list.value().filter({trv::DataFileList::Key::Text, QStringLiteral("2503"), false}));
        benchmark::DoNotOptimize(filtered.rowCount());
        state.counters["files"] = double(list.value().count());
    }
}

void BM_CodeSearch(benchmark::State& state) {
    for (auto _ : state) {
        auto hits = trv::CodeSearch::najdi(g_folder, g_code);
        if (!hits.ok()) {
            state.SkipWithError(hits.message().toStdString().c_str());
            return;
        }
        state.counters["hits"] = double(hits.value().count);
    }
}

void grep(benchmark::State& state, const std::string& options) {
    const std::string command =
        "grep -rFl " + options + " '" + g_code.toStdString() + "' '" + g_folder.string() + "' > /dev/null";
    for (auto _ : state) {
        const int rc = std::system(command.c_str());
        benchmark::DoNotOptimize(rc);
    }
}

void BM_GrepRFl_TxtFiles(benchmark::State& state) {
    grep(state, "--include='*.txt'");
}

void BM_GrepRFl_WholeFolder(benchmark::State& state) {
    grep(state, "");
}

} // namespace

BENCHMARK(BM_BrowserListAndFilter)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CodeSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepRFl_TxtFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepRFl_WholeFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: datafiles_bench <data folder> <code> [benchmark flags]\n";
        return 2;
    }
    g_folder = argv[1];
    g_code = QString::fromLocal8Bit(argv[2]);
    int rest = argc - 2;
    argv[2] = argv[0];
    benchmark::Initialize(&rest, argv + 2);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
