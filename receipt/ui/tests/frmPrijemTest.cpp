#include "receipt/ui/frmPrijem.h"

#include "receipt/tests/ReceiptFixture.h"
#include "receipt/ui/tests/TypeKeys.h"
#include "testsupport/GuiTestHelpers.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

using namespace trv;
using test::child;
using test::typeKeys;

namespace {

class frmPrijemTest : public test::ReceiptFixture {
protected:
    std::unique_ptr<frmPrijem> open() {
        auto window = std::make_unique<frmPrijem>(state, prompts, clock, host);
        window->show();
        return window;
    }

    // Types into an entry field after emptying it.
    static void enter(QWidget* window, const char* field, const QString& text) {
        auto* edit = child<QLineEdit>(window, field);
        edit->clear();
        typeKeys(edit, text);
    }

    static void chooseKind(QWidget* window, const QString& kind) {
        QLineEdit* edit = child<QComboBox>(window, "cmbTypSeku")->lineEdit();
        edit->clear();
        typeKeys(edit, kind);
    }

    static QStringList listed(QWidget* window, const char* list) {
        QStringList names;
        auto* w = child<QListWidget>(window, list);
        for (int i = 0; i < w->count(); ++i)
            names.append(w->item(i)->text());
        return names;
    }

    static void clickFile(QWidget* window, const QString& name) {
        auto* list = child<QListWidget>(window, "listDataS");
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
    }

    static void press(QWidget* window, const char* button) { child<QPushButton>(window, button)->click(); }

    QStringList startCalls() const {
        return {QStringLiteral("PrepniSkener(True)"), QStringLiteral("NastavPrijem(True)"),
                QStringLiteral("setReceiptFile")};
    }
};

} // namespace

TEST_F(frmPrijemTest, OpensOnTodayWithTheNewestFileOnTopAndEnablesByMode) {
    writeData(QStringLiteral("241207001_1.txt"), QString());
    writeData(QStringLiteral("241208002_1.txt"), QString());
    writeData(QStringLiteral("241206001_1.TXT"), QString());
    writeData(QStringLiteral("poznamka.doc"), QString());
    const auto w = open();

    EXPECT_EQ(w->windowTitle(), QStringLiteral("Příjem dat"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtSoubor")->text(), QStringLiteral("241209"));
    EXPECT_TRUE(child<QLineEdit>(w.get(), "txtPokladni")->text().isEmpty());
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtPoradi")->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QComboBox>(w.get(), "cmbTypSeku")->currentText(), QStringLiteral("Faktura"));
    EXPECT_TRUE(child<QRadioButton>(w.get(), "optNovy")->isChecked());
    EXPECT_EQ(listed(w.get(), "listDataS"),
              (QStringList{QStringLiteral("241208002_1.txt"), QStringLiteral("241207001_1.txt"),
                           QStringLiteral("241206001_1.TXT")}));
    EXPECT_EQ(listed(w.get(), "flbDataS").first(), QStringLiteral("241206001_1.TXT"));

    auto* txtSoubor = child<QLineEdit>(w.get(), "txtSoubor");
    auto* listDataS = child<QListWidget>(w.get(), "listDataS");
    auto* btnPrijem = child<QPushButton>(w.get(), "btnPrijem");
    EXPECT_FALSE(listDataS->isEnabled());
    EXPECT_TRUE(btnPrijem->isEnabled());

    child<QRadioButton>(w.get(), "optPrid")->click();
    EXPECT_TRUE(listDataS->isEnabled());
    EXPECT_FALSE(txtSoubor->isEnabled());
    EXPECT_FALSE(btnPrijem->isEnabled()); // no file chosen yet
    clickFile(w.get(), QStringLiteral("241207001_1.txt"));
    EXPECT_TRUE(btnPrijem->isEnabled());

    child<QRadioButton>(w.get(), "optBarC")->click();
    EXPECT_FALSE(txtSoubor->isEnabled());
    EXPECT_TRUE(btnPrijem->isEnabled());

    child<QRadioButton>(w.get(), "optNovy")->click();
    EXPECT_TRUE(txtSoubor->isEnabled());
    EXPECT_FALSE(listDataS->isEnabled());
    txtSoubor->clear();
    EXPECT_FALSE(btnPrijem->isEnabled());
    typeKeys(txtSoubor, QStringLiteral("24"));
    EXPECT_TRUE(btnPrijem->isEnabled());

    // "Faktura" chosen in the list gives the file field back as it was when the dialog opened.
    Q_EMIT child<QComboBox>(w.get(), "cmbTypSeku")->activated(0);
    EXPECT_EQ(txtSoubor->text(), QStringLiteral("241209"));
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(frmPrijemTest, TheFileFieldEnablesTheStartOnlyForANewFile) {
    writeData(QStringLiteral("241207001_1.txt"), QString());
    const auto w = open();
    auto* txtSoubor = child<QLineEdit>(w.get(), "txtSoubor");
    auto* btnPrijem = child<QPushButton>(w.get(), "btnPrijem");
    txtSoubor->clear();
    typeKeys(txtSoubor, QStringLiteral("2412"));
    child<QRadioButton>(w.get(), "optPrid")->click();
    ASSERT_FALSE(btnPrijem->isEnabled());

    // "Faktura" refills the file field; with no file chosen to append to, the start stays disabled.
    Q_EMIT child<QComboBox>(w.get(), "cmbTypSeku")->activated(0);
    EXPECT_EQ(txtSoubor->text(), QStringLiteral("241209"));
    EXPECT_FALSE(btnPrijem->isEnabled());
    clickFile(w.get(), QStringLiteral("241207001_1.txt"));
    EXPECT_TRUE(btnPrijem->isEnabled());

    child<QRadioButton>(w.get(), "optNovy")->click();
    txtSoubor->clear();
    EXPECT_FALSE(btnPrijem->isEnabled());
    Q_EMIT child<QComboBox>(w.get(), "cmbTypSeku")->activated(0);
    EXPECT_TRUE(btnPrijem->isEnabled());
    EXPECT_TRUE(host.calls().isEmpty());
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(frmPrijemTest, ANewReceiptCreatesTheEmptyDayFileAndSwitchesTheReaderOn) {
    const struct {
        const char* pokladni;
        const char* poradi;
        const char* file;
    } cases[] = {{"007", "2", "241209007_2.txt"}, {"123", "", "241209123_.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        host = RecordingReceiptHost();
        state.gSouborVytvorenNovy = false;
        const auto w = open();
        enter(w.get(), "txtPokladni", QString::fromLatin1(c.pokladni));
        enter(w.get(), "txtPoradi", QString::fromLatin1(c.poradi));
        press(w.get(), "btnPrijem");

        const QString name = QString::fromLatin1(c.file);
        EXPECT_EQ(readData(name), QString());
        EXPECT_EQ(host.calls(), startCalls());
        EXPECT_TRUE(host.readerOn());
        EXPECT_TRUE(host.receiving());
        EXPECT_EQ(host.folder(), dataFolder);
        EXPECT_EQ(host.fileName(), name);
        EXPECT_EQ(state.gDatovyAdresar, dataFolder);
        EXPECT_TRUE(state.gSouborVytvorenNovy);
        EXPECT_EQ(w->result(), QDialog::Accepted);
        EXPECT_FALSE(w->isVisible());
    }
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(frmPrijemTest, EachRefusalShowsItsMessageAndStartsNothing) {
    // clang-format off
    const struct {
        const char* name;
        const char* datum;
        const char* pokladni;
        const char* poradi;
        std::function<void()> before; // runs before the dialog opens
        QStringList messages;
        bool staysOpen;
    } cases[] = {
        {"date", "241332", "007", "1", {}, {QStringLiteral("Název souboru musí být ve formátu datumu(RRMMDD)!")}, true},
        {"short date", "24120", "007", "1", {},
         {QStringLiteral("Název souboru musí být ve formátu datumu(RRMMDD)!")}, true},
        {"two-digit desk", "241209", "07", "1", {}, {QStringLiteral("Číslo pokladní musí obsahovat 3 číslice!")}, true},
        {"desk with a letter", "241209", "0a7", "1", {},
         {QStringLiteral("Číslo pokladní musí obsahovat 3 číslice!")}, true},
        {"existing name", "241209", "007", "1",
         [this] { writeData(QStringLiteral("241209007_1.txt"), QStringLiteral("12345\r\n")); },
         {QStringLiteral("Zadaný soubor 241209007_1.txt již existuje. Musíte zvýšit pořadí čtení!")}, true},
        {"existing name in other letter case", "241209", "007", "a",
         [this] { writeData(QStringLiteral("241209007_A.txt"), QStringLiteral("12345\r\n")); },
         {QStringLiteral("Zadaný soubor 241209007_A.txt již existuje. Musíte zvýšit pořadí čtení!")}, true},
        {"missing folder", "241209", "007", "1", [this] { std::filesystem::remove_all(dataFolder); },
         {QStringLiteral("Zvolený datový adresář neexistuje, zkontrolujte cestu k datům!\n") +
              TextFiles::toQString(dataFolder),
          QStringLiteral("Neexistující cesta k datům: %1\nČíslo: 60001, popis: Neexistující cesta.")
              .arg(TextFiles::toQString(dataFolder))},
         false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompts casePrompts;
        host = RecordingReceiptHost();
        if (c.before)
            c.before();
        frmPrijem w(state, casePrompts, clock, host);
        w.show();
        enter(&w, "txtSoubor", QString::fromLatin1(c.datum));
        enter(&w, "txtPokladni", QString::fromLatin1(c.pokladni));
        enter(&w, "txtPoradi", QString::fromLatin1(c.poradi));
        press(&w, "btnPrijem");

        EXPECT_EQ(casePrompts.texts(), c.messages);
        for (const auto& record : casePrompts.records())
            EXPECT_EQ(record.icon, Prompts::Icon::Critical);
        EXPECT_TRUE(host.calls().isEmpty());
        EXPECT_EQ(w.isVisible(), c.staysOpen);
        const auto existing = TextFiles::listFolder(dataFolder, QStringLiteral("*.txt"));
        const qsizetype files = existing.ok() ? qsizetype(existing.value().size()) : 0;
        EXPECT_LE(files, 1); // at most the file that was there before
        if (files == 1) {
            EXPECT_EQ(TextFiles::readAll(existing.value().front()).value().text, QStringLiteral("12345\r\n"));
        }
        std::filesystem::remove_all(dataFolder);
        std::filesystem::create_directories(dataFolder);
    }
}

TEST_F(frmPrijemTest, AppendingBooksEveryLineOfTheFileAgain) {
    const auto alfa = addType(QStringLiteral("Alfa"), 5, 0);
    auto earlier = std::make_shared<CPolozka>();
    earlier->Kod = QStringLiteral("99999");
    earlier->setTypS(alfa);
    alfa->Polozky->Add(earlier);
    writeData(QStringLiteral("241208001_1.txt"), QStringLiteral("12345\r\nNOREAD\r\n54321\r\n"));
    writeData(QStringLiteral("241209001_1.txt"), QString());
    host.setReceiptText(QStringLiteral("99999\r\n"));

    const auto w = open();
    child<QRadioButton>(w.get(), "optPrid")->click();
    clickFile(w.get(), QStringLiteral("241208001_1.txt"));
    press(w.get(), "btnPrijem");

    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(booked(),
              (QStringList{QStringLiteral("12345/1"), QStringLiteral("NOREAD/1"), QStringLiteral("54321/1")}));
    EXPECT_EQ(host.text(), QStringLiteral("12345\r\nNOREAD\r\n54321\r\n"));
    EXPECT_EQ(host.fileName(), QStringLiteral("241208001_1.txt"));
    EXPECT_EQ(host.calls(), startCalls());
    EXPECT_EQ(readData(QStringLiteral("241208001_1.txt")), QStringLiteral("12345\r\nNOREAD\r\n54321\r\n"));
    EXPECT_FALSE(state.gSouborVytvorenNovy);
    EXPECT_TRUE(prompts.records().empty());
}

// The date is filled in: what the operator types first goes into the cash desk.
TEST_F(frmPrijemTest, TypingStartsInTheCashDeskField) {
    const auto w = open();
    EXPECT_EQ(w->focusWidget(), child<QLineEdit>(w.get(), "txtPokladni"));
}

TEST_F(frmPrijemTest, BarcodeModeEmptiesBarcodeTxtWithoutCheckingTheEntries) {
    writeData(QStringLiteral("Barcode.txt"), QStringLiteral("12345\r\n"));
    host.setReceiptText(QStringLiteral("12345\r\n"));
    const auto w = open();
    enter(w.get(), "txtSoubor", QStringLiteral("xx"));
    enter(w.get(), "txtPokladni", QStringLiteral("1"));
    child<QRadioButton>(w.get(), "optBarC")->click();
    press(w.get(), "btnPrijem");

    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(readData(QStringLiteral("Barcode.txt")), QString());
    EXPECT_EQ(host.fileName(), QStringLiteral("Barcode.txt"));
    EXPECT_EQ(host.calls(), startCalls());
    EXPECT_TRUE(host.text().isEmpty());
    // The codes of a receipt killed while it read into Barcode.txt are kept, byte for byte, before it is emptied.
    QFile kept(TextFiles::toQString(dataFolder / "Barcode_20241209_103000.txt"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("12345\r\n"));
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_TRUE(prompts.records().front().text.contains(QStringLiteral("byl uschován jako")));
    EXPECT_TRUE(prompts.records().front().text.contains(QStringLiteral("Barcode_20241209_103000.txt")));
}

TEST_F(frmPrijemTest, BarcodeModeOverAnEmptyBarcodeTxtKeepsNothingAndSaysNothing) {
    writeData(QStringLiteral("Barcode.txt"), QStringLiteral("\r\n"));
    const auto w = open();
    child<QRadioButton>(w.get(), "optBarC")->click();
    press(w.get(), "btnPrijem");

    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(readData(QStringLiteral("Barcode.txt")), QString());
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(QDir(TextFiles::toQString(dataFolder)).entryList({QStringLiteral("Barcode_*")}, QDir::Files).size(), 0);
}

// The message names the port as what failed, the device it maps to (and how) and the system's reason.
TEST_F(frmPrijemTest, APortThatCannotBeOpenedEndsTheStartWithTheSystemsMessage) {
    const QString reason = QStringLiteral("Sériový port COM%1 (%2) nelze otevřít: No such file or directory.");
    const struct {
        int port;
        const char* device;
        const char* origin;
    } cases[] = {
        {1, "/dev/ttyS0", "jiné zařízení lze určit proměnnou prostředí TRV7300_COM1"},
        {3, "/dev/pts/7", "podle proměnné prostředí TRV7300_COM3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device);
        ScriptedPrompts casePrompts;
        host = RecordingReceiptHost();
        host.setPortOpens(false);
        const QString device = QString::fromLatin1(c.device);
        host.setPortFailure(RecordingReceiptHost::PortFailure{c.port, device, Error{0, reason.arg(c.port).arg(device)}});
        frmPrijem w(state, casePrompts, clock, host);
        w.show();
        enter(&w, "txtPokladni", QStringLiteral("007"));
        press(&w, "btnPrijem");

        ASSERT_EQ(casePrompts.records().size(), 1u);
        EXPECT_EQ(casePrompts.records().front().icon, Prompts::Icon::Critical);
        EXPECT_EQ(casePrompts.records().front().text,
                  QStringLiteral("Port čtečky COM%1 nelze otevřít: odpovídá mu zařízení %2 (%3).\n"
                                 "Číslo: 60003, popis: ")
                          .arg(c.port)
                          .arg(device, QString::fromUtf8(c.origin)) +
                      reason.arg(c.port).arg(device));
        EXPECT_EQ(w.result(), QDialog::Rejected);
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(host.fileName().isEmpty());
        EXPECT_FALSE(readData(QStringLiteral("241209007_1.txt")));
    }
}

// Enter starts from any field; Escape leaves without starting anything. Appending with the chosen file taken
// away again (Ctrl+click) cannot start.
TEST_F(frmPrijemTest, EnterStartsEscapeLeavesAndAppendingNeedsAChosenFile) {
    writeData(QStringLiteral("241208001_1.txt"), QStringLiteral("12345\r\n"));
    {
        const auto w = open();
        child<QRadioButton>(w.get(), "optPrid")->click();
        clickFile(w.get(), QStringLiteral("241208001_1.txt"));
        auto* list = child<QListWidget>(w.get(), "listDataS");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(list->item(0)).center());
        EXPECT_TRUE(list->selectedItems().isEmpty());
        EXPECT_FALSE(child<QPushButton>(w.get(), "btnPrijem")->isEnabled());
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_TRUE(w->isVisible());
        QTest::keyClick(list, Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->result(), QDialog::Rejected);
        EXPECT_TRUE(host.calls().isEmpty());
    }
    const auto w = open();
    enter(w.get(), "txtPokladni", QStringLiteral("007"));
    QTest::keyClick(child<QLineEdit>(w.get(), "txtPokladni"), Qt::Key_Return);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(host.calls(), startCalls());
    EXPECT_EQ(readData(QStringLiteral("241209007_1.txt")), QString());
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(frmPrijemTest, EveryStartSetsOnlyTheDocumentKindItWasGiven) {
    const struct {
        const char* kind;
        const char* poradi;
        bool AppState::*on; // null: no switch
    } starts[] = {{"Dobropis", "1", &AppState::gTypDobropis},
                  {"Faktura", "2", nullptr},
                  {"Dárkové", "3", &AppState::gTypDarkove},
                  {"dárkové", "4", nullptr}};
    for (const auto& s : starts) {
        SCOPED_TRACE(s.kind);
        const auto w = open();
        chooseKind(w.get(), QString::fromUtf8(s.kind));
        enter(w.get(), "txtPokladni", QStringLiteral("001"));
        enter(w.get(), "txtPoradi", QString::fromLatin1(s.poradi));
        press(w.get(), "btnPrijem");
        ASSERT_EQ(w->result(), QDialog::Accepted);
        for (bool AppState::*kind :
             {&AppState::gTypDobropis, &AppState::gTypDovolena, &AppState::gTypDarkove, &AppState::gTypUni})
            EXPECT_EQ(state.*kind, kind == s.on);
    }
}

TEST_F(frmPrijemTest, WithoutTheDataFolderKeyTheDialogDoesNotOpen) {
    setConfig(QStringLiteral("Data"), QStringLiteral("Dir"), QStringLiteral("hodnota nenalezena"));
    frmPrijem w(state, prompts, clock, host);
    EXPECT_FALSE(w.loaded());
    EXPECT_EQ(w.exec(), QDialog::Rejected);
    EXPECT_EQ(prompts.texts(),
              QStringList{QStringLiteral("Neexistující cesta k datům nebo chyba v konfiguračním souboru programu.\n"
                                         "Číslo: 60000, popis: Neexistující sekce nebo klíč.")});
    EXPECT_TRUE(host.calls().isEmpty());
}
