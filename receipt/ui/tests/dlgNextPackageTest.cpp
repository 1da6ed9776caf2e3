#include "receipt/ui/dlgNextPackage.h"

#include "testsupport/GuiTestHelpers.h"

#include <QPushButton>

using trv::dlgNextPackage;
using trv::test::child;
using trv::test::onNextModal;

TEST(dlgNextPackageTest, EachButtonGivesItsAnswer) {
    const struct {
        const char* button;
        int result;
    } cases[] = {{"OKButton", 1}, {"CancelButton", 2}, {"btnEnd", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        dlgNextPackage dialog;
        EXPECT_EQ(dialog.Result(), 0);
        onNextModal([&](QWidget* modal) { child<QPushButton>(modal, c.button)->click(); });
        EXPECT_EQ(dialog.exec(), c.result);
        EXPECT_EQ(dialog.Result(), c.result);
    }
}

TEST(dlgNextPackageTest, ClosedByTheFrameGivesZero) {
    dlgNextPackage dialog;
    onNextModal([](QWidget* modal) { modal->close(); });
    EXPECT_EQ(dialog.exec(), 0);
    EXPECT_EQ(dialog.Result(), 0);
}

TEST(dlgNextPackageTest, PrintKeepsTheDialogOpenAndTheAnswerFollows) {
    int prints = 0;
    dlgNextPackage dialog([&] { ++prints; });
    onNextModal([&](QWidget* modal) {
        child<QPushButton>(modal, "cmbPrint")->click();
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(dialog.Result(), 0);
        child<QPushButton>(modal, "OKButton")->click();
    });
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_EQ(prints, 1);
}

TEST(dlgNextPackageTest, WithoutAPrintHandlerPrintIsDisabled) {
    dlgNextPackage dialog;
    EXPECT_FALSE(child<QPushButton>(&dialog, "cmbPrint")->isEnabled());
}

TEST(dlgNextPackageTest, CaptionsCanBeSetBeforeShowing) {
    dlgNextPackage dialog;
    dialog.setCaption(QStringLiteral("Uložení balíčku"));
    dialog.setOKButtonCaption(QStringLiteral("Ulož balík"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Uložení balíčku"));
    EXPECT_EQ(child<QPushButton>(&dialog, "OKButton")->text(), QStringLiteral("Ulož balík"));
}
