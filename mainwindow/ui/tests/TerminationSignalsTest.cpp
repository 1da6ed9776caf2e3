#include "mainwindow/ui/TerminationSignals.h"

#include "testsupport/GuiTestHelpers.h"

#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <optional>

using trv::TerminationSignals;
using trv::test::onNextModal;
using trv::test::waitUntil;

TEST(TerminationSignalsTest, TheSessionsEndClosesTheWindowThroughTheEventLoop) {
    for (const int signalNumber : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        TerminationSignals termination;
        ASSERT_TRUE(termination.install().ok());
        QWidget window;
        window.show();
        int received = 0;
        QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, [&](int number) {
            received = number;
            window.close();
        });

        ASSERT_EQ(std::raise(signalNumber), 0);
        // Nothing happens inside the handler: the window closes only when the event loop runs.
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(waitUntil([&] { return !window.isVisible(); }));
        EXPECT_EQ(received, signalNumber);
    }
}

TEST(TerminationSignalsTest, OnlyOneInstanceAtATimeAndTheHandlersGoBackAfterIt) {
    struct sigaction before {};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &before), 0);
    {
        TerminationSignals first;
        ASSERT_TRUE(first.install().ok());
        TerminationSignals second;
        EXPECT_FALSE(second.install().ok());
        EXPECT_FALSE(second.installed());
    }
    struct sigaction after {};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &after), 0);
    EXPECT_EQ(after.sa_handler, before.sa_handler);

    // Free again for the next one.
    TerminationSignals next;
    EXPECT_TRUE(next.install().ok());
}

TEST(TerminationSignalsTest, TheSessionsEndCancelsAnOpenModalDialogBeforeClosingTheWindow) {
    TerminationSignals termination;
    ASSERT_TRUE(termination.install().ok());
    QWidget window;
    window.show();
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window,
                     [&window] { trv::closeAllForTermination(window); });

    std::optional<int> dialogResult;
    bool windowOpenWhenTheDialogReturned = false;
    QTimer::singleShot(0, &window, [&] {
        QDialog dialog(&window);
        dialogResult = dialog.exec();
        windowOpenWhenTheDialogReturned = window.isVisible();
    });
    // The request arrives while the dialog's own event loop runs, as it does while the operator looks at it.
    onNextModal([](QWidget*) { std::raise(SIGTERM); });

    EXPECT_TRUE(waitUntil([&] { return !window.isVisible(); }));
    EXPECT_EQ(dialogResult, QDialog::Rejected);
    // The caller of the dialog finished before the window's unload ran.
    EXPECT_TRUE(windowOpenWhenTheDialogReturned);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
