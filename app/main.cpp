#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/SettingsLoader.h"
#include "mainwindow/ErrorLogSink.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/Pause.h"
#include "mainwindow/SingleInstance.h"
#include "mainwindow/Startup.h"
#include "mainwindow/ui/TerminationSignals.h"
#include "mainwindow/ui/WidgetReceiptWindows.h"
#include "mainwindow/ui/frmHlavni.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/QtSerialPort.h"
#include "platform/SimulatedScanner.h"
#include "platform/TextFiles.h"
#include "platform/ui/DesktopShell.h"
#include "platform/ui/PrintRenderer.h"
#include "platform/ui/WidgetPrompts.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace {

// The configuration, the language file and the definition files live in the program folder: the folder
// of the executable, unless TRV7300_HOME names another one.
std::filesystem::path programFolder() {
    const QString home = qEnvironmentVariable("TRV7300_HOME");
    if (!home.isEmpty())
        return trv::TextFiles::toPath(home);
    return trv::TextFiles::toPath(QCoreApplication::applicationDirPath());
}

// The cheque scanner is simulated by a folder of cheques named by TRV7300_SCANNER; without it the scanner counts
// as not connected.
std::filesystem::path scannerFolder() {
    const QString folder = qEnvironmentVariable("TRV7300_SCANNER");
    return folder.isEmpty() ? std::filesystem::path() : trv::TextFiles::toPath(folder);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TRV7300"));

    trv::AppState state;
    trv::WidgetPrompts prompts;
    trv::QtSerialPort port;

    // The session may end the program while a start-up message waits for the operator: the request is taken
    // from the first message on. Before the main window exists every message box is cancelled and the start
    // stops at its next step; afterwards the window closes as the operator would close it.
    trv::TerminationSignals termination;
    QPointer<QWidget> mainWindow;
    bool terminating = false;
    QTimer cancelMessages;
    cancelMessages.setInterval(20);
    QObject::connect(&cancelMessages, &QTimer::timeout, &app, [] { trv::closeModalsForTermination(); });
    if (termination.install().ok())
        QObject::connect(&termination, &trv::TerminationSignals::terminationRequested, &app, [&] {
            if (mainWindow) {
                trv::closeAllForTermination(*mainWindow);
                return;
            }
            terminating = true;
            trv::closeModalsForTermination();
            // A start-up step may ask again after its box was cancelled.
            cancelMessages.start();
        });

    const std::filesystem::path folder = programFolder();
    trv::SingleInstance instance(folder);
    if (!instance.claim(prompts) || terminating)
        return 0;
    if (!trv::Main(state, folder, prompts).ok())
        return terminating ? 0 : 1;
    if (terminating)
        return 0;

    trv::SystemClock clock;
    if (!trv::NactiTypyStravenek(state, prompts, clock).ok())
        return 1;

    // Prints go to the default printer, or into PDF files beside the data folder of the moment.
    trv::PrintRenderer renderer(
        [&state] {
            const trv::Result<std::filesystem::path> data = trv::DejCestuDat(state.config);
            return data.ok() ? data.value() : std::filesystem::path();
        },
        clock);
    trv::Printer printer(&renderer);

    trv::DesktopShell shell;
    trv::scanner::SimulatedScanner scanner(scannerFolder());
    trv::WidgetReceiptWindows windows(state, prompts, clock, printer);
    trv::EventLoopPause pause;
    trv::frmHlavni window({state, prompts, clock, port, shell, windows, pause, &printer});
    windows.attach(window);
    window.setScannerDriver(&scanner);
    // A message box shows a very long text cut; the whole of it goes to the error-log window.
    prompts.setFullTextSink([&window](const QString& text) { window.logic().errorLog().PridejChybu(text); });

    if (terminating)
        return 0;
    cancelMessages.stop();
    mainWindow = &window;

    if (!window.Form_Load())
        return terminating ? 0 : 1;
    return app.exec();
}
