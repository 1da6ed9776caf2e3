#pragma once

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "mainwindow/Startup.h"
#include "mainwindow/tests/NoPause.h"
#include "mainwindow/ui/WidgetReceiptWindows.h"
#include "mainwindow/ui/frmHlavni.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPort.h"
#include "platform/Printer.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace trv::test {

// The whole program over a copy of the sample installation: real windows, a fake reader port, a fixed clock.
class WholeProgramTest : public ::testing::Test {
protected:
    WholeProgramTest() {
        EXPECT_TRUE(m_dir.isValid());
        folder = TextFiles::toPath(m_dir.path());
        std::filesystem::copy(TextFiles::toPath(QStringLiteral(TRV_TEST_DATA "/../../../../sample")), folder,
                              std::filesystem::copy_options::recursive);
    }

    // Starts the program as its entry does and loads the main window; the load's own result.
    bool startProgram() {
        EXPECT_TRUE(Main(state, folder, prompts).ok());
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        const Status loaded = state.gColStrav->NactiINI();
        EXPECT_TRUE(loaded.ok()) << loaded.message().toStdString();
        window = std::make_unique<frmHlavni>(frmHlavni::Services{state, prompts, clock, port, shell, windows, pause});
        windows.attach(*window);
        return window->Form_Load();
    }

    QTemporaryDir m_dir;
    std::filesystem::path folder;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3))};
    FakeSerialPort port;
    RecordingShell shell;
    Printer printer;
    WidgetReceiptWindows windows{state, prompts, clock, printer};
    NoPause pause;
    std::unique_ptr<frmHlavni> window;
};

} // namespace trv::test
