#include "settings/ui/frmChyby.h"

#include "testsupport/GuiTestHelpers.h"

#include <QPlainTextEdit>
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
