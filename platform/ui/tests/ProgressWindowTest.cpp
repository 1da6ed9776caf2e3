#include "platform/ui/ProgressWindow.h"

#include "testsupport/GuiTestHelpers.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace trv {
namespace {

using test::child;

TEST(ProgressWindowTest, CountsTheFilesKeepsInputFromTheOwnerAndCancels) {
    QWidget owner;
    auto* filter = new QLineEdit(&owner);
    owner.show();
    {
        ProgressWindow progress(&owner, QStringLiteral("Součet"), 0);
        EXPECT_TRUE(progress.step(1, 4));
        EXPECT_TRUE(progress.isVisible());
        EXPECT_EQ(child<QProgressBar>(&progress, "prgPrubeh")->value(), 250);
        // What the operator types into the window that started the load while it runs is not taken.
        QTest::keyClicks(filter, QStringLiteral("101"));
        EXPECT_TRUE(filter->text().isEmpty());

        child<QPushButton>(&progress, "cmdPrerusit")->click();
        EXPECT_FALSE(progress.step(4, 4));
        EXPECT_TRUE(progress.cancelled());
    }
    QTest::keyClicks(filter, QStringLiteral("101"));
    EXPECT_EQ(filter->text(), QStringLiteral("101"));
}

TEST(ProgressWindowTest, AShortLoadShowsNoWindow) {
    QWidget owner;
    ProgressWindow progress(&owner, QStringLiteral("Součet"), 60000);
    EXPECT_TRUE(progress.step(1, 2));
    EXPECT_FALSE(progress.isVisible());
}

} // namespace
} // namespace trv
