#define CLOSING_LANGUAGE_FILE TRV_TEST_DATA "/../../../tests/data/langCS.ini"
#include "closing/tests/ClosingFixture.h"

#include "closing/ui/frmKontrVyc.h"
#include "testsupport/GuiTestHelpers.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace trv;
using namespace trv::test;

namespace {

class frmKontrVycTest : public ::testing::Test {
protected:
    std::unique_ptr<frmKontrVyc> window(ClosingHooks hooks = {}) {
        return std::make_unique<frmKontrVyc>(env.state, env.receipt, env.prompts, env.clock, env.printer,
                                             std::move(hooks));
    }
    ClosingEnv env;
};

} // namespace

TEST_F(frmKontrVycTest, DeletesACodeAndANominalValueThenGoesOnToClosing) {
    env.state.gAutoDupl = QStringLiteral("True");
    auto w = window();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Kontrolní výčetka"));
    EXPECT_EQ(child<QPushButton>(w.get(), "cmdUkonci")->text(), QStringLiteral("Ukončit příjem"));
    QString statusText;
    QString before;
    QString after;
    onNextModal([&](QWidget* modal) {
        statusText = child<QStatusBar>(modal, "staBar")->currentMessage();
        auto* statement = child<QPlainTextEdit>(modal, "rtbVyc");
        before = statement->toPlainText();

        env.prompts.queueInput(ClosingEnv::kChe100);
        child<QPushButton>(modal, "cmdSmazStrav")->click();

        auto* companies = child<QComboBox>(modal, "cmbStrav");
        companies->setCurrentIndex(companies->findText(QStringLiteral("Sodexo Pass")));
        env.prompts.queueInput(QStringLiteral("100"));
        env.prompts.queueAnswer(Prompts::Answer::Yes);
        child<QPushButton>(modal, "cmdSmazNominal")->click();
        after = statement->toPlainText();

        child<QPushButton>(modal, "cmdUkonci")->click();
    });
    EXPECT_EQ(w->Start(), 1);

    EXPECT_EQ(statusText, QStringLiteral("4 položek NOREAD a duplicit bylo smazáno."));
    EXPECT_TRUE(before.contains(QStringLiteral("Cheque Dejeuner   :      3 ks       210,00 Kč")));
    EXPECT_TRUE(after.contains(QStringLiteral("Cheque Dejeuner   :      2 ks       110,00 Kč")));
    EXPECT_TRUE(after.contains(QStringLiteral("Sodexo Pass       :      2 ks       105,50 Kč")));
    EXPECT_EQ(env.codesOf(env.sod), (QStringList{ClosingEnv::kSod55_5, ClosingEnv::kSod50}));
    EXPECT_TRUE(env.prompts.allAnswersUsed());
}

TEST_F(frmKontrVycTest, BackToReadingGivesTwoAndClosingTheWindowZero) {
    auto back = window();
    onNextModal([](QWidget* modal) { child<QPushButton>(modal, "cmdZpet")->click(); });
    EXPECT_EQ(back->Start(), 2);

    auto closed = window();
    onNextModal([](QWidget* modal) { modal->close(); });
    EXPECT_EQ(closed->Start(), 0);
}

TEST_F(frmKontrVycTest, PackageModeIsThePackageStatementWithoutTheWayOnToClosing) {
    env.state.sw.gFBalicky = true;
    env.state.sw.gFBalikyTyden = true;
    env.state.gCisloBaliku = 9;
    env.state.gColStravBalik = env.types;
    QString sums;
    ClosingHooks hooks;
    hooks.zobrazSouctyBaliku = [&](const QString& text) { sums = text; };
    auto w = window(hooks);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Tisk balíčku"));
    EXPECT_TRUE(child<QPushButton>(w.get(), "cmdUkonci")->isHidden());
    QString statement;
    onNextModal([&](QWidget* modal) {
        statement = child<QPlainTextEdit>(modal, "rtbVyc")->toPlainText();
        child<QPushButton>(modal, "cmdTisk")->click();
        child<QPushButton>(modal, "cmdZpet")->click();
    });
    EXPECT_EQ(w->Start(), 2);
    EXPECT_TRUE(statement.startsWith(QStringLiteral("Balíček číslo 9\n")));
    EXPECT_EQ(sums, QStringLiteral("    Cheque = 265,00    Sodexo = 305,50    Ticket = 0,00"));
    ASSERT_EQ(env.printer.printed().size(), 1u);
    EXPECT_TRUE(env.printer.printed()[0].textLines().contains(QStringLiteral("     Balíček číslo 9")));
    EXPECT_EQ(env.prompts.texts().last(), QStringLiteral("Tisk proběhl."));
}

// Enter presses the main action whichever button has the focus (never a delete), Escape goes back safely.
TEST_F(frmKontrVycTest, EnterGoesOnAndEscapeLeavesWithoutDeletingAnything) {
    struct Case {
        bool balicek;
        int key;
        qint32 result;
    };
    for (const Case& c : {Case{false, Qt::Key_Return, frmKontrVyc::UkoncitPrijem},
                          Case{true, Qt::Key_Return, frmKontrVyc::Zpet}, Case{false, Qt::Key_Escape, frmKontrVyc::Zavreno}}) {
        SCOPED_TRACE(testing::Message() << c.balicek << ' ' << c.key);
        ClosingEnv fresh;
        fresh.state.sw.gFBalicky = c.balicek;
        fresh.state.gColStravBalik = fresh.types;
        frmKontrVyc w(fresh.state, fresh.receipt, fresh.prompts, fresh.clock, fresh.printer);
        onNextModal([&](QWidget* modal) {
            auto* smaz = child<QPushButton>(modal, "cmdSmazNominal");
            smaz->setFocus();
            QTest::keyClick(smaz, Qt::Key(c.key));
        });
        EXPECT_EQ(w.Start(), c.result);
        EXPECT_EQ(fresh.che->Polozky->count() + fresh.sod->Polozky->count(), 10);
        EXPECT_TRUE(fresh.prompts.records().empty());
    }
}
