#define SUMMARIES_LANGUAGE_FILE TRV_TEST_DATA "/../../../../sample/langCS.ini"
#include "reports/tests/ReportsFixture.h"

#include "periods/ui/frmSoucVycObd.h"
#include "testsupport/GuiTestHelpers.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace trv;
using namespace trv::test;

namespace {

void choosePeriod(QWidget* w) {
    child<QDateEdit>(w, "dt1")->setDate(QDate(2024, 1, 1));
    child<QDateEdit>(w, "dt2")->setDate(QDate(2024, 1, 31));
    child<QDateEdit>(w, "dtDek")->setDate(QDate(2024, 2, 5));
}

TEST(PeriodWindowReportsTest, ButtonsRunTheReportsAndKeepTheComputedPeriod) {
    ReportsEnv env;
    Printer printer;
    frmSoucVycObd w(env.services(), {{}, nullptr, &printer});
    choosePeriod(&w);
    auto* print = child<QPushButton>(&w, "cmdPrint");
    auto* printSM = child<QPushButton>(&w, "cmdPrintSM");
    auto* overview = child<QPushButton>(&w, "cmbZobrPrehleduSm");
    ASSERT_TRUE(print->isEnabled() && printSM->isEnabled() && overview->isEnabled());

    child<QPushButton>(&w, "cmdVyp")->click();
    ASSERT_TRUE(w.stav().m_obdobiNacteno);
    const auto computed = w.stav().m_col.types;

    // The print per SM, with the accounting file.
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    printSM->click();
    ASSERT_EQ(printer.printed().size(), 1u);
    EXPECT_EQ(printer.printed()[0].textLines().mid(4, 3),
              L({"   101           200,00 Kč        100,00 Kč          0,00 Kč",
                 "   102           200,00 Kč          0,00 Kč         75,50 Kč",
                 "   103             0,00 Kč          0,00 Kč          0,00 Kč"}));
    EXPECT_EQ(env.bytes(env.folder / "uct" / "240205.uct"), QByteArray("101;200;100;0\r\n102;200;0;75,5\r\n103;0;0;0\r\n"));

    // The overview per SM replaces the pane's text.
    overview->click();
    const QString shown = child<QPlainTextEdit>(&w, "rtbVyc")->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Celkem            575,50 Kč"))) << shown.toStdString();

    // The computed period is still the window's: the period print finds its codes.
    EXPECT_TRUE(w.stav().m_obdobiNacteno);
    EXPECT_EQ(w.stav().m_col.types, computed);
    child<QPlainTextEdit>(&w, "rtbVyc")->clear();
    print->click();
    ASSERT_EQ(printer.printed().size(), 2u);
    EXPECT_TRUE(printer.printed()[1].textLines().contains(QStringLiteral("    Celková částka:             575,50 Kč")));
    EXPECT_EQ(env.prompts.texts(),
              L({"Provést export do účetního souboru?", "Tisk přehledu proběhl."}));
}

TEST(PeriodWindowReportsTest, NoRowsLeavesThePaneAndPrintsNothing) {
    ReportsEnv env;
    env.state.sw.gFVycetky = false;
    env.state.sw.gFVycBezData = true; // the overview with commission
    Printer printer;
    frmSoucVycObd w(env.services(), {{}, nullptr, &printer});
    child<QDateEdit>(&w, "dt1")->setDate(QDate(2023, 1, 1));
    child<QDateEdit>(&w, "dt2")->setDate(QDate(2023, 1, 31));
    child<QPlainTextEdit>(&w, "rtbVyc")->setPlainText(QStringLiteral("předchozí"));
    child<QPushButton>(&w, "cmbZobrPrehleduSm")->click();
    EXPECT_EQ(child<QPlainTextEdit>(&w, "rtbVyc")->toPlainText(), QStringLiteral("předchozí"));
    EXPECT_EQ(env.prompts.texts(), L({"Za zvolené období nebyly nalezeny žádné výčetky."}));
    EXPECT_TRUE(printer.printed().empty());
}

} // namespace
