// The program as the crash test runs it in a process of its own: the real main window and receipt windows over
// the program folder given as the first argument, the reader port mapped through TRV7300_COMn, message boxes
// answered by a script, and a new receipt started for cash desk 001 at the load. It prints "READY" once the
// receipt is receiving; the test then feeds codes through the line and kills it.

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/Pause.h"
#include "mainwindow/Startup.h"
#include "mainwindow/ui/WidgetReceiptWindows.h"
#include "mainwindow/ui/frmHlavni.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/QtSerialPort.h"
#include "platform/ScriptedPrompts.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const std::filesystem::path folder = trv::TextFiles::toPath(QString::fromLocal8Bit(argv[1]));

    trv::AppState state;
    trv::ScriptedPrompts prompts([](const QString& description) {
        std::fprintf(stderr, "prompt: %s\n", qPrintable(description));
    });
    trv::QtSerialPort port;
    if (!trv::Main(state, folder, prompts).ok())
        return 1;
    trv::SystemClock clock;
    state.gColStrav = std::make_shared<trv::CColStrav>(state, prompts, clock);
    if (!state.gColStrav->NactiINI().ok())
        return 1;
    trv::Printer printer;
    trv::RecordingShell shell;
    trv::WidgetReceiptWindows windows(state, prompts, clock, printer);
    trv::EventLoopPause pause;
    trv::frmHlavni window({state, prompts, clock, port, shell, windows, pause});
    windows.attach(window);

    // The load opens the receipt start: a new day file for cash desk 001, order 1.
    QTimer starter;
    starter.setInterval(10);
    QObject::connect(&starter, &QTimer::timeout, [&starter] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->objectName() != QLatin1String("frmPrijem"))
            return;
        starter.stop();
        modal->findChild<QLineEdit*>(QStringLiteral("txtPokladni"))->setText(QStringLiteral("001"));
        modal->findChild<QLineEdit*>(QStringLiteral("txtPoradi"))->setText(QStringLiteral("1"));
        modal->findChild<QPushButton*>(QStringLiteral("btnPrijem"))->click();
    });
    starter.start();
    if (!window.Form_Load() || !window.logic().receipt().receiving())
        return 1;
    std::printf("READY %s\n", qPrintable(window.logic().lblSoubor()));
    std::fflush(stdout);
    return app.exec();
}
