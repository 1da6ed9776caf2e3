#include "settings/ui/frmChyby.h"

#include "testsupport/GuiTestHelpers.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextCursor>

using trv::frmChyby;
using trv::test::child;
using trv::test::waitUntil;

namespace {

QString listText(frmChyby* window) {
    return child<QPlainTextEdit>(window, "rtb")->toPlainText();
}

} // namespace

TEST(frmChybyTest, LinesAreAppendedAtTheEndInArrivalOrder) {
    frmChyby window;
    window.show();
    window.PridejChybu(QStringLiteral("Kód 111 odmítnut"));
    // The operator has clicked into the list and selected text: later lines still go to the end.
    auto* rtb = child<QPlainTextEdit>(&window, "rtb");
    QTextCursor cursor = rtb->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    rtb->setTextCursor(cursor);
    window.PridejChybu(QStringLiteral("Kód 222 odmítnut"));
    window.PridejChybu(QStringLiteral("Kód 333 odmítnut"));
    EXPECT_EQ(listText(&window), QStringLiteral("Kód 111 odmítnut\nKód 222 odmítnut\nKód 333 odmítnut\n"));
    EXPECT_EQ(rtb->textCursor().selectedText(), QStringLiteral("Kód"));
}

TEST(frmChybyTest, ClearEmptiesTheListAndKeepsTheWindow) {
    frmChyby window;
    window.show();
    window.PridejChybu(QStringLiteral("první"));
    child<QPushButton>(&window, "btnSmaz")->click();
    window.PridejChybu(QStringLiteral("druhá"));
    EXPECT_EQ(listText(&window), QStringLiteral("druhá\n"));
    EXPECT_TRUE(window.isVisible());
}

TEST(frmChybyTest, ClosingTellsTheOwnerAndReleasesTheWindow) {
    const char* ways[] = {"btnZavri", "close box"};
    for (const char* way : ways) {
        SCOPED_TRACE(way);
        QWidget owner;
        QPointer<frmChyby> window = new frmChyby(&owner);
        QSignalSpy closed(window.data(), &frmChyby::closed);
        window->show();
        if (QByteArray(way) == "btnZavri") {
            child<QPushButton>(window.data(), "btnZavri")->click();
        } else {
            window->close();
        }
        EXPECT_EQ(closed.count(), 1);
        EXPECT_TRUE(waitUntil([&] { return window.isNull(); }));
    }
}

// The window opens beside its owner, covering none of it, and shows a long line whole.
TEST(frmChybyTest, OpensBesideItsOwnerAndShowsALongLineWhole) {
    QWidget owner;
    const QRect screen = owner.screen()->availableGeometry();
    owner.setGeometry(QRect(screen.topLeft() + QPoint(10, 10), QSize(screen.width() * 3 / 4, screen.height() / 2)));
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    auto* window = new frmChyby(&owner);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_FALSE(window->frameGeometry().intersects(owner.frameGeometry()))
        << window->frameGeometry().x() << "," << window->frameGeometry().y();
    EXPECT_TRUE(screen.contains(window->frameGeometry()));

    const QString line = QStringLiteral("Sériový port COM1 (/dev/pts/3) neovládá signály DTR a DSR (například "
                                        "pseudoterminál): čtečku nelze zastavit signálem DTR a změny DSR se nehlásí. "
                                        "Port pracuje dál.");
    window->PridejChybu(line);
    QApplication::processEvents();
    auto* rtb = child<QPlainTextEdit>(window, "rtb");
    EXPECT_EQ(rtb->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(rtb->toPlainText(), line + u'\n');

    // An owner that fills the screen leaves no strip: the window takes its lower right corner, off its left side.
    const QRect corner = frmChyby::placement(screen, screen, QSize(640, 200), QSize(200, 100));
    EXPECT_EQ(corner.bottomRight(), screen.bottomRight());
    EXPECT_EQ(corner.size(), QSize(640, 200));
    window->close();
}
