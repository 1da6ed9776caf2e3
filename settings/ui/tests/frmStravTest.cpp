#include "settings/ui/frmStrav.h"
#include "settings/ui/frmStravPol.h"

#include "core/CColPolozky.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "settings/ui/tests/SettingsFixture.h"
#include "testsupport/GuiTestHelpers.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace trv;
using test::child;
using test::onNextModal;

namespace {

class frmStravTest : public test::SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        const QString types = QStringLiteral("[TYPY]\r\nPocet=3\r\n\r\n"
                                             "[TYP1]\r\nNazev=Alfa\r\nDelka=13\r\nPozCastka=9\r\nDelkaCastka="
                                             "4\r\nKoefCastka=1\r\nProvize=2,5\r\nDPH=21\r\n"
                                             "Poznamka=zapsal servis\r\n\r\n"
                                             "[TYP2]\r\nNazev=Beta\r\nDelka=10\r\n\r\n"
                                             "[TYP3]\r\nNazev=Beta\r\nDelka=12\r\n");
        ASSERT_TRUE(TextFiles::writeAll(folder / "TypStrav.ini", types).ok());
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        ASSERT_TRUE(state.gColStrav->NactiINI().ok());
    }

    std::unique_ptr<frmStrav> open() {
        auto w = std::make_unique<frmStrav>(state, prompts);
        w->show();
        return w;
    }
    static void select(QWidget* w, int row) {
        auto* list = child<QTreeWidget>(w, "lvwStrav");
        list->setCurrentItem(list->topLevelItem(row));
    }
    static QStringList rows(QWidget* w) {
        QStringList names;
        auto* list = child<QTreeWidget>(w, "lvwStrav");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names.append(list->topLevelItem(i)->text(0));
        return names;
    }
    static void type(QWidget* dialog, const char* box, const QString& text) {
        child<QLineEdit>(dialog, box)->setText(text);
    }
};

} // namespace

TEST_F(frmStravTest, AddValidatesEveryBoxAndKeepsTheDialogOpenUntilRight) {
    const auto w = open();
    bool sawDefaults = false;
    onNextModal([&](QWidget* dialog) {
        // Commission and VAT, hidden without switch 13, start where the loader puts a type without them.
        sawDefaults = child<QLineEdit>(dialog, "txtProvize")->text() == QStringLiteral(" 0") &&
                      child<QLineEdit>(dialog, "txtDPH")->text() == QStringLiteral(" 19") &&
                      !child<QLineEdit>(dialog, "txtProvize")->isVisible();
        type(dialog, "txtNazev", QStringLiteral("Gama"));
        type(dialog, "txtDelka", QStringLiteral("1x"));
        child<QPushButton>(dialog, "cmdOK")->click();
        EXPECT_TRUE(dialog->isVisible());
        for (const char* box : {"txtDelka", "txtDelka2", "txtPozRok", "txtPozCastka", "txtDelkaCastka", "txtKoef"})
            type(dialog, box, QStringLiteral("0"));
        type(dialog, "txtDelka", QStringLiteral("14"));
        child<QPushButton>(dialog, "cmdOK")->click();
    });
    child<QPushButton>(w.get(), "cmdAdd")->click();
    EXPECT_TRUE(sawDefaults);
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_TRUE(prompts.records()[0].text.contains(QStringLiteral("„Délka“ obsahuje „1x“")));
    EXPECT_EQ(rows(w.get()), (QStringList{QStringLiteral("Alfa"), QStringLiteral("Beta"), QStringLiteral("Beta"),
                                          QStringLiteral("Gama")}));
    EXPECT_EQ(state.gColStrav->Item(4)->Delka, 14);
    EXPECT_DOUBLE_EQ(state.gColStrav->Item(4)->DPH, 19.0);

    // Zpět in the dialog adds nothing.
    onNextModal([](QWidget* dialog) { child<QPushButton>(dialog, "cmdCancel")->click(); });
    child<QPushButton>(w.get(), "cmdAdd")->click();
    EXPECT_EQ(state.gColStrav->count(), 4);
}

TEST_F(frmStravTest, EditChangesTheSameObjectOnlyAfterOkAndReadsCommaAndPoint) {
    state.sw.gFTiskSM = true;
    const std::shared_ptr<CStrav> alfa = state.gColStrav->Item(1);
    alfa->Polozky->Add(std::make_shared<CPolozka>(), QStringLiteral("1234567890123"));
    const auto w = open();
    select(w.get(), 0);
    onNextModal([](QWidget* dialog) {
        EXPECT_EQ(child<QLineEdit>(dialog, "txtProvize")->text(), QStringLiteral(" 2.5"));
        type(dialog, "txtNazev", QStringLiteral("Jiný"));
        child<QPushButton>(dialog, "cmdCancel")->click();
    });
    child<QPushButton>(w.get(), "cmdEdir")->click();
    EXPECT_EQ(alfa->Nazev, QStringLiteral("Alfa"));

    const char* forms[] = {"3,75", "3.75"};
    for (const char* form : forms) {
        SCOPED_TRACE(form);
        select(w.get(), 0);
        onNextModal([form](QWidget* dialog) {
            type(dialog, "txtNazev", QStringLiteral("Alfa Plus"));
            type(dialog, "txtProvize", QLatin1String(form));
            child<QCheckBox>(dialog, "chkExport")->setChecked(true);
            child<QPushButton>(dialog, "cmdOK")->click();
        });
        child<QPushButton>(w.get(), "cmdEdir")->click();
        EXPECT_EQ(state.gColStrav->Item(1), alfa);
        EXPECT_EQ(alfa->Nazev, QStringLiteral("Alfa Plus"));
        EXPECT_DOUBLE_EQ(alfa->Provize, 3.75);
        EXPECT_EQ(alfa->Export, 1);
        EXPECT_EQ(alfa->Polozky->count(), 1);
    }
}

TEST_F(frmStravTest, DeleteRemovesTheSelectedTypeAndSaveKeepsEveryKey) {
    const std::shared_ptr<CStrav> firstBeta = state.gColStrav->Item(2);
    const std::shared_ptr<CStrav> secondBeta = state.gColStrav->Item(3);
    const auto w = open();
    select(w.get(), 2);
    prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(w.get(), "cmdDel")->click();
    EXPECT_EQ(prompts.records().back().title, QStringLiteral("Smazání typu stravenky"));
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Smazat typ stravenek Beta ?"));
    ASSERT_EQ(state.gColStrav->count(), 2);
    EXPECT_EQ(state.gColStrav->Item(2), firstBeta);
    EXPECT_NE(state.gColStrav->Item(2), secondBeta);

    prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(w.get(), "cmdCancel")->click();
    EXPECT_FALSE(w->isVisible());
    const Result<QByteArray> saved = TextFiles::readBytes(folder / "TypStrav.ini");
    ASSERT_TRUE(saved.ok());
    EXPECT_TRUE(saved.value().contains("Pocet=2"));
    EXPECT_TRUE(saved.value().contains("Poznamka=zapsal servis"));
    EXPECT_TRUE(saved.value().contains("Provize=2,5"));
    EXPECT_TRUE(saved.value().contains("Delka=10"));
}

TEST_F(frmStravTest, LeavingWithNoKeepsTheFile) {
    const Result<QByteArray> before = TextFiles::readBytes(folder / "TypStrav.ini");
    const auto w = open();
    select(w.get(), 0);
    prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(w.get(), "cmdDel")->click();
    prompts.queueAnswer(Prompts::Answer::No);
    child<QPushButton>(w.get(), "cmdCancel")->click();
    EXPECT_EQ(TextFiles::readBytes(folder / "TypStrav.ini").value(), before.value());
    EXPECT_EQ(state.gColStrav->count(), 2);
}

TEST_F(frmStravTest, ADoubleClickEditsTheTypeAndZpetAsksOnlyAfterAChange) {
    const QByteArray before = TextFiles::readBytes(folder / "TypStrav.ini").value();
    const auto w = open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    auto* list = child<QTreeWidget>(w.get(), "lvwStrav");
    const QRect row = list->visualItemRect(list->topLevelItem(1));
    QString shown;
    onNextModal([&](QWidget* dialog) {
        shown = child<QLineEdit>(dialog, "txtNazev")->text();
        child<QPushButton>(dialog, "cmdOK")->click();
    });
    // The first click of a double click selects the row, as the operator's does.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(shown, QStringLiteral("Beta"));

    // OK with nothing changed is no change: Zpět leaves without a question.
    child<QPushButton>(w.get(), "cmdCancel")->click();
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(TextFiles::readBytes(folder / "TypStrav.ini").value(), before);

    const auto again = open();
    select(again.get(), 0);
    onNextModal([](QWidget* dialog) {
        type(dialog, "txtNazev", QStringLiteral("Alfa Plus"));
        child<QPushButton>(dialog, "cmdOK")->click();
    });
    child<QPushButton>(again.get(), "cmdEdir")->click();
    prompts.queueAnswer(Prompts::Answer::No);
    child<QPushButton>(again.get(), "cmdCancel")->click();
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, text("frmStrav", "UlozitZmeny"));
}
