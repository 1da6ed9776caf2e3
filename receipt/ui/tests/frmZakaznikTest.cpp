#include "receipt/ui/frmZakaznik.h"

#include "platform/DbfTable.h"
#include "receipt/tests/ReceiptFixture.h"
#include "receipt/ui/tests/TypeKeys.h"
#include "testsupport/GuiTestHelpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace trv;
using test::child;

namespace {

class frmZakaznikTest : public test::ReceiptFixture {
protected:
    void SetUp() override {
        ReceiptFixture::SetUp();
        writeLanguageFile(
            QStringLiteral("[frmZakaznik]\nCaption=Zákazník\nOpravduSmazat=Smazat vše?\nSmazat=Smazat\n"
                           "TabulkaNeexistuje=Tabulka chybí:\nZalozitTabulku=Založit?\n"
                           "CisloZak=\"Číslo musí mít \"\nZnaku=\" znaků.\"\nMusZvolitZak=Zvolte zákazníka.\n"));
        state.gDelkaSM = 3;
    }

    void withTypes(int count) {
        for (int i = 0; i < count; ++i)
            addType(QStringLiteral("Typ%1 stravenky").arg(i + 1), 10 + i, 0);
    }

    std::unique_ptr<frmZakaznik> open() {
        auto window = std::make_unique<frmZakaznik>(state, prompts);
        window->show();
        return window;
    }

    void type(QWidget* w, const char* box, const QString& text) {
        auto* edit = child<QLineEdit>(w, box);
        edit->setFocus();
        edit->clear();
        test::typeKeys(edit, text);
    }

    void add(QWidget* w, const QString& cislo, const QString& nazev, const QString& adresa) {
        type(w, "txtCislo", cislo);
        type(w, "txtNazev", nazev);
        type(w, "txtAdresa", adresa);
        type(w, "txtZakCislo2", QStringLiteral("P2-") + cislo);
        child<QPushButton>(w, "cmbPridatZak")->click();
    }

    static QStringList rows(QWidget* w) {
        QStringList out;
        auto* list = child<QListWidget>(w, "lstZak");
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->text());
        return out;
    }

    static QColor base(QWidget* w, const char* box) {
        return child<QLineEdit>(w, box)->palette().color(QPalette::Base);
    }
};

} // namespace

TEST_F(frmZakaznikTest, AMissingTableIsCreatedAfterTheQuestionAndCustomersAreAddedFoundAndChosen) {
    withTypes(3);
    prompts.queueAnswer(Prompts::Answer::Yes);
    auto w = open();
    ASSERT_TRUE(TextFiles::exists(dataFolder / "customer.dbf"));
    // Nothing to delete yet: the question is whether to create the table, and it names the file.
    EXPECT_EQ(prompts.records().at(0).text, QStringLiteral("Tabulka chybí:\r\n") +
                                                TextFiles::toQString(dataFolder / "customer.dbf") +
                                                QStringLiteral("\r\n\r\nZaložit?"));
    EXPECT_EQ(prompts.records().at(0).title, QStringLiteral("Zákazník"));
    EXPECT_EQ(child<QComboBox>(w.get(), "cmbStrav")->count(), 3);

    // A number of the wrong length is refused; the table stays empty.
    add(w.get(), QStringLiteral("12"), QStringLiteral("Nic"), QString());
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Číslo musí mít 3 znaků."));
    EXPECT_TRUE(rows(w.get()).isEmpty());

    add(w.get(), QStringLiteral("101"), QStringLiteral("Jídelna U Šťastných"), QStringLiteral("Dlouhá 1"));
    add(w.get(), QStringLiteral("102"), QStringLiteral("Bistro O'Neill"), QStringLiteral("Krátká 2"));
    EXPECT_EQ(rows(w.get()), (QStringList{QStringLiteral("101\tJídelna U Šťastných\tDlouhá 1"),
                                          QStringLiteral("102\tBistro O'Neill\tKrátká 2")}));
    EXPECT_TRUE(child<QLineEdit>(w.get(), "txtCislo")->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>(w.get(), "txtZakCislo2")->text().isEmpty());

    // Enter in the name box lists the customers whose name holds the text, in any letter case.
    type(w.get(), "txtNazev", QStringLiteral("  ŠŤAST "));
    QTest::keyClick(child<QLineEdit>(w.get(), "txtNazev"), Qt::Key_Return);
    EXPECT_EQ(rows(w.get()), (QStringList{QStringLiteral("101\tJídelna U Šťastných\tDlouhá 1")}));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtNazev")->text(), QStringLiteral("  ŠŤAST "));
    EXPECT_TRUE(state.gZakCislo.isEmpty());

    // A row click loads the customer and makes it the chosen one; an edit before OK goes with it.
    // Under the four-column layout of three types, partner boxes 5 to 8 keep their text through a row click.
    child<QLineEdit>(w.get(), "txtZakCislo6")->setText(QStringLiteral("ruční"));
    auto* list = child<QListWidget>(w.get(), "lstZak");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtNazev")->text(), QStringLiteral("Jídelna U Šťastných"));
    EXPECT_EQ(state.gZakCislo, QStringLiteral("101"));
    EXPECT_EQ(state.gZakCisloSpol[2], QStringLiteral("P2-101"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtZakCislo6")->text(), QStringLiteral("ruční"));
    EXPECT_EQ(state.gZakCisloSpol[6], QStringLiteral("ruční"));
    type(w.get(), "txtNazev", QStringLiteral("Jídelna nová"));
    child<QPushButton>(w.get(), "cmbVyber")->click();
    EXPECT_EQ(state.gZakNazev, QStringLiteral("Jídelna nová"));
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.unexpected().isEmpty());
}

TEST_F(frmZakaznikTest, PartnerBoxesMarkTheChosenCompany) {
    withTypes(3);
    prompts.queueAnswer(Prompts::Answer::Yes);
    auto w = open();
    const QColor light = base(w.get(), "txtZakCislo2");
    EXPECT_EQ(base(w.get(), "txtZakCislo1"), QColor(Qt::white));
    EXPECT_NE(light, QColor(Qt::white));

    QTest::mouseClick(child<QLineEdit>(w.get(), "txtZakCislo3"), Qt::LeftButton);
    EXPECT_EQ(child<QComboBox>(w.get(), "cmbStrav")->currentIndex(), 2);
    EXPECT_EQ(base(w.get(), "txtZakCislo3"), QColor(Qt::white));
    EXPECT_EQ(base(w.get(), "txtZakCislo1"), light);
    // Box 5 has no company among three.
    QTest::mouseClick(child<QLineEdit>(w.get(), "txtZakCislo5"), Qt::LeftButton);
    EXPECT_EQ(child<QComboBox>(w.get(), "cmbStrav")->currentIndex(), 2);
}

TEST_F(frmZakaznikTest, OkWithoutANumberAndADeclinedTableLeaveTheWindowUsable) {
    withTypes(2);
    prompts.queueAnswer(Prompts::Answer::No);
    auto w = open();
    EXPECT_FALSE(TextFiles::exists(dataFolder / "customer.dbf"));
    EXPECT_TRUE(rows(w.get()).isEmpty());
    child<QPushButton>(w.get(), "cmbVyber")->click();
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Zvolte zákazníka."));
    EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Exclamation);
    EXPECT_TRUE(w->isVisible());
    // A number typed by hand that no table holds is accepted.
    type(w.get(), "txtCislo", QStringLiteral("999"));
    child<QPushButton>(w.get(), "cmbVyber")->click();
    EXPECT_EQ(state.gZakCislo, QStringLiteral("999"));
}

// A folder copied from another system holds the table in upper case: the window uses it, asks nothing and makes no
// second table; emptying it asks the delete question and rewrites that same file.
TEST_F(frmZakaznikTest, TheTableIsFoundInAnyLetterCase) {
    withTypes(2);
    const auto upper = dataFolder / "CUSTOMER.DBF";
    {
        auto table = DbfTable::create(upper, CustomerTable::layout(2), DbfTable::IfExists::Fail);
        ASSERT_TRUE(table.ok());
    }
    ASSERT_TRUE(CustomerTable(state)
                    .add({QStringLiteral("101"), {}, QStringLiteral("Jídelna"), QStringLiteral("Dlouhá 1"), {}, {}, {}})
                    .ok());
    auto w = open();
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(rows(w.get()), (QStringList{QStringLiteral("101\tJídelna\tDlouhá 1")}));
    EXPECT_FALSE(std::filesystem::exists(dataFolder / "customer.dbf"));

    prompts.queueAnswer(Prompts::Answer::Yes);
    child<QPushButton>(w.get(), "btnCreateTable")->click();
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Smazat vše?"));
    EXPECT_TRUE(rows(w.get()).isEmpty());
    EXPECT_FALSE(std::filesystem::exists(dataFolder / "customer.dbf"));
    auto table = DbfTable::open(upper, DbfTable::Access::ReadOnly);
    ASSERT_TRUE(table.ok());
    EXPECT_TRUE(table.value().readAll().value().empty());
}
