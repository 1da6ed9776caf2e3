// The browser window over a generated data folder: opening it (the folder read and listed in one go) and a
// filter by date turned on and off, as the operator sees them, offscreen.
// Run: datafiles_ui_bench <data folder> [benchmark flags]
#include "core/AppState.h"
#include "core/ReaderControl.h"
#include "datafiles/ui/frmSoubory.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/ScriptedPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>

namespace {

std::filesystem::path g_data;

void BM_BrowserOpenAndFilter(benchmark::State& state) {
    QTemporaryDir home;
    QFile ini(home.filePath(QStringLiteral("TRV7300.ini")));
    if (!ini.open(QIODevice::WriteOnly)) {
        state.SkipWithError("no configuration");
        return;
    }
    ini.write("[Data]\r\nDir=" + QByteArray::fromStdString(g_data.string()) + "\r\n");
    ini.close();
    trv::AppState app(std::filesystem::path(home.path().toStdString()));
    trv::ScriptedPrompts prompts;
    trv::SystemClock clock;
    trv::Printer printer;
    trv::NullReaderControl reader;
    for (auto _ : state) {
        trv::frmSoubory w(trv::frmSoubory::Services{app, prompts, clock, printer, reader, {}});
        if (!w.Form_Load()) {
            state.SkipWithError("the folder cannot be read");
            return;
        }
        w.show();
        QApplication::processEvents();
        w.findChild<QLineEdit*>(QStringLiteral("txtDatum"))->setText(QStringLiteral("250314"));
        auto* filter = w.findChild<QCheckBox*>(QStringLiteral("chkFilterDatum"));
        filter->click();
        QApplication::processEvents();
        filter->click();
        QApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_BrowserOpenAndFilter)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: datafiles_ui_bench <data folder> [benchmark flags]\n";
        return 2;
    }
    g_data = std::filesystem::absolute(argv[1]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    int rest = argc - 1;
    argv[1] = argv[0];
    benchmark::Initialize(&rest, argv + 1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
