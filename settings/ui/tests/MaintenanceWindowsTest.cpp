#include "settings/ui/frmAbout.h"
#include "settings/ui/frmExport.h"
#include "settings/ui/frmLoginService.h"
#include "settings/ui/frmSM.h"
#include "settings/ui/frmSafeBag.h"

#include "platform/Shell.h"
#include "settings/ui/tests/SettingsFixture.h"
#include "testsupport/GuiTestHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace trv;
using test::child;
using test::onNextModal;

namespace {

class PasswordTest : public test::SettingsFixture {
protected:
    // Opens the prompt as the menu does, types the text and ends it with Enter or OK.
    bool login(const QString& typed, bool enter) {
        onNextModal([typed, enter](QWidget* dialog) {
            auto* box = child<QLineEdit>(dialog, "Text1");
            box->setText(typed);
            if (enter)
                QTest::keyClick(box, Qt::Key_Return);
            else
                child<QPushButton>(dialog, "Command1")->click();
        });
        return frmLoginService::prihlas(state, prompts, nullptr);
    }
};

} // namespace

TEST_F(PasswordTest, OpensOnlyForThePasswordExactly) {
    EXPECT_TRUE(login(QStringLiteral("vraskel"), false));
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_TRUE(login(QStringLiteral("vraskel"), true));

    const QString refused[] = {QString(), QStringLiteral("VRASKEL"), QStringLiteral(" vraskel"),
                               QStringLiteral("vraskel "), QStringLiteral("vraske")};
    for (const QString& typed : refused) {
        SCOPED_TRACE(typed.toStdString());
        const size_t before = prompts.records().size();
        EXPECT_FALSE(login(typed, true));
        ASSERT_EQ(prompts.records().size(), before + 1);
        EXPECT_EQ(prompts.records().back().text, text("frmLoginHeslo", "ChybneHeslo"));
        EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Critical);
    }
}

TEST_F(PasswordTest, ClosingThePromptAfterAnEarlierLoginRefuses) {
    EXPECT_TRUE(login(QStringLiteral("vraskel"), false));
    onNextModal([](QWidget* dialog) { dialog->close(); });
    EXPECT_FALSE(frmLoginService::prihlas(state, prompts, nullptr));
    EXPECT_FALSE(state.gServisLogin);
}

TEST_F(PasswordTest, TheTextIsHiddenAndCaptionsComeFromTheLanguageFile) {
    frmLoginService dialog(state, prompts);
    EXPECT_EQ(child<QLineEdit>(&dialog, "Text1")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Zadejte heslo"));
}

namespace {

class SafeBagTest : public test::SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        setConfig(QStringLiteral("Data"), QStringLiteral("Dir"), QStringLiteral("data"));
        setConfig(QStringLiteral("Data"), QStringLiteral("DirDenSFB"), QStringLiteral("densfb"));
        setConfig(QStringLiteral("Data"), QStringLiteral("DirSFB"), QStringLiteral("sfb"));
    }
    void choose(const char* button) {
        frmSafeBag window(state, prompts);
        window.show();
        child<QPushButton>(&window, button)->click();
        EXPECT_FALSE(window.isVisible());
    }
};

} // namespace

TEST_F(SafeBagTest, EachModeSetsItsFlagsAndDataFolder) {
    EXPECT_EQ(frmSafeBag(state, prompts).windowTitle(), QStringLiteral("Výběr režimu"));
    choose("cmdSafeBag");
    EXPECT_TRUE(state.gSafeBag);
    EXPECT_FALSE(state.gDennySafeBag);
    EXPECT_EQ(state.gDatovyAdresar, folder / "sfb");
    choose("cmdDennySafeBag");
    EXPECT_FALSE(state.gSafeBag);
    EXPECT_TRUE(state.gDennySafeBag);
    EXPECT_EQ(state.gDatovyAdresar, folder / "densfb");
    choose("cmdPokladni");
    EXPECT_FALSE(state.gSafeBag || state.gDennySafeBag);
    EXPECT_EQ(state.gDatovyAdresar, folder / "data");
}

TEST_F(SafeBagTest, AModeWithoutItsFolderKeyOrAClosedWindowKeepsThePreviousMode) {
    choose("cmdDennySafeBag");
    ASSERT_TRUE(TextFiles::writeAll(state.config.gIniSoubor(), QStringLiteral("[Data]\r\nDir=data\r\n")).ok());
    frmSafeBag window(state, prompts);
    window.show();
    child<QPushButton>(&window, "cmdSafeBag")->click();
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_TRUE(prompts.records()[0].text.contains(QStringLiteral("Neexistující sekce SFBDir nebo klíč.")));
    EXPECT_TRUE(window.isVisible());
    window.close();
    EXPECT_TRUE(state.gDennySafeBag);
    EXPECT_FALSE(state.gSafeBag);
    EXPECT_EQ(state.gDatovyAdresar, folder / "densfb");
}

namespace {

class SmListTest : public test::SettingsFixture {
protected:
    QStringList listed(QWidget* w) {
        QStringList entries;
        auto* list = child<QListWidget>(w, "lstSM");
        for (int i = 0; i < list->count(); ++i)
            entries.append(list->item(i)->text());
        return entries;
    }
};

} // namespace

TEST_F(SmListTest, ALastEntryWithoutCommaIsKeptAndTheListRoundTrips) {
    setConfig(QStringLiteral("Data"), QStringLiteral("SM"), QStringLiteral("1234,5678"));
    QPointer<frmSM> w = new frmSM(state.config, prompts);
    w->show();
    EXPECT_EQ(listed(w), (QStringList{QStringLiteral("1234"), QStringLiteral("5678")}));

    auto* box = child<QLineEdit>(w, "txtSM");
    // Enter adds a text of exactly four characters; other lengths stay in the box.
    for (const char* typed : {"123", "12345"}) {
        box->setText(QLatin1String(typed));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(box->text(), QLatin1String(typed));
    }
    box->setText(QStringLiteral("9999"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(box->text().isEmpty());
    box->setText(QStringLiteral("123456"));
    child<QPushButton>(w, "cmdAdd")->click();
    // Deleting needs a selection.
    child<QPushButton>(w, "cmdDel")->click();
    EXPECT_EQ(prompts.texts().back(), text("frmSM", "MusiteOznSmaz"));
    auto* list = child<QListWidget>(w, "lstSM");
    list->setCurrentRow(0);
    child<QPushButton>(w, "cmdDel")->click();
    EXPECT_EQ(listed(w), (QStringList{QStringLiteral("5678"), QStringLiteral("9999"), QStringLiteral("123456")}));

    // No keeps the file and the window's list; Yes writes the list with a comma after every entry.
    prompts.queueAnswer(Prompts::Answer::No);
    child<QPushButton>(w, "cmdCancel")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(configBytes().contains("SM=1234,5678\r\n"));
    w->show();
    EXPECT_EQ(listed(w).size(), 3);
    prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(w, "cmdCancel")->click();
    EXPECT_TRUE(configBytes().contains("SM=5678,9999,123456,\r\n"));
    EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Exclamation);

    // The close box asks too, and releases the window.
    w->show();
    prompts.queueAnswer(Prompts::Answer::No);
    w->close();
    EXPECT_TRUE(test::waitUntil([&] { return w.isNull(); }));
    EXPECT_EQ(prompts.records().back().title, QStringLiteral("Typy stravenek"));
}

TEST_F(SmListTest, AnEntryWithAnyCharacterButLettersAndDigitsIsRefusedNamingIt) {
    setConfig(QStringLiteral("Data"), QStringLiteral("SM"), QStringLiteral("1234,"));
    const QByteArray before = configBytes();
    frmSM* w = new frmSM(state.config, prompts);
    w->show();
    auto* box = child<QLineEdit>(w, "txtSM");
    struct Case {
        const char* typed;
        const char* named;
        bool byEnter;
    };
    for (const Case& c : {Case{"12 4", "mezeru", true}, Case{"12,34", "znak „,“", false},
                          Case{"A-12", "znak „-“", false}, Case{"12;4", "znak „;“", true}}) {
        SCOPED_TRACE(c.typed);
        box->setText(QString::fromUtf8(c.typed));
        if (c.byEnter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            child<QPushButton>(w, "cmdAdd")->click();
        ASSERT_FALSE(prompts.records().empty());
        EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Critical);
        EXPECT_TRUE(prompts.records().back().text.contains(QString::fromUtf8(c.named)))
            << prompts.records().back().text.toStdString();
        EXPECT_EQ(box->text(), QString::fromUtf8(c.typed));
        EXPECT_EQ(listed(w), QStringList{QStringLiteral("1234")});
    }
    // Letters and digits, Czech ones too, are an SM.
    box->setText(QStringLiteral("Č12a"));
    child<QPushButton>(w, "cmdAdd")->click();
    EXPECT_EQ(listed(w), (QStringList{QStringLiteral("1234"), QStringLiteral("Č12a")}));
    EXPECT_EQ(configBytes(), before);
    delete w;
}

TEST_F(SmListTest, AMissingKeyOpensAnEmptyList) {
    frmSM* w = new frmSM(state.config, prompts);
    EXPECT_TRUE(listed(w).isEmpty());
    child<QLineEdit>(w, "txtSM")->setText(QStringLiteral("1234"));
    child<QPushButton>(w, "cmdAdd")->click();
    prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(w, "cmdCancel")->click();
    EXPECT_TRUE(configBytes().contains("SM=1234,\r\n"));
    delete w;
}

namespace {
class AboutExportTest : public test::SettingsFixture {};
} // namespace

TEST_F(AboutExportTest, AboutShowsTheVersionAndOpensTheSameTargetFromLabelAndFrame) {
    RecordingShell shell;
    frmAbout w(state.config, shell);
    w.show();
    EXPECT_TRUE(child<QLabel>(&w, "Label2")->text().startsWith(QStringLiteral("Ver.: ")));
    EXPECT_EQ(child<QLabel>(&w, "Label3")->text(), text("FrmAbout", "Info"));
    QTest::mouseClick(child<QLabel>(&w, "lblWeb"), Qt::LeftButton);
    QTest::mouseClick(child<QWidget>(&w, "frmWeb"), Qt::LeftButton);
    QTest::mouseClick(child<QLabel>(&w, "lblMail"), Qt::LeftButton);
    ASSERT_EQ(shell.requests().size(), 3u);
    EXPECT_EQ(shell.requests()[0].url, shell.requests()[1].url);
    EXPECT_EQ(shell.requests()[2].url.scheme(), QStringLiteral("mailto"));
}

TEST_F(AboutExportTest, ExportDateStartsTodayAndRefusesNoDate) {
    QStringList exported;
    frmExport w(state.config, prompts, clock, [&](const QString& d) {
        exported.append(d);
        return Status::success();
    });
    w.show();
    auto* box = child<QLineEdit>(&w, "txtDate");
    EXPECT_EQ(box->text(), QStringLiteral("241209"));
    for (const char* bad : {"241309", "241200", "24a209"}) {
        box->setText(QLatin1String(bad));
        child<QPushButton>(&w, "OKButton")->click();
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(prompts.texts().back(), text("frmExport", "ChybnyFormatDat"));
    }
    EXPECT_TRUE(exported.isEmpty());
    box->setText(QStringLiteral("241205"));
    child<QPushButton>(&w, "OKButton")->click();
    EXPECT_EQ(exported, QStringList{QStringLiteral("241205")});
    EXPECT_FALSE(w.isVisible());
}
