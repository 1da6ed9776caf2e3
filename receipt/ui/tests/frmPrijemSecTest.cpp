#include "receipt/ui/frmPrijemSec.h"

#include "core/AppState.h"
#include "receipt/tests/ReceiptFixture.h"
#include "receipt/ui/tests/TypeKeys.h"
#include "testsupport/GuiTestHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace trv;
using test::child;

namespace {

const QString kSec = QStringLiteral("Data");

class frmPrijemSecTest : public test::ReceiptFixture {
protected:
    void SetUp() override {
        ReceiptFixture::SetUp();
        writeLanguageFile(QStringLiteral("[frmPrijemSec]\nStravenky=Stravenky\nNacteniBalicku=Načítám balíky\n"
                                         "NeexCestaKDatum=\"Chyba: \"\nTRVTrid=Třídění\nTRVZpracStrav=Zpracování\n"
                                         "ByloPridano=\"Přidáno \"\nStravenek=\" ks\"\n"));
        for (int i = 0; i < 5; ++i) {
            addType(QStringLiteral("Typ%1 stravenky").arg(i + 1), 6 + i, 0, [](CStrav& t) {
                t.PozCastka = 1;
                t.DelkaCastka = 3;
                t.KoefCastka = 1;
            });
        }
        // The package/week mode loads the month's packages into a collection of its own, from the definitions.
        ASSERT_TRUE(state.gColStrav->UlozINI().ok());
    }

    std::unique_ptr<frmPrijemSec> open() {
        auto window = std::make_unique<frmPrijemSec>(state, prompts, clock, host);
        if (window->loaded())
            window->show();
        return window;
    }

    QString config(const char* key) const {
        return state.config.CtiKonfig(kSec, QString::fromLatin1(key), QStringLiteral("(chybí)"));
    }
};

} // namespace

TEST_F(frmPrijemSecTest, TheCustomerSwitchesChooseTheControlsShown) {
    const QStringList watched{
        QStringLiteral("chkSorting"),       QStringLiteral("txtBalik"), QStringLiteral("UpDownBalik"),
        QStringLiteral("cmbTypStravBalik"), QStringLiteral("txtTyden"), QStringLiteral("UpDownTyden"),
        QStringLiteral("Label7"),           QStringLiteral("dtDek"),    QStringLiteral("txtDepo"),
        QStringLiteral("txtIdentObalky"),   QStringLiteral("optBarC")};
    struct Case {
        const char* what;
        std::function<void(CustomerSwitches&)> set;
        QStringList shown;
    };
    const QStringList none{QStringLiteral("dtDek"), QStringLiteral("optBarC")};
    const std::vector<Case> cases{
        {"none", [](CustomerSwitches&) {}, none},
        {"11 without the date", [](CustomerSwitches& s) { s.gFVycBezData = true; }, {QStringLiteral("optBarC")}},
        {"34 with its label",
         [](CustomerSwitches& s) { s.gFDatumOdvodu = true; },
         {QStringLiteral("Label7"), QStringLiteral("dtDek"), QStringLiteral("optBarC")}},
        {"34 wins over 11",
         [](CustomerSwitches& s) {
             s.gFVycBezData = true;
             s.gFDatumOdvodu = true;
         },
         {QStringLiteral("Label7"), QStringLiteral("dtDek"), QStringLiteral("optBarC")}},
        {"19 package and week",
         [](CustomerSwitches& s) {
             s.gFBalikyTyden = true;
             s.gFVycetky = true;
         },
         {QStringLiteral("txtBalik"), QStringLiteral("UpDownBalik"), QStringLiteral("cmbTypStravBalik"),
          QStringLiteral("txtTyden"), QStringLiteral("UpDownTyden"), QStringLiteral("dtDek"),
          QStringLiteral("optBarC")}},
        {"28 depot",
         [](CustomerSwitches& s) { s.gFDepo = true; },
         {QStringLiteral("txtDepo"), QStringLiteral("txtIdentObalky")}},
        {"33 sorting",
         [](CustomerSwitches& s) { s.gF33 = true; },
         {QStringLiteral("chkSorting"), QStringLiteral("dtDek"), QStringLiteral("optBarC")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        state.sw = CustomerSwitches();
        c.set(state.sw);
        auto w = open();
        ASSERT_TRUE(w->loaded());
        QStringList shown;
        for (const QString& name : watched) {
            auto* control = w->findChild<QWidget*>(name);
            ASSERT_NE(control, nullptr) << name.toStdString();
            if (!control->isHidden())
                shown.append(name);
        }
        EXPECT_EQ(shown, c.shown);
    }
}

TEST_F(frmPrijemSecTest, OpensWithTodayTheKindAndTheDayFilesNewestFirst) {
    writeData(QStringLiteral("241207_123_AB_1.txt"), QStringLiteral("500123\r\n"));
    writeData(QStringLiteral("241208_123_AB_1.txt"), QStringLiteral("500123\r\n"));
    // The nominal summary beside a day file is no day file.
    writeData(QStringLiteral("241208_123_AB_1.TXT"), QStringLiteral("241208_123_AB_1;00001;500\r\n"));
    auto w = open();
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtSoubor")->text(), QStringLiteral("241209"));
    EXPECT_EQ(child<QComboBox>(w.get(), "cmbTypSeku")->currentText(), QStringLiteral("Stravenky"));
    QStringList files;
    auto* list = child<QListWidget>(w.get(), "listDataS");
    for (int i = 0; i < list->count(); ++i)
        files.append(list->item(i)->text());
    EXPECT_EQ(files, (QStringList{QStringLiteral("241208_123_AB_1.txt"), QStringLiteral("241207_123_AB_1.txt")}));
    EXPECT_EQ(child<QDateEdit>(w.get(), "dtDek")->date(), QDate(2024, 11, 30));
    EXPECT_TRUE(state.gHlasitMaxVycetku);

    // A start from the window: the entries as typed, the new file named by them.
    child<QLineEdit>(w.get(), "txtSM")->setText(QStringLiteral("007"));
    child<QLineEdit>(w.get(), "txtOperator")->setText(QStringLiteral("Eva"));
    child<QPushButton>(w.get(), "btnPrijem")->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(readData(QStringLiteral("241209_007_Eva_1.txt")), QString());
    EXPECT_EQ(host.fileName(), QStringLiteral("241209_007_Eva_1.txt"));

    // A second opening in the run proposes the date of the first.
    clock.set(QDateTime(QDate(2024, 12, 10), QTime(8, 0)));
    auto again = open();
    EXPECT_EQ(child<QLineEdit>(again.get(), "txtSoubor")->text(), QStringLiteral("241209"));
}

TEST_F(frmPrijemSecTest, AMissingFolderKeyOpensNoWindowAndAMissingFolderAnEmptyList) {
    setConfig(kSec, QStringLiteral("Dir"), QStringLiteral("hodnota nenalezena"));
    auto w = open();
    EXPECT_FALSE(w->loaded());
    EXPECT_EQ(w->exec(), QDialog::Rejected);
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Chyba: Num: 60000, descr: Neexistující sekce nebo klíč."));

    setConfig(kSec, QStringLiteral("Dir"), QStringLiteral("nikde"));
    auto empty = open();
    EXPECT_TRUE(empty->loaded());
    EXPECT_EQ(prompts.records().back().text,
              QStringLiteral("Zvolený datový adresář neexistuje, zkontrolujte cestu k datům!\n") +
                  TextFiles::toQString(folder / "nikde"));
    EXPECT_EQ(child<QListWidget>(empty.get(), "listDataS")->count(), 0);
}

TEST_F(frmPrijemSecTest, ThePackageSpinnerStepsOneTypeAndWritesTheConfiguration) {
    state.sw.gFVycetky = true;
    state.sw.gFBalikyTyden = true;
    setConfig(kSec, QStringLiteral("MaxVycetkaDatumBaliku1"), QStringLiteral("241201"));
    auto w = open();
    ASSERT_TRUE(w->loaded());
    EXPECT_EQ(prompts.records().at(0).text, QStringLiteral("Načítám balíky"));
    auto* balik = child<QLineEdit>(w.get(), "txtBalik");
    auto* spin = child<QSpinBox>(w.get(), "UpDownBalik");
    auto* typ = child<QComboBox>(w.get(), "cmbTypStravBalik");
    EXPECT_EQ(balik->text(), QStringLiteral("11111"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtTyden")->text(), QStringLiteral("1"));
    EXPECT_EQ(typ->itemText(1), QStringLiteral("Typ2"));

    // No type chosen: nothing changes.
    spin->stepUp();
    EXPECT_EQ(balik->text(), QStringLiteral("11111"));
    EXPECT_EQ(config("MaxVycetkaPoslBalik"), QStringLiteral("(chybí)"));

    typ->setCurrentIndex(1);
    Q_EMIT typ->activated(1);
    EXPECT_EQ(spin->value(), 1);
    spin->stepUp();
    EXPECT_EQ(balik->text(), QStringLiteral("12111"));
    EXPECT_EQ(config("MaxVycetkaPoslBalik"), QStringLiteral("12111"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtBalikSpol")->text(), QStringLiteral("2"));
    spin->stepDown();
    EXPECT_EQ(balik->text(), QStringLiteral("11111"));
    EXPECT_EQ(config("MaxVycetkaPoslBalik"), QStringLiteral("11111"));
    ASSERT_TRUE(state.gColStravBalik);
    EXPECT_TRUE(prompts.unexpected().isEmpty());
}

TEST_F(frmPrijemSecTest, TheWeekSpinnerAsksUpwardsWrapsAfterEightAndResetsThePackages) {
    state.sw.gFVycetky = true;
    state.sw.gFBalikyTyden = true;
    setConfig(kSec, QStringLiteral("MaxVycetkaPoslBalik"), QStringLiteral("23456"));
    setConfig(kSec, QStringLiteral("MaxVycetkaDatumBaliku1"), QStringLiteral("241201"));
    setConfig(kSec, QStringLiteral("MaxVycetkaTyden"), QStringLiteral("8"));
    auto w = open();
    auto* spin = child<QSpinBox>(w.get(), "UpDownTyden");
    auto* tyden = child<QLineEdit>(w.get(), "txtTyden");
    EXPECT_EQ(spin->value(), 8);

    prompts.queueAnswer(Prompts::Answer::No);
    spin->stepUp();
    EXPECT_EQ(tyden->text(), QStringLiteral("8"));
    EXPECT_EQ(config("MaxVycetkaTyden"), QStringLiteral("8"));
    EXPECT_EQ(config("MaxVycetkaPoslBalik"), QStringLiteral("23456"));
    EXPECT_EQ(spin->value(), 8);

    prompts.queueAnswer(Prompts::Answer::Yes);
    spin->stepUp();
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Opravdu chcete změnit týden a tím nulovat balíky?"));
    EXPECT_EQ(tyden->text(), QStringLiteral("1"));
    EXPECT_EQ(spin->value(), 1);
    EXPECT_EQ(config("MaxVycetkaTyden"), QStringLiteral("1"));
    EXPECT_EQ(config("MaxVycetkaPoslBalik"), QStringLiteral("11111"));
    EXPECT_EQ(config("MaxVycetkaDatumBaliku1"), QStringLiteral("241209"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtBalik")->text(), QStringLiteral("11111"));

    // Down asks nothing and resets at once.
    prompts.queueAnswer(Prompts::Answer::Yes);
    prompts.queueAnswer(Prompts::Answer::Yes);
    spin->stepUp();
    spin->stepUp();
    EXPECT_EQ(tyden->text(), QStringLiteral("3"));
    setConfig(kSec, QStringLiteral("MaxVycetkaPoslBalik"), QStringLiteral("33333"));
    const size_t asked = prompts.records().size();
    spin->stepDown();
    EXPECT_EQ(prompts.records().size(), asked);
    EXPECT_EQ(tyden->text(), QStringLiteral("2"));
    EXPECT_EQ(config("MaxVycetkaTyden"), QStringLiteral("2"));
    EXPECT_EQ(config("MaxVycetkaPoslBalik"), QStringLiteral("11111"));
    EXPECT_EQ(state.gColStravBalik->kodyVsechTypu().size(), 0);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(frmPrijemSecTest, SortingModeDisablesTheEntriesUntilTheBoxIsUnchecked) {
    state.sw.gF33 = true;
    auto w = open();
    EXPECT_TRUE(host.trideni());
    auto* box = child<QCheckBox>(w.get(), "chkSorting");
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(child<QLineEdit>(w.get(), "txtSM")->isEnabled());
    EXPECT_FALSE(child<QListWidget>(w.get(), "listDataS")->isEnabled());
    box->click();
    EXPECT_FALSE(host.trideni());
    EXPECT_EQ(host.caption(), QStringLiteral("Zpracování"));
    EXPECT_TRUE(child<QLineEdit>(w.get(), "txtSM")->isEnabled());
    EXPECT_TRUE(child<QDateEdit>(w.get(), "dtDek")->isEnabled());
    box->click();
    EXPECT_TRUE(host.trideni());
    EXPECT_EQ(host.caption(), QStringLiteral("Třídění"));

    child<QPushButton>(w.get(), "btnPrijem")->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_TRUE(host.receiving());
    EXPECT_TRUE(host.fileName().isEmpty());
}

TEST_F(frmPrijemSecTest, CustomerModeTakesTheChosenCustomersNumberAsTheSm) {
    state.sw.gFZakaznik = true;
    prompts.queueAnswer(Prompts::Answer::No); // no customer table yet: not created
    test::onNextModal([](QWidget* customers) {
        child<QLineEdit>(customers, "txtCislo")->setText(QStringLiteral("0815"));
        child<QPushButton>(customers, "cmbVyber")->click();
    });
    auto w = open();
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtSM")->text(), QStringLiteral("0815"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtSoubor")->text(), QStringLiteral("20241209"));
    EXPECT_EQ(state.gZakCislo, QStringLiteral("0815"));
}

TEST_F(frmPrijemSecTest, DepotModeStartsWithEnterInTheEnvelopeBox) {
    state.sw.gFDepo = true;
    setConfig(kSec, QStringLiteral("Depo"), QStringLiteral("D07"));
    setConfig(kSec, QStringLiteral("Operator"), QStringLiteral("Eva"));
    auto w = open();
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtDepo")->text(), QStringLiteral("D07"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtOperator")->text(), QStringLiteral("Eva"));
    EXPECT_FALSE(child<QPushButton>(w.get(), "btnPrijem")->isDefault());
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    auto* sm = child<QLineEdit>(w.get(), "txtSM");
    sm->setFocus();
    sm->setText(QStringLiteral("123"));
    QTest::keyClick(sm, Qt::Key_Return);
    auto* obalka = child<QLineEdit>(w.get(), "txtIdentObalky");
    EXPECT_EQ(QApplication::focusWidget(), obalka);
    obalka->setText(QStringLiteral("OB-1"));
    QTest::keyClick(obalka, Qt::Key_Return);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(state.gDepo, QStringLiteral("D07"));
    EXPECT_EQ(state.gIdentObalky, QStringLiteral("OB-1"));
    EXPECT_EQ(state.gIdentFA, QStringLiteral("123"));
    EXPECT_EQ(host.fileName(), QStringLiteral("241209_123_Eva_1.txt"));
}

// A receipt taken up after a crash starts as the start button starts an append of the file chosen in the list:
// sorting mode is left, and in depot mode the receipt's own ids fill the boxes. Refused, or with a file the list
// does not hold, the window stays to be shown, with the append chosen where there was a file to choose.
TEST_F(frmPrijemSecTest, StartAppendStartsTheChosenFileAsTheStartButtonWould) {
    const QString file = QStringLiteral("241208_123_Eva_1.txt");
    struct Case {
        const char* what;
        std::function<void(CustomerSwitches&)> set;
        QString fileName;
        ReceiptRecord::Ids ids;
        bool started;
        bool appendChosen;
    };
    const ReceiptRecord::Ids ids{QStringLiteral("D07"), QStringLiteral("OB-1"), QStringLiteral("123")};
    const std::vector<Case> cases{
        {"plain", [](CustomerSwitches&) {}, file, {}, true, true},
        {"33 sorting", [](CustomerSwitches& s) { s.gF33 = true; }, file, {}, true, true},
        {"28 depot with the receipt's ids", [](CustomerSwitches& s) { s.gFDepo = true; }, file, ids, true, true},
        {"28 depot without ids", [](CustomerSwitches& s) { s.gFDepo = true; }, file, {}, false, true},
        {"a file not listed", [](CustomerSwitches&) {}, QStringLiteral("241208_999_Eva_1.txt"), {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeData(file, QStringLiteral("500123\r\n"));
        state.sw = CustomerSwitches();
        c.set(state.sw);
        host = decltype(host)();
        auto w = std::make_unique<frmPrijemSec>(state, prompts, clock, host);
        ASSERT_TRUE(w->loaded());
        EXPECT_EQ(w->startAppend(c.fileName, c.ids), c.started);
        EXPECT_EQ(host.receiving(), c.started);
        EXPECT_EQ(child<QRadioButton>(w.get(), "optPrid")->isChecked(), c.appendChosen);
        if (c.started) {
            EXPECT_EQ(w->result(), QDialog::Accepted);
            EXPECT_EQ(host.fileName(), file);
            EXPECT_FALSE(host.trideni());
            EXPECT_EQ(readData(file), QStringLiteral("500123\r\n"));
        }
        if (c.ids.depo.isEmpty())
            continue;
        EXPECT_EQ(state.gDepo, c.ids.depo);
        EXPECT_EQ(state.gIdentObalky, c.ids.identObalky);
        EXPECT_EQ(state.gIdentFA, c.ids.identFa);
    }
}
