// The program as the crash test runs it in a process of its own: the real main window and receipt windows over
// the program folder given as the first argument, the reader port mapped through TRV7300_COMn, message boxes
// answered by a script, and a new receipt started at the load (from the menu in a mode that starts nothing by
// itself): for cash desk 001 in the cash-desk start, for SM
// 123 and operator Eva in the SM start (depot D07, envelope OB-1 where depot mode asks for them), a collected safe
// bag where the working mode is asked. It prints "READY" and the receipt's file (a safe-bag receipt's file of its
// own) once the receipt is receiving; the test then feeds codes through the line and kills it. A line "SAVE" on its
// input ends the receipt and saves it in the closing window.

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/Pause.h"
#include "mainwindow/Startup.h"
#include "mainwindow/ui/VerticalMenu.h"
#include "mainwindow/ui/WidgetReceiptWindows.h"
#include "mainwindow/ui/frmHlavni.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/QtSerialPort.h"
#include "platform/ScriptedPrompts.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

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
    const auto box = [](QWidget* modal, const char* name, const char* text) {
        modal->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
    };
    QObject::connect(&starter, &QTimer::timeout, [&starter, &box] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        if (modal->objectName() == QLatin1String("frmSafeBag")) {
            modal->findChild<QPushButton*>(QStringLiteral("cmdSafeBag"))->click();
            return;
        }
        if (modal->objectName() == QLatin1String("frmPrijem")) {
            box(modal, "txtPokladni", "001");
            box(modal, "txtPoradi", "1");
        } else if (modal->objectName() == QLatin1String("frmPrijemSec")) {
            box(modal, "txtSM", "123");
            box(modal, "txtOperator", "Eva");
            if (modal->findChild<QLineEdit*>(QStringLiteral("txtIdentObalky"))->isVisibleTo(modal)) {
                box(modal, "txtDepo", "D07");
                box(modal, "txtIdentObalky", "OB-1");
            }
        } else {
            return;
        }
        starter.stop();
        modal->findChild<QPushButton*>(QStringLiteral("btnPrijem"))->click();
    });
    starter.start();
    if (!window.Form_Load())
        return 1;
    // A mode other than STD and AUT starts nothing at the load: the operator starts the receipt from the menu.
    if (!window.logic().receipt().receiving())
        window.findChild<QAction*>(QStringLiteral("prijem"))->trigger();
    if (!window.logic().receipt().receiving())
        return 1;
    const QString file = window.logic().lblSoubor().isEmpty()
                             ? trv::TextFiles::toQString(window.logic().journal().file())
                             : window.logic().lblSoubor();
    std::printf("READY %s\n", qPrintable(file));
    std::fflush(stdout);

    QTimer saver;
    saver.setInterval(10);
    QObject::connect(&saver, &QTimer::timeout, [&saver] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->objectName() != QLatin1String("frmUkonceniPr"))
            return;
        saver.stop();
        modal->findChild<QPushButton*>(QStringLiteral("btnUloz"))->click();
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray received;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char chunk[256];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        received.append(chunk, n);
        if (!received.contains("SAVE\n"))
            return;
        received.clear();
        saver.start();
        window.findChild<trv::VerticalMenu*>(QStringLiteral("vmnNab"))->itemButton(4)->click();
    });
    return app.exec();
}
