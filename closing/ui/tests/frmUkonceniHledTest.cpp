#define CLOSING_LANGUAGE_FILE TRV_TEST_DATA "/../../../tests/data/langCS.ini"
#include "closing/tests/ClosingFixture.h"

#include "closing/ui/frmTiskUloz.h"
#include "closing/ui/frmUkonceniHled.h"
#include "testsupport/GuiTestHelpers.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace trv;
using namespace trv::test;

namespace {

class frmUkonceniHledTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto as400 = env.folder / "as400";
        ASSERT_TRUE(TextFiles::writeBytes(as400 / "260301001_1.400", "123456789<0000500<123456789<0011\r\n").ok());
        ASSERT_TRUE(TextFiles::writeBytes(as400 / "260302001_1.400", "999999999<x\r\n").ok());
        env.state.gDatovyAdresar = env.folder / "data";
    }
    ClosingEnv env;
};

TEST_F(frmUkonceniHledTest, SearchesTheChosenAs400FilesAndSavesTheHits) {
    env.state.gAS400 = true;
    frmUkonceniHled w(env.state, env.prompts, env.printer);
    w.Form_Load();
    auto* files = child<QListWidget>(&w, "ListView1");
    ASSERT_EQ(files->count(), 2);

    // Nothing chosen: the search says so and runs nothing.
    child<QPushButton>(&w, "btnHled")->click();
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Nebyl vybrán žádný soubor."));

    child<QPushButton>(&w, "cmdSelAll")->click();
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(&w, "btnHled")->click();
    auto* hits = child<QListWidget>(&w, "lstDup");
    ASSERT_EQ(hits->count(), 2);
    EXPECT_EQ(hits->item(0)->text(), QStringLiteral("260301001_1.400 - 123456789"));
    EXPECT_TRUE(files->item(0)->font().bold());
    EXPECT_FALSE(files->item(1)->font().bold());
    EXPECT_EQ(child<QPushButton>(&w, "btnHled")->text(), QStringLiteral("Nové hledání"));

    // The output dialog saves the hits to a file of the data folder; a name with a folder in it is refused first.
    onNextModal([](QWidget* dialog) {
        child<QCheckBox>(dialog, "chkS")->setChecked(true);
        EXPECT_FALSE(child<QPushButton>(dialog, "btnOK")->isEnabled());
        child<QLineEdit>(dialog, "txtNazevS")->setText(QStringLiteral("../ven"));
        child<QPushButton>(dialog, "btnOK")->click();
        EXPECT_TRUE(dialog->isVisible());
        child<QLineEdit>(dialog, "txtNazevS")->setText(QStringLiteral("duplicity"));
        child<QPushButton>(dialog, "btnOK")->click();
    });
    child<QPushButton>(&w, "btnVolba")->click();
    EXPECT_FALSE(TextFiles::exists(env.folder / "ven.txt"));
    EXPECT_EQ(env.bytes(env.folder / "data" / "duplicity.txt"),
              ClosingEnv::stored(QStringLiteral("\r\n\r\nNalezené duplicity\r\n******************\r\n\r\n"
                                                "260301001_1.400 - 123456789\r\n260301001_1.400 - 123456789\r\n")));
}

TEST_F(frmUkonceniHledTest, WithoutTheAs400ExportTheSearchReportsAnError) {
    frmUkonceniHled w(env.state, env.prompts, env.printer);
    w.Form_Load();
    child<QPushButton>(&w, "cmdSelAll")->click();
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(&w, "btnHled")->click();
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Při hledání duplicit došlo k chybě."));
    EXPECT_EQ(child<QListWidget>(&w, "lstDup")->count(), 0);
}

} // namespace
