#define SUMMARIES_LANGUAGE_FILE TRV_TEST_DATA "/../../../../summaries/tests/data/langCS.ini"
#include "summaries/tests/SummariesFixture.h"

#include "periods/ui/SummaryWidgets.h"
#include "periods/ui/frmOdvody.h"
#include "periods/ui/frmSoucVycDen.h"
#include "periods/ui/frmSoucVycObd.h"
#include "platform/Printer.h"
#include "platform/Progress.h"
#include "platform/Shell.h"
#include "testsupport/GuiTestHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using namespace trv;
using namespace trv::test;

namespace {

QString shown(QWidget* window) {
    QString text = child<QPlainTextEdit>(window, "rtbVyc")->toPlainText();
    return text;
}

void setPeriod(QWidget* w, QDate od, QDate doDne) {
    child<QDateEdit>(w, "dt1")->setDate(od);
    child<QDateEdit>(w, "dt2")->setDate(doDne);
}

// The operator presses Přerušit in the progress window of the window's next load once it says `text` (at its
// first step when empty): the progress window keeps the program answering while it runs.
void cancelWhen(QWidget* w, const QString& text) {
    auto* timer = new QTimer(w);
    QObject::connect(timer, &QTimer::timeout, timer, [w, text, timer] {
        auto* progress = w->findChild<QDialog*>(QStringLiteral("frmPrubeh"));
        if (!progress || !child<QLabel>(progress, "lblPrubeh")->text().startsWith(text))
            return;
        timer->stop();
        child<QPushButton>(progress, "cmdPrerusit")->click();
    });
    timer->start(0);
}

// The files of a folder, by name.
QStringList filesIn(const std::filesystem::path& folder) {
    QStringList names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.append(TextFiles::toQString(e.path().filename()));
    names.sort();
    return names;
}

TEST(frmSoucVycObdTest, ControlsShownAndEnabledBySwitch) {
    struct Case {
        const char* what;
        std::function<void(AppState&)> set;
        std::vector<const char*> visible;
        std::vector<const char*> hidden;
        std::vector<const char*> enabled;
        std::vector<const char*> disabled;
    };
    const std::vector<Case> cases = {
        {"no switch",
         [](AppState&) {},
         {"chkGroupByDay", "cmdPrint", "cmdExport", "Label5", "dtDek"},
         {"cmdExportDel", "chkNespojovatSM", "chkBalik", "txtBalik", "balikUpDown", "frameVerex", "optDatumVyc",
          "optDatumNacitani"},
         {"cmdVyp", "cmbDuplicity", "cmdSaveTicketsAs", "cmdEnd", "dt1", "cmdPrint", "cmbZobrPrehleduSm"},
         {"txtSM", "cmdPrintSM", "cmdExport", "cmdExportDel"}},
        {"statement mode",
         [](AppState& s) { s.sw.gFVycetky = true; },
         {"cmdExportDel", "chkNespojovatSM"},
         {},
         {"txtSM"},
         {"cmdExportDel"}},
        {"layout 2",
         [](AppState& s) { s.sw.gFVycetky = s.sw.gF17 = s.sw.gF17b = true; },
         {},
         {"cmdExportDel", "chkNespojovatSM"},
         {"txtSM", "Label3"},
         {"cmdPrintSM", "cmbZobrPrehleduSm"}},
        {"package/week, hand-over date, no date field",
         [](AppState& s) { s.sw.gFBalikyTyden = s.sw.gFDatumOdvodu = s.sw.gFVycBezData = true; },
         {"chkBalik", "txtBalik", "tydenUpDown", "optDatumVyc", "optDatumNacitani"},
         {"Label5", "dtDek"},
         {},
         {}},
        {"daily safe bag",
         [](AppState& s) {
             s.gDennySafeBag = true;
             s.sw.gFVycetky = true;
         },
         {},
         {"cmdExport", "cmdExportDel"},
         {},
         {}},
        {"collected safe bag", [](AppState& s) { s.gSafeBag = true; }, {}, {}, {}, {"dt1", "dt2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SummariesEnv env;
        c.set(env.state);
        frmSoucVycObd w(env.services());
        for (const char* n : c.visible)
            EXPECT_FALSE(child<QWidget>(&w, n)->isHidden()) << n;
        for (const char* n : c.hidden)
            EXPECT_TRUE(child<QWidget>(&w, n)->isHidden()) << n;
        for (const char* n : c.enabled)
            EXPECT_TRUE(child<QWidget>(&w, n)->isEnabled()) << n;
        for (const char* n : c.disabled)
            EXPECT_FALSE(child<QWidget>(&w, n)->isEnabled()) << n;
    }
}

TEST(frmSoucVycObdTest, LoadTextsDatesAndBatchLabel) {
    SummariesEnv env;
    env.state.sw.gFExportCBA = true;
    env.writeConfig(QStringLiteral("[CBA_EXPORT_VEREX]\r\nPoradiDavky=7\r\n"));
    frmSoucVycObd w(env.services());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Součet výčetek za období"));
    EXPECT_EQ(child<QPushButton>(&w, "cmbDuplicity")->text(), QStringLiteral("Kontrola duplicit"));
    EXPECT_EQ(child<QLabel>(&w, "Label4")->text(), QStringLiteral("Pokladní:"));
    EXPECT_EQ(child<QDateEdit>(&w, "dt1")->date(), QDate(2015, 1, 21));
    EXPECT_EQ(child<QDateEdit>(&w, "dtDek")->date(), QDate(2015, 1, 15));
    EXPECT_EQ(child<QLineEdit>(&w, "tiskTypDo")->text(), QStringLiteral("3"));
    auto* combo = child<QComboBox>(&w, "cmbStrav");
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Všechny stravenky"));
    EXPECT_EQ(combo->itemData(2).toInt(), 2);
    EXPECT_EQ(child<QLineEdit>(&w, "txtMesic")->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QLabel>(&w, "lblExpFile")->text(), QStringLiteral("ZLO27D07.001"));
    // The spinner starts from its own value, not from the text box.
    child<QSpinBox>(&w, "UpDPoradi")->stepUp();
    EXPECT_EQ(child<QLineEdit>(&w, "txtPoradiDavky")->text(), QStringLiteral("2"));
    EXPECT_EQ(child<QLabel>(&w, "lblExpFile")->text(), QStringLiteral("ZLO27D02.001"));
    // The two report check boxes exclude each other.
    auto* byDay = child<QCheckBox>(&w, "chkGroupByDay");
    auto* perFile = child<QCheckBox>(&w, "chkNespojovatSM");
    byDay->click();
    perFile->click();
    EXPECT_FALSE(byDay->isChecked());
    EXPECT_TRUE(perFile->isChecked());
}

TEST(frmSoucVycObdTest, ComputeCheckDuplicatesAndSaveTheTicketList) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.state.sw.gFBalikyTyden = true;
    env.write(
        QStringLiteral("150115_001_AB_1.vyc"),
        SummariesEnv::records(QStringLiteral("150115"), QStringLiteral("001"), QStringLiteral("AB"),
                              {SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 1), SummariesEnv::beta(100, 1)}));
    QString statusBar;
    Printer printer;
    frmSoucVycObd w(env.services(), {[&statusBar](const QString& t) { statusBar = t; }, nullptr, &printer});
    setPeriod(&w, QDate(2015, 1, 1), QDate(2015, 1, 31));
    child<QComboBox>(&w, "cmbStrav")->setCurrentIndex(1);
    child<QPushButton>(&w, "cmdVyp")->click();
    EXPECT_TRUE(w.stav().m_obdobiNacteno);
    EXPECT_EQ(shown(&w), QStringLiteral("Alfa Stravenka\n"
                                        "Hodnota     Počet              Celkem\n"
                                        "  50,00         1            50,00 Kč\n"
                                        "_____________________________________\n"
                                        "Celková částka:              50,00 Kč\n"
                                        "Celkový počet:                 1 ks\n"
                                        "\n"
                                        "\n"
                                        "Celkem za všechny zobrazené typy stravenek:\n"
                                        "Celková částka:              50,00 Kč\n"
                                        "Celkový počet:                 1 ks\n"));
    EXPECT_EQ(statusBar, QStringLiteral("    Alfa = 50,00    Beta = 100,00    Gama = 0,00"));
    // Without a shell the exports cannot run.
    EXPECT_FALSE(child<QPushButton>(&w, "cmdExport")->isEnabled());

    child<QPushButton>(&w, "cmbDuplicity")->click();
    // The status bar sums each code once.
    EXPECT_EQ(statusBar, QStringLiteral("    Alfa = 50,00    Beta = 100,00    Gama = 0,00"));
    EXPECT_TRUE(
        shown(&w).startsWith(QStringLiteral("Kontrola duplicit za období\n*****************\nAlfa Stravenka\n")));
    EXPECT_TRUE(
        shown(&w).contains(SummariesEnv::alfa(50, 1) + QString(30, u' ') + QStringLiteral("150115_001_AB_1.vyc\n")));
    // A print of the summary after the check counts the code read twice once.
    child<QPlainTextEdit>(&w, "rtbVyc")->clear();
    child<QPushButton>(&w, "cmdPrint")->click();
    ASSERT_EQ(printer.printed().size(), 1u);
    const QStringList printed = printer.printed()[0].textLines();
    EXPECT_TRUE(printed.contains(QStringLiteral("      50,00         1            50,00 Kč")))
        << printed.join(u'|').toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("    Celkový počet:                1 ks")))
        << printed.join(u'|').toStdString();

    child<QComboBox>(&w, "cmbStrav")->setCurrentIndex(0);
    child<QPushButton>(&w, "cmdSaveTicketsAs")->click();
    const auto file = env.folder / "export" / "20150121_143005.txt";
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Bylo uloženo 2 stravenek do souboru ") +
                                              TextFiles::toQString(file) + QStringLiteral("."));
    EXPECT_EQ(env.prompts.records().back().icon, Prompts::Icon::None);
    EXPECT_EQ(env.bytes(file),
              (SummariesEnv::alfa(50, 1) + QStringLiteral("\r\n") + SummariesEnv::beta(100, 1) + QStringLiteral("\r\n"))
                  .toLatin1());
}

TEST(frmSoucVycObdTest, TypedDatesReplaceTheSectionAndAnInvalidOneIsRefused) {
    SummariesEnv env;
    frmSoucVycObd w(env.services());
    w.show();
    auto* dt1 = child<QDateEdit>(&w, "dt1");
    auto* line = dt1->findChild<QLineEdit*>();
    ASSERT_EQ(dt1->date(), QDate(2015, 1, 21));
    dt1->setFocus();
    // Click into the day, after its first digit, and type a day.
    line->setCursorPosition(1);
    QTest::keyClicks(dt1, QStringLiteral("01"));
    QTest::keyClick(dt1, Qt::Key_Return);
    EXPECT_EQ(dt1->date(), QDate(2015, 1, 1));
    EXPECT_TRUE(env.prompts.records().empty());

    // A day that is no date: refused with the field named, the date in force kept and shown.
    child<QPlainTextEdit>(&w, "rtbVyc")->clear();
    auto* dt2 = child<QDateEdit>(&w, "dt2");
    dt2->setFocus();
    dt2->findChild<QLineEdit*>()->setCursorPosition(0);
    QTest::keyClicks(dt2, QStringLiteral("0"));
    QTest::keyClick(dt2, Qt::Key_Return);
    ASSERT_EQ(env.prompts.records().size(), 1u);
    EXPECT_EQ(env.prompts.records()[0].text, QStringLiteral("Datum do: „0.01.2015“ není platné datum, platí dál 21.01.2015."));
    EXPECT_EQ(dt2->date(), QDate(2015, 1, 21));
    EXPECT_EQ(dt2->findChild<QLineEdit*>()->text(), QStringLiteral("21.01.2015"));
    // Enter on a refused date does not run the computation.
    EXPECT_TRUE(shown(&w).isEmpty());
}

TEST(frmSoucVycObdTest, FitsA1024By768ScreenWithItsFrameAndATaskBar) {
    SummariesEnv env;
    frmSoucVycObd w(env.services());
    w.show();
    // A window frame of 8 pixels a side, a title bar of 30 and a task bar of 40.
    EXPECT_LE(w.width() + 2 * 8, 1024);
    EXPECT_LE(w.height() + 30 + 8 + 40, 768);
    EXPECT_LE(w.minimumSizeHint().height() + 30 + 8 + 40, 768);
}

TEST(frmSoucVycObdTest, HandOverStopAndSafeBagEnd) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.state.sw.gFDatumOdvodu = true;
    env.write(QStringLiteral("150115_001_AB_1.vyc"), {});
    frmSoucVycObd w(env.services());
    child<QWidget>(&w, "optDatumVyc")->setProperty("checked", true);
    child<QPushButton>(&w, "cmdVyp")->click();
    ASSERT_EQ(env.prompts.records().size(), 1u);
    EXPECT_EQ(env.prompts.records()[0].text,
              QStringLiteral("Soubor 150115_001_AB_1.vyc neobsahuje v názvu datum odvodu."));
    EXPECT_EQ(env.prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(shown(&w), QStringLiteral("Načtení období se nezdařilo, období není spočteno.\n"
                                        "Soubor 150115_001_AB_1.vyc neobsahuje v názvu datum odvodu."));
    EXPECT_FALSE(w.stav().m_obdobiNacteno);

    // Collected safe-bag mode: Konec marks the safe-bag files of the current folder as taken over.
    SummariesEnv bag;
    bag.state.gSafeBag = true;
    bag.state.gDatovyAdresar = bag.folder / "sfb";
    bag.write(QStringLiteral("150121101500.sfb"), {SummariesEnv::alfa(50, 1)}, "sfb");
    frmSoucVycObd end(bag.services());
    child<QPushButton>(&end, "cmdEnd")->click();
    EXPECT_EQ(end.result(), QDialog::Accepted);
    EXPECT_TRUE(std::filesystem::exists(bag.folder / "sfb" / "150121101500.exp"));
    EXPECT_FALSE(std::filesystem::exists(bag.folder / "sfb" / "150121101500.sfb"));
}

// A statement file that opens but whose bytes cannot be read: the load stops part way.
void writeUnreadable(SummariesEnv& env, const char* name) {
    std::filesystem::create_symlink("/proc/self/mem", env.folder / "data" / name);
}

TEST(frmSoucVycObdTest, ExportsAfterAGoodLoadAndNothingPrintedOrExportedAfterAFailedOne) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.writeConfig(QStringLiteral("ExpSpolDir=") + TextFiles::toQString(env.folder / "export") + QStringLiteral("\r\n"));
    env.write(QStringLiteral("150115_001_AB_1.vyc"),
              SummariesEnv::records(QStringLiteral("150115"), QStringLiteral("001"), QStringLiteral("AB"),
                                    {SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 2)}));
    RecordingShell shell;
    Printer printer;
    frmSoucVycObd w(env.services(), {{}, &shell, &printer});
    setPeriod(&w, QDate(2015, 1, 1), QDate(2015, 1, 31));
    child<QComboBox>(&w, "cmbStrav")->setCurrentIndex(1);
    auto* exportButton = child<QPushButton>(&w, "cmdExport");
    auto* exportDel = child<QPushButton>(&w, "cmdExportDel");
    EXPECT_FALSE(exportButton->isEnabled());
    ASSERT_TRUE(exportDel->isEnabled());

    child<QPushButton>(&w, "cmdVyp")->click();
    ASSERT_TRUE(w.stav().m_obdobiNacteno);
    ASSERT_TRUE(exportButton->isEnabled());
    exportButton->click();
    const auto exported = env.folder / "export" / "15010131Alf.txt";
    const QByteArray written = env.bytes(exported);
    EXPECT_TRUE(written.contains(SummariesEnv::alfa(50, 1).toLatin1())) << written.toStdString();
    EXPECT_TRUE(written.contains(SummariesEnv::alfa(50, 2).toLatin1())) << written.toStdString();
    // Without an export switch "Export del" merges the period's statement files into one named after dtDek.
    child<QDateEdit>(&w, "dtDek")->setDate(QDate(2015, 1, 15));
    exportDel->click();
    const auto merged = env.folder / "data" / "150115.vyc";
    const QByteArray mergedBytes = env.bytes(merged);
    EXPECT_EQ(mergedBytes.count("\r\n"), 2) << mergedBytes.toStdString();
    EXPECT_TRUE(mergedBytes.contains(SummariesEnv::alfa(50, 2).toLatin1())) << mergedBytes.toStdString();
    std::filesystem::remove(merged);

    // A file that cannot be read stops the next computation part way.
    writeUnreadable(env, "150116_002_AB_1.vyc");
    size_t before = env.prompts.records().size();
    child<QPushButton>(&w, "cmdVyp")->click();
    EXPECT_FALSE(w.stav().m_obdobiNacteno);
    EXPECT_TRUE(shown(&w).startsWith(QStringLiteral("Načtení období se nezdařilo, období není spočteno.\n")));
    EXPECT_TRUE(shown(&w).contains(QStringLiteral("150116_002_AB_1.vyc")));
    EXPECT_FALSE(exportButton->isEnabled());
    EXPECT_EQ(env.prompts.records().size(), before + 1);

    // Every operation on the computed period refuses and writes nothing.
    std::filesystem::remove(exported);
    child<QPlainTextEdit>(&w, "rtbVyc")->clear();
    for (const char* button : {"cmdPrint", "cmbZobrPrehleduSm", "cmdExportDel"}) {
        SCOPED_TRACE(button);
        before = env.prompts.records().size();
        auto* b = child<QPushButton>(&w, button);
        ASSERT_TRUE(b->isEnabled());
        b->click();
        ASSERT_EQ(env.prompts.records().size(), before + 1);
        EXPECT_TRUE(env.prompts.records().back().text.startsWith(QStringLiteral("Období není spočteno")));
        EXPECT_TRUE(env.prompts.records().back().text.contains(QStringLiteral("150116_002_AB_1.vyc")));
    }
    EXPECT_TRUE(printer.printed().empty());
    EXPECT_FALSE(std::filesystem::exists(exported));
    EXPECT_FALSE(std::filesystem::exists(merged));
    EXPECT_TRUE(shown(&w).isEmpty());

    // A load that succeeds makes the period usable again.
    std::filesystem::remove(env.folder / "data" / "150116_002_AB_1.vyc");
    child<QPushButton>(&w, "cmdVyp")->click();
    EXPECT_TRUE(w.stav().m_obdobiNacteno);
    EXPECT_TRUE(exportButton->isEnabled());
}

TEST(frmSoucVycObdTest, EveryLoadThatFailsSaysSoAndLeavesNothingComputedOrWritten) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.write(QStringLiteral("150115_001_AB_1.vyc"),
              SummariesEnv::records(QStringLiteral("150115"), QStringLiteral("001"), QStringLiteral("AB"),
                                    {SummariesEnv::alfa(50, 1)}));
    writeUnreadable(env, "150116_002_AB_1.vyc");
    frmSoucVycObd w(env.services());
    setPeriod(&w, QDate(2015, 1, 1), QDate(2015, 1, 31));
    const auto tickets = env.folder / "export" / "20150121_143005.txt";
    for (const char* button : {"cmdVyp", "cmbDuplicity", "cmdSaveTicketsAs"}) {
        SCOPED_TRACE(button);
        periodsui::showText(child<QPlainTextEdit>(&w, "rtbVyc"), QStringLiteral("earlier result"));
        const size_t before = env.prompts.records().size();
        child<QPushButton>(&w, button)->click();
        EXPECT_FALSE(w.stav().m_obdobiNacteno);
        EXPECT_TRUE(w.stav().m_chybaNacteni.contains(QStringLiteral("150116_002_AB_1.vyc")));
        EXPECT_TRUE(shown(&w).startsWith(QStringLiteral("Načtení období se nezdařilo, období není spočteno.\n")));
        EXPECT_TRUE(shown(&w).contains(QStringLiteral("150116_002_AB_1.vyc")));
        ASSERT_EQ(env.prompts.records().size(), before + 1);
        EXPECT_EQ(env.prompts.records().back().icon, Prompts::Icon::Critical);
        EXPECT_FALSE(std::filesystem::exists(tickets));
    }
}

TEST(frmSoucVycObdTest, TheTicketListIsWrittenInTheProgressAndACancelLeavesTheFileAndNoPeriod) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.write(QStringLiteral("150115_001_AB_1.vyc"),
              SummariesEnv::records(QStringLiteral("150115"), QStringLiteral("001"), QStringLiteral("AB"),
                                    {SummariesEnv::alfa(50, 1), SummariesEnv::beta(100, 1)}));
    // A list of the same second stands in the export folder.
    const auto tickets = env.folder / "export" / "20150121_143005.txt";
    const QByteArray earlier("earlier list\r\n");
    ASSERT_TRUE(TextFiles::writeBytes(tickets, earlier).ok());
    frmSoucVycObd w(env.services());
    setPeriod(&w, QDate(2015, 1, 1), QDate(2015, 1, 31));
    auto* save = child<QPushButton>(&w, "cmdSaveTicketsAs");
    for (const char* when : {"Načteno", "Zapsáno"}) {
        SCOPED_TRACE(when);
        cancelWhen(&w, QString::fromUtf8(when));
        const size_t before = env.prompts.records().size();
        save->click();
        EXPECT_FALSE(w.stav().m_obdobiNacteno);
        EXPECT_EQ(w.stav().m_chybaNacteni, Progress::cancelledText());
        EXPECT_EQ(shown(&w),
                  QStringLiteral("Načtení období se nezdařilo, období není spočteno.\n") + Progress::cancelledText());
        ASSERT_EQ(env.prompts.records().size(), before + 1);
        EXPECT_EQ(env.prompts.records().back().text, Progress::cancelledText());
        EXPECT_EQ(env.bytes(tickets), earlier);
        EXPECT_EQ(filesIn(env.folder / "export"), QStringList{QStringLiteral("20150121_143005.txt")});
    }
    // Not cancelled, the list replaces the earlier one.
    save->click();
    EXPECT_TRUE(w.stav().m_obdobiNacteno);
    EXPECT_EQ(env.bytes(tickets),
              (SummariesEnv::alfa(50, 1) + QStringLiteral("\r\n") + SummariesEnv::beta(100, 1) + QStringLiteral("\r\n"))
                  .toLatin1());
}

TEST(frmSoucVycObdTest, AFailedLoadTakesTheSumsOffTheStatusBarAndAGoodOneTheFailureOffThePane) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.state.sw.gFBalikyTyden = true;
    env.write(QStringLiteral("150115_001_AB_1.vyc"),
              SummariesEnv::records(QStringLiteral("150115"), QStringLiteral("001"), QStringLiteral("AB"),
                                    {SummariesEnv::alfa(50, 1)}));
    QString statusBar;
    frmSoucVycObd w(env.services(), {[&statusBar](const QString& t) { statusBar = t; }, nullptr, nullptr});
    setPeriod(&w, QDate(2015, 1, 1), QDate(2015, 1, 31));
    const QString sums = QStringLiteral("    Alfa = 50,00    Beta = 0,00    Gama = 0,00");
    const QString failed = QStringLiteral("Načtení období se nezdařilo, období není spočteno.\n");

    // With switch 19 a failed computation or duplicate check leaves no sums of an earlier period in the panel.
    for (const char* button : {"cmdVyp", "cmbDuplicity"}) {
        SCOPED_TRACE(button);
        child<QPushButton>(&w, "cmdVyp")->click();
        ASSERT_EQ(statusBar, sums);
        cancelWhen(&w, {});
        child<QPushButton>(&w, button)->click();
        EXPECT_TRUE(shown(&w).startsWith(failed));
        EXPECT_TRUE(statusBar.isEmpty()) << statusBar.toStdString();
    }

    // After the cancelled check a ticket list that succeeds takes the failure text off the pane: the period is
    // loaded and printable again.
    child<QPushButton>(&w, "cmdSaveTicketsAs")->click();
    EXPECT_TRUE(w.stav().m_obdobiNacteno);
    EXPECT_TRUE(shown(&w).isEmpty()) << shown(&w).toStdString();
    // A pane that holds a result keeps it through a ticket list.
    child<QPushButton>(&w, "cmdVyp")->click();
    const QString result = shown(&w);
    ASSERT_TRUE(result.startsWith(QStringLiteral("Alfa Stravenka\n")));
    child<QPushButton>(&w, "cmdSaveTicketsAs")->click();
    EXPECT_EQ(shown(&w), result);
}

TEST(frmSoucVycObdTest, OtevriPdfAsksTheShellToOpenTheFile) {
    SummariesEnv env;
    RecordingShell shell;
    frmSoucVycObd w(env.services(), {{}, &shell, nullptr});
    const auto pdf = env.folder / "tisk" / "přehled.pdf";
    w.OtevriPDF(pdf);
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].kind, RecordingShell::Request::Document);
    EXPECT_EQ(shell.requests()[0].path, pdf);
    EXPECT_TRUE(env.prompts.records().empty());
}

TEST(frmSoucVycDenTest, AFailedDayIsNotPrintableAndThePreviewSaysWhatFailed) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.write(QStringLiteral("150121_001_AB_1.vyc"),
              SummariesEnv::records(QStringLiteral("150121"), QStringLiteral("001"), QStringLiteral("AB"),
                                    {SummariesEnv::alfa(50, 1)}));
    Printer printer;
    frmSoucVycDen w(env.services(), printer);
    child<QPushButton>(&w, "cmdVyp")->click();
    ASSERT_TRUE(child<QPushButton>(&w, "cmdPrint")->isEnabled());
    writeUnreadable(env, "150121_002_AB_1.vyc");
    child<QPushButton>(&w, "cmdVyp")->click();
    EXPECT_FALSE(child<QPushButton>(&w, "cmdPrint")->isEnabled());
    EXPECT_TRUE(shown(&w).startsWith(QStringLiteral("Výpočet součtů se nezdařil.\n")));
    EXPECT_TRUE(shown(&w).contains(QStringLiteral("150121_002_AB_1.vyc")));
    EXPECT_TRUE(printer.printed().empty());
}

TEST(frmSoucVycDenTest, ComputeAndPrint) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.write(QStringLiteral("150121_001_AB_1.vyc"),
              SummariesEnv::records(QStringLiteral("150121"), QStringLiteral("001"), QStringLiteral("AB"),
                                    {SummariesEnv::alfa(50, 1), SummariesEnv::alfa(50, 1)}));
    Printer printer;
    frmSoucVycDen w(env.services(), printer);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Součet výčetek za jeden den"));
    EXPECT_FALSE(child<QPushButton>(&w, "cmdPrint")->isEnabled());
    child<QComboBox>(&w, "cmbStrav")->setCurrentIndex(1);
    child<QPushButton>(&w, "cmdVyp")->click();
    EXPECT_EQ(shown(&w), QStringLiteral("Alfa Stravenka\n"
                                        "Hodnota     Počet              Celkem\n"
                                        "  50,00         1           50,00 Kč\n"
                                        "____________________________________\n"
                                        "Celková částka:             50,00 Kč\n"
                                        "Celkový počet:                 1 ks\n"
                                        "\n"
                                        "\n"
                                        "Celkem za všechny typy stravenek:\n"
                                        "Celková částka:       50,00 Kč\n"
                                        "Celkový počet:            1 ks\n"));
    ASSERT_TRUE(child<QPushButton>(&w, "cmdPrint")->isEnabled());
    child<QPushButton>(&w, "cmdPrint")->click();
    ASSERT_EQ(printer.printed().size(), 1u);
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Tisk součtů proběhl."));
    child<QPushButton>(&w, "cmdEnd")->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST(frmOdvodyTest, VerifyDeductAndTheVerifyButton) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.write(QStringLiteral("150121_001_AB_1.vyc"),
              SummariesEnv::records(QStringLiteral("150121"), QStringLiteral("001"), QStringLiteral("AB"),
                                    {SummariesEnv::alfa(50, 1), SummariesEnv::beta(100, 2)}));
    RecordingShell shell;
    frmOdvody w(env.services(), shell);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Odvody stravenek"));
    auto* spust = child<QPushButton>(&w, "cmdSpust");
    auto* combo = child<QComboBox>(&w, "cmbStrav");
    EXPECT_TRUE(spust->isEnabled());
    // A change of the choice before the first run disables verification.
    combo->setCurrentIndex(2);
    EXPECT_FALSE(spust->isEnabled());
    child<QPushButton>(&w, "cmdOdvod")->click();
    EXPECT_TRUE(spust->isEnabled());
    EXPECT_EQ(env.bytes(env.folder / "tickets.txt"), (SummariesEnv::beta(100, 2) + QStringLiteral("\r\n")).toLatin1());
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].arguments, (QStringList{QStringLiteral("tickets.txt"), QStringLiteral("1")}));
    combo->setCurrentIndex(0);
    EXPECT_FALSE(spust->isEnabled());
    combo->setCurrentIndex(1);
    spust->click();
    ASSERT_EQ(shell.requests().size(), 2u);
    EXPECT_EQ(shell.requests()[1].arguments, QStringList{QStringLiteral("tickets.txt")});
    EXPECT_EQ(env.bytes(env.folder / "tickets.txt"), (SummariesEnv::alfa(50, 1) + QStringLiteral("\r\n")).toLatin1());
}

TEST(frmOdvodyTest, TheLoadAndTheWriteRunInTheProgressAndACancelWritesAndStartsNothing) {
    SummariesEnv env;
    env.state.sw.gFVycetky = true;
    env.write(QStringLiteral("150121_001_AB_1.vyc"),
              SummariesEnv::records(QStringLiteral("150121"), QStringLiteral("001"), QStringLiteral("AB"),
                                    {SummariesEnv::alfa(50, 1), SummariesEnv::beta(100, 2)}));
    const auto tickets = env.folder / "tickets.txt";
    const QByteArray earlier("earlier tickets\r\n");
    ASSERT_TRUE(TextFiles::writeBytes(tickets, earlier).ok());
    const QStringList files = filesIn(env.folder);
    RecordingShell shell;
    frmOdvody w(env.services(), shell);
    for (const char* when : {"Načteno", "Zapsáno"}) {
        SCOPED_TRACE(when);
        cancelWhen(&w, QString::fromUtf8(when));
        const size_t before = env.prompts.records().size();
        child<QPushButton>(&w, "cmdOdvod")->click();
        ASSERT_EQ(env.prompts.records().size(), before + 1);
        EXPECT_EQ(env.prompts.records().back().text, Progress::cancelledText());
        EXPECT_EQ(env.bytes(tickets), earlier);
        EXPECT_EQ(filesIn(env.folder), files);
        EXPECT_TRUE(shell.requests().empty());
    }
    child<QPushButton>(&w, "cmdOdvod")->click();
    EXPECT_EQ(env.bytes(tickets),
              (SummariesEnv::alfa(50, 1) + QStringLiteral("\r\n") + SummariesEnv::beta(100, 2) + QStringLiteral("\r\n"))
                  .toLatin1());
    EXPECT_EQ(shell.requests().size(), 1u);
}

} // namespace
