#include "core/CPolozka.h"

#include "VoucherFixture.h"

using namespace trv;
using trv::test::VoucherFixture;

namespace {

Currency amount(const char* text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

} // namespace

class ValuationTest : public VoucherFixture {
protected:
    Currency valueOf(const std::shared_ptr<CStrav>& t, const QString& kod)
    {
        const auto code = book(t, kod);
        const auto value = code->DejHodnotu();
        EXPECT_TRUE(value.ok()) << value.message().toStdString();
        return value.ok() ? value.value() : Currency::fromInt(-999);
    }
};

TEST_F(ValuationTest, FromTheValueFieldsOfTheCode)
{
    const auto twoSets = addType(QStringLiteral("Alfa"), 13, 14, [](CStrav& t) {
        t.PozCastka = 9;
        t.DelkaCastka = 4;
        t.KoefCastka = 1;
        t.PozCastka2 = 10;
        t.DelkaCastka2 = 3;
        t.KoefCastka2 = 10;
    });
    const auto divided = addType(QStringLiteral("Beta"), 12, 0, [](CStrav& t) {
        t.PozCastka = 10;
        t.DelkaCastka = 3;
        t.KoefCastka = -10;
    });
    const auto thirds = addType(QStringLiteral("Gama"), 11, 0, [](CStrav& t) {
        t.PozCastka = 9;
        t.DelkaCastka = 3;
        t.KoefCastka = -3;
    });
    const auto cheque = addType(QStringLiteral("Dárkový Cheque"), 16, 16, [](CStrav& t) {
        t.PozCastka = 2;
        t.DelkaCastka = 3;
        t.KoefCastka = 1;
        t.PozCastka2 = 14;
        t.DelkaCastka2 = 3;
        t.KoefCastka2 = 100;
    });
    const auto ave = addType(QStringLiteral("Stravenky Avex"), 13, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 3;
        t.KoefCastka = 5;
    });

    struct Case {
        std::shared_ptr<CStrav> type;
        const char* code;
        const char* value;
    };
    const std::vector<Case> cases = {
        {twoSets, "1234567801250", "125"},   // set 1: "0125" x 1
        {twoSets, "12345678901234", "120"},  // length Delka2: set 2, "012" x 10
        {divided, "000000000123", "12.30"},  // a negative coefficient divides
        {thirds, "00000000100", "33.3333"},  // to four decimals
        {cheque, "0123000000000999", "123"}, // "0": set 1 whatever the length
        {cheque, "1123000000000009", "900"}, // else set 2
        {ave, "0001234567890", "50"},        // no value in the code: 50
        {ave, "0021234567890", "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(valueOf(c.type, QString::fromLatin1(c.code)), amount(c.value));
    }
}

TEST_F(ValuationTest, DocumentKindTakesThousandsFromCharacter15)
{
    const auto t = addType(QStringLiteral("Dovolená"), 16, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 3;
        t.KoefCastka = 1;
    });
    const QString kod = QStringLiteral("2001234567890030");
    EXPECT_EQ(valueOf(t, kod), Currency::fromInt(200));
    for (bool* kind : {&state.gTypDovolena, &state.gTypDarkove, &state.gTypUni}) {
        *kind = true;
        EXPECT_EQ(valueOf(t, kod), Currency::fromInt(3000));
        EXPECT_EQ(valueOf(t, QStringLiteral("2001234567890130")), Currency::fromInt(200)); // "0" and "1"
        *kind = false;
    }
    state.gTypDobropis = true; // a credit note is no such kind
    EXPECT_EQ(valueOf(t, kod), Currency::fromInt(200));
}

TEST_F(ValuationTest, ConversionErrorsReachTheCaller)
{
    const auto t = addType(QStringLiteral("Alfa"), 13, 0, [](CStrav& t) {
        t.PozCastka = 9;
        t.DelkaCastka = 4;
        t.KoefCastka = 1;
    });
    for (const char* kod : {"12345678AB250", "12345678", ""}) {
        SCOPED_TRACE(kod);
        EXPECT_FALSE(book(t, QString::fromLatin1(kod))->DejHodnotu().ok());
    }
    CPolozka orphan;
    orphan.Kod = QStringLiteral("1234567801250");
    EXPECT_FALSE(orphan.DejHodnotu().ok());
}

TEST_F(ValuationTest, FromTheValueTable)
{
    const auto t = addType(QStringLiteral("Tabulková"), 10, 10, [](CStrav& t) {
        t.TabulkaHodnot = QStringLiteral("hodnoty.ini");
        t.PozCastka = 1;
        t.DelkaCastka = 2;
        t.TabulkaHodnotDict = std::make_shared<ValueTable>();
        t.TabulkaHodnotDict->add(QStringLiteral("01"), QStringLiteral("80"));
        t.TabulkaHodnotDict->add(QStringLiteral("02"), QStringLiteral("75,50"));
        t.TabulkaHodnotDict->add(QStringLiteral("AB"), QStringLiteral("100"));
        t.TabulkaHodnotDict->add(QStringLiteral("09"), QStringLiteral("x"));
    });
    EXPECT_EQ(valueOf(t, QStringLiteral("0100000000")), Currency::fromInt(80));
    EXPECT_EQ(valueOf(t, QStringLiteral("0200000000")), amount("75.5"));
    EXPECT_TRUE(prompts.records().empty());

    // A part the table lacks is worth 0, and the operator hears of each such code once.
    const auto missing = book(t, QStringLiteral("0300000000"));
    EXPECT_EQ(missing->DejHodnotu().value(), Currency());
    EXPECT_EQ(missing->DejHodnotu().value(), Currency());
    EXPECT_EQ(valueOf(t, QStringLiteral("ab00000000")), Currency()); // keys compare case-sensitively
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].text,
              QStringLiteral("Nebyla definována hodnota v tabulce hodnot pro Tabulková hodnota 03"));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(prompts.records()[1].text,
              QStringLiteral("Nebyla definována hodnota v tabulce hodnot pro Tabulková hodnota ab"));

    EXPECT_FALSE(book(t, QStringLiteral("0900000000"))->DejHodnotu().ok()); // the table's value is no number
}

TEST_F(ValuationTest, EuroMode)
{
    const auto euro = addType(QStringLiteral("Euro"), 14, 13, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 3;
        t.KoefCastka = 2;
        t.KoefCastka2 = 1000; // set 2 is dropped in EUR mode
        t.PozCastka2 = 1;
        t.DelkaCastka2 = 3;
    });
    state.sw.gFEuro = true;

    // Without [Data] kurzEuro every valuation fails with the system's error 60002.
    const auto noRate = book(euro, QStringLiteral("98200000000000"))->DejHodnotu();
    ASSERT_FALSE(noRate.ok());
    EXPECT_EQ(noRate.error().number, 60002);

    writeFile(QStringLiteral("TRV7300.ini"), QStringLiteral("[Data]\r\nkurzEuro=25,5\r\n"));
    struct Case {
        const char* code;
        const char* value;
    };
    const std::vector<Case> cases = {
        {"98100000000000", "0.50"}, {"98200000000000", "0.66"}, {"98300000000000", "1"},
        {"97000000000000", "2.70"}, {"01600000000000", "5"},    {"01700000000000", "10"},
        {"01800000000000", "15"},   {"01900000000000", "20"},   {"02000000000000", "2"},
        {"30100000000000", "3"},
        {"50000000000000", "1000"}, // not in the list: part x KoefCastka
        {"9820000000000", "1964"},  // 13 characters: no list, set 1 whatever the length
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(valueOf(euro, QString::fromLatin1(c.code)), amount(c.value));
    }
}

TEST_F(ValuationTest, AveRuleOnlyOutsideEuroMode)
{
    writeFile(QStringLiteral("TRV7300.ini"), QStringLiteral("[Data]\r\nkurzEuro=25\r\n"));
    const auto ave = addType(QStringLiteral("AVE"), 13, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 3;
        t.KoefCastka = 1;
    });
    EXPECT_EQ(valueOf(ave, QStringLiteral("0000000000000")), Currency::fromInt(50));
    state.sw.gFEuro = true;
    EXPECT_EQ(valueOf(ave, QStringLiteral("0000000000000")), Currency());
}

TEST(CPolozka, NactiAS400RebuildsTheCode)
{
    // The AS400 line of the code 0987654321098765432107 read from a file ending "4_2_01", read kind 2.
    CPolozka code;
    ASSERT_TRUE(code.NactiAS400(QStringLiteral("98765432109<876543207<987654321<4_2_012")).ok());
    EXPECT_EQ(code.TypNacteni, 2);
    EXPECT_EQ(code.Kod, QStringLiteral("0987654321098765432027"));
    EXPECT_EQ(code.Kod.size(), 22);

    CPolozka bad;
    EXPECT_FALSE(bad.NactiAS400(QStringLiteral("98765432109<8765")).ok());
    EXPECT_FALSE(bad.NactiAS400(QStringLiteral("98765432109<876543207<987654321<4_2_01X")).ok());
    EXPECT_FALSE(bad.NactiAS400(QString()).ok());
    EXPECT_TRUE(bad.Kod.isEmpty());
}

TEST_F(ValuationTest, EuroModeReadsTheRateOncePerOperation)
{
    const auto euro = addType(QStringLiteral("Euro"), 14, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 3;
        t.KoefCastka = 1;
    });
    state.sw.gFEuro = true;
    writeFile(QStringLiteral("TRV7300.ini"), QStringLiteral("[Data]\r\nkurzEuro=25\r\n"));
    const auto code = book(euro, QStringLiteral("98100000000000"));
    ASSERT_TRUE(code->DejHodnotu().ok());

    // The file is not read again for the next codes of the operation: a rate removed behind the program's back
    // is noticed later, not in the middle of a sum.
    writeFile(QStringLiteral("TRV7300.ini"), QStringLiteral("[Data]\r\nJinyKlic=1\r\n"));
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(code->DejHodnotu().ok());

    // A change of the settings through the program is seen at once.
    ASSERT_TRUE(state.config.zapis(QStringLiteral("Data"), QStringLiteral("Debug"), QStringLiteral("0")).ok());
    const auto afterWrite = code->DejHodnotu();
    ASSERT_FALSE(afterWrite.ok());
    EXPECT_EQ(afterWrite.error().number, 60002);
}
