#include "closing/CheckStatement.h"
#include "closing/ClosingStatement.h"
#include "closing/StatementFields.h"
#include "closing/StatementTally.h"
#include "closing/tests/ClosingFixture.h"

using namespace trv;
using namespace trv::test;

namespace {

QString rule(char c, int n) {
    return QString(n, QLatin1Char(c));
}

QString joined(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

// The detail block of the three companies, the same in both statements with these texts and widths.
QStringList detailBlock() {
    return {
        QStringLiteral("Cheque Dejeuner"),
        QStringLiteral("Hodnota        Počet              Celkem"),
        QStringLiteral("  55,00            3           165,00 Kč"),
        QStringLiteral(" 100,00            1           100,00 Kč"),
        rule('_', 40),
        QStringLiteral("Celková částka:                265,00 Kč"),
        QStringLiteral("Celkový počet:                      4 ks"),
        QString(),
        QStringLiteral("Sodexo Pass"),
        QStringLiteral("Hodnota        Počet              Celkem"),
        QStringLiteral("  50,00            1            50,00 Kč"),
        QStringLiteral("  55,50            1            55,50 Kč"),
        QStringLiteral(" 100,00            2           200,00 Kč"),
        rule('_', 40),
        QStringLiteral("Celková částka:                305,50 Kč"),
        QStringLiteral("Celkový počet:                      4 ks"),
        QString(),
        QStringLiteral("Ticket Restaurant Card"),
        QStringLiteral("Nebyly načteny žádné poukázky."),
        QString(),
    };
}

} // namespace

TEST_F(ClosingTest, ScreenStatementOfAllCompaniesCountsRepeatedCodesAndSkipsNoread) {
    const auto text = zobrazVycetku(env.state, *env.types, env.receipt.zakaznik, StatementChoice::allCompanies());
    ASSERT_TRUE(text.ok()) << text.message().toStdString();

    QStringList expected{
        QStringLiteral("Společnost           Počet             Částka"),
        rule('_', 47),
        QStringLiteral("Cheque Dejeuner   :      4 ks       265,00 Kč"),
        QStringLiteral("Sodexo Pass       :      4 ks       305,50 Kč"),
        rule('_', 47),
        QStringLiteral("Celkem            :      8 ks       570,50 Kč"),
        QString(),
        QString(),
        QStringLiteral("Podrobná výčetka za jednotlivé společnosti"),
        rule('=', 43),
        QString(),
    };
    expected += detailBlock();
    expected += QStringList{
        QString(),
        QStringLiteral("Celkem za všechny společnosti:"),
        QStringLiteral("Celková částka:                570,50 Kč"),
        // The grand count keeps the shorter field of a short number, and the statement ends without a line end.
        QStringLiteral("Celkový počet:                   8 ks"),
    };
    EXPECT_EQ(text.value(), joined(expected));
}

TEST_F(ClosingTest, ScreenStatementOfOneCompanyInCustomerModeShowsTheCustomerAndNoGrandTotals) {
    env.state.sw.gFZakaznik = true;
    ZvolenyZakaznik& z = env.receipt.zakaznik;
    z.gZakNazev = QStringLiteral("Jídelna U Lípy");
    z.gZakAdresa = QStringLiteral("Krátká 3, Brno");
    z.gZakIC = QStringLiteral("12345678");
    z.gZakOdpovida = QStringLiteral("Svoboda");
    z.gZakTelefon = QStringLiteral("555 123 456");
    z.gZakCisloSpol[2] = QStringLiteral("SOD-991");

    const auto text =
        zobrazVycetku(env.state, *env.types, z, StatementChoice::company(QStringLiteral("Sodexo Pass"), 2));
    ASSERT_TRUE(text.ok()) << text.message().toStdString();
    const QStringList expected{
        QStringLiteral("Kód partnera: SOD-991"),
        QStringLiteral("Název: Jídelna U Lípy"),
        QStringLiteral("Adresa: Krátká 3, Brno"),
        QStringLiteral("IČ: 12345678"),
        QStringLiteral("Odpovídá: Svoboda"),
        QStringLiteral("Telefon: 555 123 456"),
        QString(),
        QStringLiteral("Společnost           Počet             Částka"),
        rule('_', 47),
        QStringLiteral("Sodexo Pass       :      4 ks       305,50 Kč"),
        rule('_', 47),
        QStringLiteral("Celkem            :      4 ks       305,50 Kč"),
        QString(),
        QString(),
        QStringLiteral("Podrobná výčetka"),
        rule('=', 43),
        QString(),
        QStringLiteral("Sodexo Pass"),
        QStringLiteral("Hodnota        Počet              Celkem"),
        QStringLiteral("  50,00            1            50,00 Kč"),
        QStringLiteral("  55,50            1            55,50 Kč"),
        QStringLiteral(" 100,00            2           200,00 Kč"),
        rule('_', 40),
        QStringLiteral("Celková částka:                305,50 Kč"),
        QStringLiteral("Celkový počet:                      4 ks"),
        QString(),
        QString(),
    };
    EXPECT_EQ(text.value(), joined(expected));
}

TEST_F(ClosingTest, CheckStatementInPackageModeStartsWithThePackageNumber) {
    env.state.sw.gFBalicky = true;
    env.state.gCisloBaliku = 17;
    const auto text = zobrazKontrolniVycetku(env.state, *env.types);
    ASSERT_TRUE(text.ok()) << text.message().toStdString();

    QStringList expected{
        QStringLiteral("Balíček číslo 17"),
        QStringLiteral("Společnost           Počet             Částka"),
        rule('_', 46),
        QStringLiteral("Cheque Dejeuner   :      4 ks       265,00 Kč"),
        QStringLiteral("Sodexo Pass       :      4 ks       305,50 Kč"),
        rule('_', 46),
        QStringLiteral("Celkem            :      8 ks       570,50 Kč"),
        QString(),
        QString(),
        QStringLiteral("Podrobná výčetka"),
        rule('=', 43),
        QString(),
    };
    expected += detailBlock();
    expected += QStringList{
        QString(),
        QStringLiteral("Celkem za všechny typy poukázek:"),
        QStringLiteral("Celková částka:                570,50 Kč"),
        QStringLiteral("Celkový počet:                      8 ks"),
        QString(),
    };
    EXPECT_EQ(text.value(), joined(expected));
}

TEST_F(ClosingTest, StatementsOfAnEmptyReceipt) {
    for (const auto& t : *env.types)
        t->Polozky = std::make_shared<CColPolozky>();
    env.book(env.che, QStringLiteral("NOREAD"));

    const auto screen = zobrazVycetku(env.state, *env.types, env.receipt.zakaznik, StatementChoice::allCompanies());
    ASSERT_TRUE(screen.ok());
    const QStringList lines = screen.value().split(QStringLiteral("\r\n"));
    // Two rules with nothing between them, totals of zero, every company without vouchers.
    EXPECT_EQ(lines.mid(0, 4), (QStringList{QStringLiteral("Společnost           Počet             Částka"),
                                            rule('_', 47), rule('_', 47),
                                            // An amount of 7 characters gives a field of 14.
                                            QStringLiteral("Celkem            :      0 ks       0,00 Kč")}));
    EXPECT_EQ(screen.value().count(QStringLiteral("Nebyly načteny žádné poukázky.")), 3);
    EXPECT_TRUE(screen.value().endsWith(QStringLiteral("Celkový počet:                   0 ks")));

    const auto check = zobrazKontrolniVycetku(env.state, *env.types);
    ASSERT_TRUE(check.ok());
    EXPECT_EQ(check.value().count(QStringLiteral("Nebyly načteny žádné poukázky.")), 3);
    EXPECT_TRUE(check.value().contains(QStringLiteral("Celková částka:                  0,00 Kč\r\n")));
}

TEST(StatementFieldsTest, NamesAreCutToTheirField) {
    using statement::Field;
    const struct {
        QString x;
        Field f;
        QString left;
    } cases[] = {
        {QStringLiteral("4"), {8, 7}, QStringLiteral("4       ").left(7)},
        // A short value gives a shorter field: only the blanks behind count.
        {QStringLiteral("8"), {16, 20}, QStringLiteral("8") + QString(16, u' ')},
        {QStringLiteral("Ab"), {15, 18}, QStringLiteral("Ab") + QString(15, u' ')},
        {QStringLiteral("10000,00"), {9, 7}, QStringLiteral("10000,0")},
        {QStringLiteral("Ticket Restaurant Card"), {15, 18}, QStringLiteral("Ticket Restaurant ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x.toStdString());
        EXPECT_EQ(statement::left(c.x, c.f), c.left);
    }
    EXPECT_EQ(statement::amount(Currency::fromCents(123450)), QStringLiteral("1\u00A0234,50 Kč"));
    EXPECT_EQ(statement::price(Currency::fromCents(5550)), QStringLiteral("55,50"));
}

TEST_F(ClosingTest, TallyOrdersNominalValuesByValue) {
    env.book(env.tic, QStringLiteral("ABCDEFGH0100")); // 100
    env.book(env.tic, QStringLiteral("ABCDEFGH0050")); // 50
    env.book(env.tic, QStringLiteral("ZZZZZZZZ0100")); // another code of the same value
    const auto tally = sectiNominaly(*env.tic, env.state.gNoRead);
    ASSERT_TRUE(tally.ok());
    ASSERT_EQ(tally.value().lines.size(), 2u);
    EXPECT_EQ(tally.value().lines[0].text, QStringLiteral("50"));
    EXPECT_EQ(tally.value().lines[1].text, QStringLiteral("100"));
    EXPECT_EQ(tally.value().lines[1].count, 2);
    EXPECT_EQ(tally.value().count, 3);
    EXPECT_EQ(tally.value().amount, Currency::fromInt(250));

    const auto sod = sectiNominaly(*env.sod, env.state.gNoRead);
    ASSERT_TRUE(sod.ok());
    EXPECT_EQ(sod.value().lines[1].text, QStringLiteral("55,5"));

    // A code whose value cannot be read fails the tally instead of counting it as nothing.
    env.book(env.tic, QStringLiteral("ABCDEFGHxxxx"));
    EXPECT_FALSE(sectiNominaly(*env.tic, env.state.gNoRead).ok());
}

TEST_F(ClosingTest, CompanyListHasAnAllCompaniesEntryUnlessThereIsOneType) {
    const auto entries = seznamSpolecnosti(*env.types, QStringLiteral("Vše"));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].text, QStringLiteral("Vše"));
    EXPECT_EQ(entries[0].itemData, 0);
    EXPECT_EQ(entries[3].text, QStringLiteral("Ticket Restaurant Card"));
    EXPECT_EQ(entries[3].itemData, 3);

    CColStrav single(env.state, env.prompts, env.clock);
    ASSERT_TRUE(single.Add(env.sod).ok());
    const auto one = seznamSpolecnosti(single, QStringLiteral("Vše"));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].text, QStringLiteral("Sodexo Pass"));
    EXPECT_EQ(one[0].itemData, 0);
}

// A code's value is worked out once, but a change of its type's value settings after the booking shows in the next
// statement: a value table given, a table replaced by another, the table dropped again.
TEST_F(ClosingTest, StatementFollowsTheValueSettingsChangedAfterBooking) {
    const auto sodexoLine = [this]() {
        const auto text = zobrazVycetku(env.state, *env.types, env.receipt.zakaznik, StatementChoice::allCompanies());
        EXPECT_TRUE(text.ok()) << text.message().toStdString();
        const QStringList lines = text.value().split(QStringLiteral("\r\n"));
        return lines.size() > 3 ? lines[3] : QString();
    };
    const auto table = [](std::initializer_list<std::pair<const char*, const char*>> entries) {
        auto t = std::make_shared<ValueTable>();
        for (const auto& [key, value] : entries)
            t->add(QString::fromLatin1(key), QString::fromLatin1(value));
        return t;
    };
    EXPECT_EQ(sodexoLine(), QStringLiteral("Sodexo Pass       :      4 ks       305,50 Kč"));

    env.sod->TabulkaHodnot = QStringLiteral("sodexo.ini");
    env.sod->TabulkaHodnotDict = table({{"1000", "120"}, {"0555", "60"}, {"0500", "50"}});
    EXPECT_EQ(sodexoLine(), QStringLiteral("Sodexo Pass       :      4 ks       350,00 Kč"));

    env.sod->TabulkaHodnotDict = table({{"1000", "120"}, {"0555", "60"}, {"0500", "70"}});
    EXPECT_EQ(sodexoLine(), QStringLiteral("Sodexo Pass       :      4 ks       370,00 Kč"));

    // An entry added to the same table for no booked code changes no value; the table dropped, and the value
    // field's coefficient changed, do.
    env.sod->TabulkaHodnotDict->add(QStringLiteral("X"), QStringLiteral("1"));
    EXPECT_EQ(sodexoLine(), QStringLiteral("Sodexo Pass       :      4 ks       370,00 Kč"));

    env.sod->TabulkaHodnot.clear();
    env.sod->TabulkaHodnotDict.reset();
    EXPECT_EQ(sodexoLine(), QStringLiteral("Sodexo Pass       :      4 ks       305,50 Kč"));
    env.sod->KoefCastka = -100;
    EXPECT_EQ(sodexoLine(), QStringLiteral("Sodexo Pass       :      4 ks        30,55 Kč"));
}
