// The one folder listing over a folder of tier-L size, beside `ls -U | sort` of the same folder in the same run.
// Run: platform_listing_bench [folder] [benchmark flags]
// Without a folder, one is made in the system's temporary folder: 329,596 empty files named as
// ../shared/bench/gen_data.py names tier L (1095 days of 150 receipts, each YYMMDD_SM_OP_n.txt and .vyc, one
// YYMMDD.bal a day, and Barcode.txt), and removed at the end. The floor runs in the C locale and in the
// environment's locale.
#include "platform/FolderListing.h"
#include "platform/TextFiles.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path g_folder;

void makeTierL(const fs::path& folder) {
    std::mt19937 rng(7300);
    std::vector<std::string> sms;
    for (int i = 0; i < 300; ++i)
        sms.push_back(std::to_string(100 + int(rng() % 900)));
    const char* letters = "ABCDEFGHIJKLMNOPRSTUVZ";
    QDate day(2022, 12, 13);
    char name[64];
    for (int d = 0; d < 1095; ++d, day = day.addDays(1)) {
        const std::string date = day.toString(QStringLiteral("yyMMdd")).toStdString();
        for (int f = 1; f <= 150; ++f) {
            const std::string& sm = sms[rng() % sms.size()];
            const char op[3] = {letters[rng() % 22], letters[rng() % 22], 0};
            for (const char* ext : {"txt", "vyc"}) {
                std::snprintf(name, sizeof name, "%s_%s_%s_%d.%s", date.c_str(), sm.c_str(), op, f, ext);
                ::close(::open((folder / name).c_str(), O_CREAT | O_WRONLY, 0644));
            }
        }
        ::close(::open((folder / (date + ".bal")).c_str(), O_CREAT | O_WRONLY, 0644));
    }
    ::close(::open((folder / "Barcode.txt").c_str(), O_CREAT | O_WRONLY, 0644));
}

// The listing as it was before the one listing: a directory_iterator with a path per entry, sorted as
// pair<QString, path> (TextFiles::listFolder), kept here for the "before" figure.
std::vector<fs::path> listingBefore(const fs::path& folder) {
    std::vector<std::pair<QString, fs::path>> named;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc))
            continue;
        named.emplace_back(trv::TextFiles::toQString(it->path().filename()), it->path());
    }
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
        const int c = QString::compare(a.first, b.first, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.first < b.first;
    });
    std::vector<fs::path> files;
    for (auto& e : named)
        files.push_back(std::move(e.second));
    return files;
}

void BM_Before_DirectoryIteratorPairSort(benchmark::State& state) {
    for (auto _ : state) {
        const auto files = listingBefore(g_folder);
        state.counters["files"] = double(files.size());
    }
}

// The browser's and every other whole-folder walk: every file, sorted, each with its name (its path on demand).
void BM_FolderListing_AllFiles(benchmark::State& state) {
    for (auto _ : state) {
        const auto files = trv::FolderListing::list(g_folder);
        state.counters["files"] = double(files.value().size());
    }
}

// The same walk by a caller that takes every name and every path.
void BM_FolderListing_AllFilesEveryPath(benchmark::State& state) {
    for (auto _ : state) {
        const auto files = trv::FolderListing::list(g_folder);
        size_t bytes = 0;
        for (const auto& f : files.value())
            bytes += f.path().native().size() + size_t(f.name.size());
        benchmark::DoNotOptimize(bytes);
        state.counters["files"] = double(files.value().size());
    }
}

// Every file's path, no names (TextFiles::listFolder).
void BM_FolderListing_AllPaths(benchmark::State& state) {
    for (auto _ : state) {
        const auto files = trv::TextFiles::listFolder(g_folder, QStringLiteral("*"));
        state.counters["files"] = double(files.value().size());
    }
}

// The day files' pattern (the browser, the code search).
void BM_FolderListing_TxtPattern(benchmark::State& state) {
    for (auto _ : state) {
        const auto files = trv::TextFiles::listFolder(g_folder, QStringLiteral("*.txt"));
        state.counters["files"] = double(files.value().size());
    }
}

// The period selection: the whole history passed over by name, paths only for one month.
void BM_FolderListing_PeriodFilter(benchmark::State& state) {
    for (auto _ : state) {
        const auto files = trv::FolderListing::list(g_folder, QStringLiteral("*"), [](const QString& name) {
            return name.size() > 10 && name.endsWith(QStringLiteral(".vyc")) && name.startsWith(QStringLiteral("2511"));
        });
        state.counters["files"] = double(files.value().size());
    }
}

void shell(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        const int rc = std::system(command.c_str());
        benchmark::DoNotOptimize(rc);
    }
}

void BM_Floor_LsUSort_CLocale(benchmark::State& state) {
    shell(state, "ls -U '" + g_folder.string() + "' | LC_ALL=C sort > /dev/null");
}

void BM_Floor_LsUSort_Locale(benchmark::State& state) {
    shell(state, "ls -U '" + g_folder.string() + "' | sort > /dev/null");
}

} // namespace

BENCHMARK(BM_Before_DirectoryIteratorPairSort)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_FolderListing_AllFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_FolderListing_AllFilesEveryPath)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_FolderListing_AllPaths)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_FolderListing_TxtPattern)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_FolderListing_PeriodFilter)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Floor_LsUSort_CLocale)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Floor_LsUSort_Locale)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();

int main(int argc, char** argv) {
    QTemporaryDir made;
    if (argc > 1 && argv[1][0] != '-') {
        g_folder = argv[1];
        argv[1] = argv[0];
        ++argv;
        --argc;
    } else {
        if (!made.isValid()) {
            std::cerr << "no temporary folder\n";
            return 2;
        }
        g_folder = trv::TextFiles::toPath(made.path());
        std::cerr << "making 329,596 empty files of tier-L names in " << g_folder << "\n";
        makeTierL(g_folder);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
