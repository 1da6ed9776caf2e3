#include "settings/ui/frmServis.h"

#include "core/SettingsLoader.h"
#include "platform/Shell.h"
#include "settings/ServisHost.h"
#include "settings/ui/tests/SettingsFixture.h"
#include "testsupport/GuiTestHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <map>

using namespace trv;
using test::child;

namespace {

// The main window as the settings window sees it: what it was asked to do, and scripted answers.
class FakeServisHost final : public ServisHost {
public:
    bool prijemBezi() const override { return receiving; }
    bool PrepniSkener(bool on) override {
        calls.append(on ? QStringLiteral("PrepniSkener(True)") : QStringLiteral("PrepniSkener(False)"));
        return sendWorks;
    }
    QString chybaCtecky() const override { return QStringLiteral("Port COM3 nelze otevřít."); }
    Status ulozKonfiguraciCtecky() override {
        calls.append(QStringLiteral("<Zp>"));
        return sendWorks ? Status::success() : Status::fail(QStringLiteral("Port COM3 nelze otevřít."));
    }
    bool softwZastavovani() const override { return softw; }
    void setSoftwZastavovani(bool on) override { softw = on; }
    void setPopisekRychleNabidky(int item, const QString& caption) override { captions[item] = caption; }
    void PopisPortu() override { calls.append(QStringLiteral("PopisPortu")); }

    bool receiving = false;
    bool sendWorks = true;
    bool softw = false;
    QStringList calls;
    std::map<int, QString> captions;
};

class frmServisTest : public test::SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        // A data folder whose path is longer than the 49 characters older readers kept of it.
        longFolder = makeFolder("data-slozka-s-velmi-dlouhym-nazvem-ktery-presahuje-padesat-znaku");
        makeFolder("exportspol");
        missingFolder = (folder / "export-neexistuje").u16string();
    }

    // Every key the window shows, in the forms the window writes them.
    QString fullConfig() const {
        QString t;
        t += QStringLiteral(
                 "[Data]\r\nDir=%1\r\nExpDir=%2\r\nExpSpolDir=%3\r\nExpSpolZkraceny=True\r\nLastFile=12345678\r\n")
                 .arg(TextFiles::toQString(longFolder), QString::fromStdU16String(missingFolder),
                      TextFiles::toQString(folder / "exportspol"));
        t += QStringLiteral("SM=1234,5678,\r\n");
        t += QStringLiteral(
            "[Comm]\r\nPort=COM3\r\nHShaking=RTS/CTS\r\nBaudRate=38400\r\nData bits=7\r\nStop bits=1.5\r\n"
            "Parity=Odd\r\nNOREAD=NOREAD\r\n");
        t += QStringLiteral("[User]\r\nMode=AUT\r\nAutoDorovn=True\r\nAutoDupl=False\r\nAS400=True\r\nAutoPoc=True\r\n"
                            "SoftwZastavovani=True\r\n");
        t += QStringLiteral("[Firma]\r\nFirmaID=0000001\r\nNazev=Jídelna U Lípy\r\nHlavicka=Přehled za provozovnu\r\n");
        t += QStringLiteral("[Platnost]\r\nKontrolovat=True\r\n");
        for (int i = 1; i <= 5; ++i)
            t += QStringLiteral("PovolitRok%1=%2\r\n").arg(i).arg(2023 + i);
        for (int i = 1; i <= 5; ++i)
            t += QStringLiteral("PovolitDo%1=31.1.%2\r\n").arg(i).arg(2024 + i);
        t += QStringLiteral(
            "KontrolovatCisla=False\r\nBlokovatCisloOd=100\r\nBlokovatCisloDo=200\r\nBlokovatCisloOd1=300\r\n"
            "BlokovatCisloDo1=400\r\nBlokovatCisloOd2=500\r\nBlokovatCisloDo2=600\r\nPovDarkove=True\r\n");
        t += QStringLiteral("[Button1]\r\nName=Oběd\r\nMask=12**************\r\n");
        t += QStringLiteral("[Button2]\r\nName=Večeře\r\nMask=3456789012345678\r\n");
        t += QStringLiteral("[Button3]\r\nName=\r\nMask=****************\r\n");
        t += QStringLiteral("[Button4]\r\nName=\r\nMask=****************\r\n");
        return t;
    }

    std::unique_ptr<frmServis> open() {
        auto w = std::make_unique<frmServis>(state, prompts, shell, host);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    static QString box(QWidget* w, const char* name) { return child<QLineEdit>(w, name)->text(); }
    static bool ticked(QWidget* w, const char* name) { return child<QAbstractButton>(w, name)->isChecked(); }

    std::filesystem::path longFolder;
    std::u16string missingFolder;
    FakeServisHost host;
    RecordingShell shell;
};

} // namespace

TEST_F(frmServisTest, LoadsEveryKeyIntoItsControlAndSavesTheFileBackUnchanged) {
    writeConfig(fullConfig());
    const QByteArray before = configBytes();
    state.sw.gFDarkove = true;
    const auto w = open();

    // The folder that does not exist is reported by its key and value and keeps its configured text.
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[0].text.contains(QStringLiteral("[Data] ExpDir = ") +
                                                   QString::fromStdU16String(missingFolder)));
    EXPECT_EQ(box(w.get(), "txtCesta"), TextFiles::toQString(longFolder));
    EXPECT_GT(box(w.get(), "txtCesta").size(), 49);
    EXPECT_EQ(box(w.get(), "txtCestaExp"), QString::fromStdU16String(missingFolder));
    EXPECT_EQ(box(w.get(), "txtCestaExpSpol"), TextFiles::toQString(folder / "exportspol"));
    EXPECT_TRUE(ticked(w.get(), "chkZkraceny"));
    EXPECT_EQ(child<QComboBox>(w.get(), "cmbPort")->currentText(), QStringLiteral("COM3"));
    for (const char* on :
         {"optBaud_384", "optDBity_7", "optSBity_1", "optParita_1", "optHShak_2", "optAUT", "chkDorovn", "chkAS400",
          "chkCounter", "chkSoftwZast", "chkPlatnost", "chkPovDarkove", "Check1", "Check2", "Check3", "Check4"}) {
        SCOPED_TRACE(on);
        EXPECT_TRUE(ticked(w.get(), on));
    }
    for (const char* off : {"optSTD", "chkDup", "chkPlatnostCisel"}) {
        SCOPED_TRACE(off);
        EXPECT_FALSE(ticked(w.get(), off));
    }
    EXPECT_EQ(box(w.get(), "txtNazevF"), QStringLiteral("Jídelna U Lípy"));
    EXPECT_EQ(box(w.get(), "txtHlavickaF"), QStringLiteral("Přehled za provozovnu"));
    EXPECT_EQ(box(w.get(), "txtRok3"), QStringLiteral("2026"));
    EXPECT_EQ(box(w.get(), "txtPovolitDo5"), QStringLiteral("31.1.2029"));
    EXPECT_EQ(box(w.get(), "txtBlokovatCisloDo2"), QStringLiteral("600"));
    EXPECT_FALSE(child<QLineEdit>(w.get(), "txtBlokovatCisloOd")->isEnabled());
    EXPECT_EQ(box(w.get(), "txtNaz2"), QStringLiteral("Večeře"));
    EXPECT_EQ(box(w.get(), "txtMask1"), QStringLiteral("12**************"));
    // The running program took the settings at once.
    EXPECT_EQ(state.gMode, QStringLiteral("AUT"));
    EXPECT_TRUE(state.gAS400 && state.gAutoPoc && state.gKontrolovat && state.gPovDarkove && state.gExpSpolZkraceny);
    EXPECT_EQ(state.gAutoDorovn, QStringLiteral("True"));
    EXPECT_EQ(state.gAutoDupl, QStringLiteral("False"));
    EXPECT_EQ(state.gPovolitRok[0], 2024);
    EXPECT_EQ(state.gPovolitDo[4], QDate(2029, 1, 31));
    EXPECT_EQ(state.gBlokovatCisloOd1, QStringLiteral("300"));
    EXPECT_TRUE(host.softw);
    // The next document number shows once its kind is chosen.
    EXPECT_TRUE(box(w.get(), "txtSoubHodnota").isEmpty());
    auto* kinds = child<QListWidget>(w.get(), "ListTypSeku");
    QTest::mouseClick(kinds->viewport(), Qt::LeftButton, {}, kinds->visualItemRect(kinds->item(0)).center());
    EXPECT_EQ(box(w.get(), "txtSoubHodnota"), QStringLiteral("12345678"));

    // The export folder that does not exist is offered for creation first.
    prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(w.get(), "btnUloz")->click();
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(missingFolder)));
    EXPECT_EQ(configBytes(), before);
    EXPECT_FALSE(w->isVisible());
    // Closing brought the mask names to the quick menu, refreshed the port and advised a restart.
    EXPECT_EQ(host.captions[3], QStringLiteral("Oběd"));
    EXPECT_EQ(host.captions[4], QStringLiteral("Večeře"));
    EXPECT_EQ(host.captions[6], QString());
    EXPECT_TRUE(host.calls.contains(QStringLiteral("PopisPortu")));
    EXPECT_EQ(prompts.texts().back(), text("frmServis", "ProvedNoveSpust"));
}

TEST_F(frmServisTest, EachControlReachesTheRunningProgramAtOnce) {
    writeConfig(fullConfig());
    makeFolder("export-neexistuje");
    const auto w = open();
    const auto click = [&](const char* name) { child<QAbstractButton>(w.get(), name)->click(); };

    click("chkAS400");
    EXPECT_FALSE(state.gAS400);
    click("chkCounter");
    EXPECT_FALSE(state.gAutoPoc);
    click("chkDorovn");
    EXPECT_EQ(state.gAutoDorovn, QStringLiteral("False"));
    click("chkDup");
    EXPECT_EQ(state.gAutoDupl, QStringLiteral("True"));
    click("chkPlatnost");
    EXPECT_FALSE(state.gKontrolovat);
    click("chkSoftwZast");
    EXPECT_FALSE(host.softw);
    click("chkZkraceny");
    EXPECT_FALSE(state.gExpSpolZkraceny);
    click("optSTD");
    EXPECT_EQ(state.gMode, QStringLiteral("STD"));
    child<QLineEdit>(w.get(), "txtBlokovatCisloDo")->setText(QStringLiteral("777"));
    EXPECT_EQ(state.gBlokovatCisloDo, QStringLiteral("777"));

    // A mask cleared empties and disables its boxes and is saved empty, with sixteen stars.
    click("Check1");
    EXPECT_TRUE(box(w.get(), "txtNaz1").isEmpty());
    EXPECT_FALSE(child<QLineEdit>(w.get(), "txtMask1")->isEnabled());

    // A year with a letter keeps its text for correction and the focus, and the old year stays; a good one is
    // taken on leaving the box.
    auto* rok = child<QLineEdit>(w.get(), "txtRok1");
    rok->setFocus();
    rok->setText(QStringLiteral("20a4"));
    child<QLineEdit>(w.get(), "txtRok2")->setFocus();
    EXPECT_TRUE(test::waitUntil([&] { return rok->hasFocus(); }));
    EXPECT_EQ(rok->selectedText(), QStringLiteral("20a4"));
    EXPECT_EQ(state.gPovolitRok[0], 2024);
    rok->setText(QStringLiteral("2031"));
    child<QLineEdit>(w.get(), "txtRok2")->setFocus();
    EXPECT_EQ(state.gPovolitRok[0], 2031);
    auto* datum = child<QLineEdit>(w.get(), "txtPovolitDo1");
    datum->setFocus();
    datum->setText(QStringLiteral("30.6.2031"));
    rok->setFocus();
    EXPECT_EQ(state.gPovolitDo[0], QDate(2031, 6, 30));

    // A folder is chosen in the folder picker; Storno keeps the text.
    prompts.queuePath(folder / "exportspol");
    click("dirExport");
    EXPECT_EQ(box(w.get(), "txtCestaExp"), TextFiles::toQString(folder / "exportspol"));
    prompts.queuePath(std::nullopt);
    click("dirData");
    EXPECT_EQ(box(w.get(), "txtCesta"), TextFiles::toQString(longFolder));

    // The port page and the next number wait for the save.
    click("optBaud_9600");
    click("optParita_2");
    auto* kinds = child<QListWidget>(w.get(), "ListTypSeku");
    QTest::mouseClick(kinds->viewport(), Qt::LeftButton, {}, kinds->visualItemRect(kinds->item(0)).center());
    child<QLineEdit>(w.get(), "txtSoubHodnota")->setText(QStringLiteral("12345"));
    const QByteArray unsaved = configBytes();
    EXPECT_FALSE(unsaved.contains("BaudRate=9600"));
    click("btnUloz");
    const QByteArray saved = configBytes();
    for (const char* line :
         {"BaudRate=9600\r\n", "Parity=None\r\n", "LastFile=12345000\r\n", "Mode=STD\r\n", "AutoDorovn=False\r\n",
          "AutoDupl=True\r\n", "AS400=False\r\n", "SoftwZastavovani=False\r\n", "PovolitRok1=2031\r\n",
          "PovolitDo1=30.6.2031\r\n", "BlokovatCisloDo=777\r\n", "[Button1]\r\nName=\r\nMask=****************\r\n"}) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(saved.contains(line));
    }
    EXPECT_TRUE(saved.contains(
        (QStringLiteral("ExpDir=") + TextFiles::toQString(folder / "exportspol") + QStringLiteral("\r\n")).toUtf8()));
}

TEST_F(frmServisTest, KeysThatCannotBeReadAreNamedAndTheWindowStaysUsable) {
    // No [Data] Dir, no [Comm], a Boolean that is none, a year that is no number, a short next number.
    writeConfig(QStringLiteral(
        "[Data]\r\nLastFile=123\r\n[User]\r\nSoftwZastavovani=možná\r\n[Platnost]\r\nPovolitRok2=dva\r\n"));
    const auto w = open();

    ASSERT_EQ(prompts.records().size(), 1u);
    const QString message = prompts.records()[0].text;
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(message.startsWith(text("frmServis", "ChybaNacteni")));
    EXPECT_TRUE(message.contains(QStringLiteral("[Data] Dir: Num: 60000")));
    EXPECT_TRUE(message.contains(QStringLiteral("[User] SoftwZastavovani = „možná“")));
    EXPECT_TRUE(message.contains(QStringLiteral("[Platnost] PovolitRok2 = „dva“")));
    EXPECT_TRUE(message.contains(QStringLiteral("[Comm]: Num: 60002")));
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(ticked(w.get(), "chkSoftwZast"));
    EXPECT_EQ(box(w.get(), "txtRok2"), QStringLiteral("2004"));
    // The short next number was filled up and written at once.
    EXPECT_TRUE(configBytes().contains("LastFile=12300000"));

    // Saving keeps what could not be shown: no empty folder or port key replaces a stored one.
    child<QPushButton>(w.get(), "btnUloz")->click();
    const QByteArray saved = configBytes();
    EXPECT_FALSE(saved.contains("Dir="));
    EXPECT_FALSE(saved.contains("BaudRate="));
}

TEST_F(frmServisTest, AFailedSaveIsReportedOnceNamingTheFile) {
    writeConfig(fullConfig());
    makeFolder("export-neexistuje");
    const auto w = open();
    child<QAbstractButton>(w.get(), "chkAS400")->click();
    // The configuration's folder has gone: every write fails.
    state.config.setIniFile(folder / "odpojeny-disk" / "TRV7300.ini");
    child<QPushButton>(w.get(), "btnUloz")->click();
    const QStringList texts = prompts.texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], text("frmServis", "NastalaChyba") + TextFiles::toQString(state.config.gIniSoubor()));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(texts[1], text("frmServis", "ProvedNoveSpust"));
}

TEST_F(frmServisTest, ReaderButtonsConfirmOnlyWhatWasSent) {
    writeConfig(fullConfig());
    makeFolder("export-neexistuje");
    const auto w = open();
    const auto click = [&](const char* name) { child<QPushButton>(w.get(), name)->click(); };

    click("btnScanOn");
    click("btnScanOFF");
    click("btnUlozNast");
    host.sendWorks = false;
    click("btnScanOn");
    click("btnUlozNast");
    EXPECT_EQ(host.calls,
              (QStringList{QStringLiteral("PrepniSkener(True)"), QStringLiteral("PrepniSkener(False)"),
                           QStringLiteral("<Zp>"), QStringLiteral("PrepniSkener(True)"), QStringLiteral("<Zp>")}));
    const QStringList texts = prompts.texts();
    ASSERT_EQ(texts.size(), 5);
    EXPECT_EQ(texts[0], text("frmServis", "SkenZapnut"));
    EXPECT_EQ(texts[1], text("frmServis", "SkenVypnut"));
    EXPECT_EQ(texts[2], text("frmServis", "ZapisKonfigSkeneru"));
    EXPECT_EQ(texts[3], text("frmServis", "PrikazNelze") + QStringLiteral("\nPort COM3 nelze otevřít."));
    EXPECT_EQ(prompts.records()[4].icon, Prompts::Icon::Critical);
}

TEST_F(frmServisTest, TheReaderMenuNeedsItsFilesAndIsOffWhileReceiving) {
    writeConfig(fullConfig());
    makeFolder("export-neexistuje");
    host.receiving = true;
    {
        const auto w = open();
        EXPECT_FALSE(child<QPushButton>(w.get(), "btnOMenu")->isEnabled());
    }
    host.receiving = false;
    const auto w = open();
    ASSERT_TRUE(child<QPushButton>(w.get(), "btnOMenu")->isEnabled());
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    child<QPushButton>(w.get(), "btnOMenu")->click();
    ASSERT_TRUE(TextFiles::writeAll(folder / "Term.TRM", QStringLiteral("x")).ok());
    child<QPushButton>(w.get(), "btnOMenu")->click();
    ASSERT_TRUE(TextFiles::writeAll(folder / "Term_e.exe", QStringLiteral("x")).ok());
    child<QPushButton>(w.get(), "btnOMenu")->click();
    // A terminal program the system cannot start is told in words, not by an error number.
    shell.setFailure(Error{0, QStringLiteral("Program Term_e.exe nelze spustit: soubor nemá právo ke spuštění.")});
    child<QPushButton>(w.get(), "btnOMenu")->click();
    std::filesystem::current_path(cwd);
    const QString ve = QStringLiteral("\nHledáno ve složce: ") + TextFiles::toQString(folder);
    const QStringList texts = prompts.texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0], QStringLiteral("Soubor Term.TRM nebyl nalezen.") + ve);
    EXPECT_EQ(texts[1], QStringLiteral("Soubor Term_e.exe nebyl nalezen.") + ve);
    EXPECT_EQ(texts[2], QStringLiteral("Menu čtečky nelze otevřít.\nPopis: Program Term_e.exe nelze spustit: soubor "
                                       "nemá právo ke spuštění."));
    EXPECT_EQ(prompts.records()[2].icon, Prompts::Icon::Critical);
    ASSERT_EQ(shell.requests().size(), 2u);
    EXPECT_EQ(shell.requests()[0].arguments, QStringList{QStringLiteral("Term.TRM")});
}

TEST_F(frmServisTest, SavingTwiceWithoutChangesKeepsTheSampleConfigurationByteForByte) {
    // The shipped configuration has no mask sections and leaves several keys of the window unset.
    const QString sample = QFileInfo(QStringLiteral(TRV_SAMPLE_LANG)).dir().filePath(QStringLiteral("TRV7300.ini"));
    ASSERT_TRUE(QFile::copy(sample, TextFiles::toQString(state.config.gIniSoubor())));
    for (const char* data : {"data", "data/export", "data/expspol"})
        makeFolder(data);
    const QByteArray before = configBytes();
    QByteArray afterFirst;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const auto w = open();
        child<QPushButton>(w.get(), "btnUloz")->click();
        EXPECT_FALSE(w->isVisible());
        if (round == 0)
            afterFirst = configBytes();
    }
    // The only addition is the next document number that every opening of the window fills in.
    QByteArray expected = before;
    expected.replace("ExpSpolZkraceny=False\r\n", "ExpSpolZkraceny=False\r\nLastFile=10000000\r\n");
    EXPECT_EQ(afterFirst.toStdString(), expected.toStdString());
    EXPECT_EQ(configBytes().toStdString(), expected.toStdString());
    EXPECT_FALSE(configBytes().contains("[Button"));
}

// A receipt stores its day file's whole name as the last document number; opening and saving the window without
// changes keeps it whole.
TEST_F(frmServisTest, TheDayFileNameAReceiptStoredSurvivesTheWindow) {
    writeConfig(fullConfig().replace(QStringLiteral("LastFile=12345678"), QStringLiteral("LastFile=261211101_1")));
    makeFolder("export-neexistuje");
    const QByteArray before = configBytes();
    ASSERT_TRUE(before.contains("LastFile=261211101_1\r\n"));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const auto w = open();
        EXPECT_EQ(configBytes(), before);
        child<QPushButton>(w.get(), "btnUloz")->click();
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(configBytes(), before);
    }
}

TEST_F(frmServisTest, EveryPageTabIsInSightWithTheLanguageCaptions) {
    writeConfig(fullConfig());
    makeFolder("export-neexistuje");
    const auto w = open();
    auto* tabs = child<QTabWidget>(w.get(), "tabFakt");
    ASSERT_EQ(tabs->count(), 6);
    const QRect bar = tabs->tabBar()->rect();
    for (int i = 0; i < tabs->count(); ++i) {
        SCOPED_TRACE(tabs->tabText(i).toStdString());
        EXPECT_TRUE(bar.contains(tabs->tabBar()->tabRect(i)));
    }
}

TEST_F(frmServisTest, MaskNamesLongerThanTheOldBufferSurviveASaveAndReachTheQuickMenuWhole) {
    const QString longName = QStringLiteral("Oběd pro zaměstnance provozovny na Václavském náměstí číslo 12");
    ASSERT_GT(longName.size(), 49);
    writeConfig(fullConfig().replace(QStringLiteral("Name=Oběd\r\n"),
                                     QStringLiteral("Name=") + longName + QStringLiteral("\r\n")));
    makeFolder("export-neexistuje");
    const QByteArray before = configBytes();
    const auto w = open();
    EXPECT_EQ(box(w.get(), "txtNaz1"), longName);
    child<QPushButton>(w.get(), "btnUloz")->click();
    EXPECT_EQ(configBytes(), before);
    EXPECT_EQ(host.captions[3], longName);
}

TEST_F(frmServisTest, ABadYearOrDateRefusesTheSaveNamingTheBoxAndKeepsTheWindowOpen) {
    struct Case {
        const char* box;
        const char* text;
        const char* named;
    };
    const Case cases[] = {
        {"txtRok2", "20a4", "„Povolit pro rok“ na 2. řádku obsahuje „20a4“"},
        {"txtRok5", "", "„Povolit pro rok“ na 5. řádku obsahuje „“"},
        {"txtPovolitDo3", "31.2.2025", "„Umožnit načtení do“ na 3. řádku obsahuje „31.2.2025“"},
        {"txtPovolitDo1", "zítra", "„Umožnit načtení do“ na 1. řádku obsahuje „zítra“"},
    };
    writeConfig(fullConfig());
    makeFolder("export-neexistuje");
    const QByteArray before = configBytes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        prompts = ScriptedPrompts();
        const auto w = open();
        auto* bad = child<QLineEdit>(w.get(), c.box);
        bad->setText(QString::fromUtf8(c.text));
        child<QLineEdit>(w.get(), "txtNazevF")->setText(QStringLiteral("Jiná firma"));
        // The save is clicked straight from the bad box, as the operator does.
        bad->setFocus();
        QTest::mouseClick(child<QPushButton>(w.get(), "btnUloz"), Qt::LeftButton);
        ASSERT_EQ(prompts.records().size(), 1u);
        EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
        EXPECT_TRUE(prompts.records()[0].text.contains(QString::fromUtf8(c.named))) << prompts.texts()[0].toStdString();
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(test::waitUntil([&] { return bad->hasFocus(); }));
        EXPECT_EQ(bad->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(configBytes(), before);
    }
}

TEST_F(frmServisTest, AFolderThatDoesNotExistIsCreatedOnlyWhenTheOperatorSaysSo) {
    writeConfig(fullConfig());
    makeFolder("export-neexistuje");
    const QByteArray before = configBytes();
    const auto w = open();
    const std::filesystem::path typed = folder / "nova" / "data";
    auto* dir = child<QLineEdit>(w.get(), "txtCesta");
    dir->setText(TextFiles::toQString(typed));
    child<QTabWidget>(w.get(), "tabFakt")->setCurrentIndex(4);

    // No: the window stays open on the folder box and nothing is created or written.
    prompts.queueAnswer(Prompts::Answer::No);
    child<QPushButton>(w.get(), "btnUloz")->click();
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].buttons, Prompts::Buttons::YesNo);
    EXPECT_TRUE(prompts.records()[0].text.contains(TextFiles::toQString(typed)));
    EXPECT_EQ(prompts.records()[0].text, text("frmServis", "SlozkaNeexistuje") + u'\n' + TextFiles::toQString(typed) +
                                             QStringLiteral(" ([Data] Dir)\n") + text("frmServis", "VytvoritSlozku"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(child<QTabWidget>(w.get(), "tabFakt")->currentIndex(), 0);
    EXPECT_TRUE(test::waitUntil([&] { return dir->hasFocus(); }));
    EXPECT_FALSE(std::filesystem::exists(typed));
    EXPECT_EQ(configBytes(), before);

    // Yes: the folder is made and the new path saved.
    prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(w.get(), "btnUloz")->click();
    EXPECT_TRUE(std::filesystem::is_directory(typed));
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(configBytes().contains(
        (QStringLiteral("Dir=") + TextFiles::toQString(typed) + QStringLiteral("\r\n")).toUtf8()));
}

TEST_F(frmServisTest, EscapeAsksOnlyAfterAChangeAndEnterSaves) {
    writeConfig(fullConfig());
    makeFolder("export-neexistuje");
    const QByteArray before = configBytes();
    const auto escape = [](QWidget* w) { QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, Qt::Key_Escape); };
    {
        const auto w = open();
        escape(w.get());
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(prompts.texts(), QStringList{text("frmServis", "ProvedNoveSpust")});
    }
    prompts = ScriptedPrompts();
    const auto w = open();
    auto* name = child<QLineEdit>(w.get(), "txtNazevF");
    name->setFocus();
    name->setText(QStringLiteral("Jiná firma"));
    prompts.queueAnswer(Prompts::Answer::Cancel);
    escape(w.get());
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].buttons, Prompts::Buttons::YesNoCancel);
    EXPECT_EQ(prompts.records()[0].text, text("frmServis", "UlozitZmeny"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(name->text(), QStringLiteral("Jiná firma"));
    prompts.queueAnswer(Prompts::Answer::No);
    escape(w.get());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(configBytes(), before);

    prompts = ScriptedPrompts();
    const auto again = open();
    auto* header = child<QLineEdit>(again.get(), "txtHlavickaF");
    header->setFocus();
    header->setText(QStringLiteral("Nova hlavicka"));
    QTest::keyClick(header, Qt::Key_Return);
    EXPECT_FALSE(again->isVisible());
    EXPECT_TRUE(configBytes().contains("Hlavicka=Nova hlavicka\r\n"));
}

TEST_F(frmServisTest, TheWindowShowsWhatTheStartUpReadsFromTheSameKeys) {
    const QString longName = QStringLiteral("Jídelna a výdejna stravenek pro zaměstnance, provozovna Brno-střed");
    ASSERT_GT(longName.size(), 49);
    writeConfig(fullConfig()
                    .replace(QStringLiteral("Nazev=Jídelna U Lípy"), QStringLiteral("Nazev=") + longName)
                    .replace(QStringLiteral("HShaking=RTS/CTS"), QStringLiteral("HShaking=rts/cts"))
                    .replace(QStringLiteral("BlokovatCisloDo=200\r\n"), QString())
                    .replace(QStringLiteral("AS400=True"), QStringLiteral("AS400=ano")));
    makeFolder("export-neexistuje");
    AppState started(folder);
    loadMainWindowSettings(started);
    loadReceivingSettings(started);
    ASSERT_TRUE(NactiNastaveniPortu(started));

    const auto w = open();
    EXPECT_EQ(box(w.get(), "txtNazevF"), started.gFirmaNazev);
    EXPECT_EQ(started.gFirmaNazev, longName);
    // The port reader takes any text but the four names as no handshake.
    EXPECT_EQ(started.port.gHShaking, QStringLiteral("0"));
    EXPECT_TRUE(ticked(w.get(), "optHShak_0"));
    EXPECT_EQ(box(w.get(), "txtBlokovatCisloDo"), QStringLiteral("000000000"));
    EXPECT_EQ(started.gBlokovatCisloDo, QStringLiteral("000000000"));
    EXPECT_TRUE(started.gAS400);
    EXPECT_TRUE(ticked(w.get(), "chkAS400"));
}
