#include "core/Recognition.h"

#include "VoucherFixture.h"

using namespace trv;
using trv::test::VoucherFixture;

namespace {

// Codes of the cheque layouts with correct check sums (numbers made up).
const QString kProductCba = QStringLiteral("250436431136123452011344");     // 24, marker "2" at 18, CBA number
const QString kProductCbaTop = QStringLiteral("250436530158123452011344");  // top of the same range
const QString kProductCheAbove = QStringLiteral("250436531312123452011344"); // one past it
const QString kProductCheBelow = QStringLiteral("250436430279123452011344"); // one below it
const QString kRemainder26Cba = QStringLiteral("24838356732123456712334459"); // 26, marker "2" at 20
const QString kRemainder26Che = QStringLiteral("24838356631123456712334459");
const QString kEuroProductCba = QStringLiteral("529068709389543211700512");  // EUR, not "0", marker "1" at 18
const QString kEuroZeroCba = QStringLiteral("034598026078123451130945");     // EUR, "0", marker "1" at 19
const QString kEuroZeroChe = QStringLiteral("034598026179123451130945");
const QString kProductDigit6 = QStringLiteral("407000000830123452011644"); // character 22 is "6"
const QString kProductDigit3 = QStringLiteral("407000000827123452011344");

QString name(const std::shared_ptr<CStrav>& t)
{
    return t ? t->Nazev : QStringLiteral("(none)");
}

} // namespace

TEST(CbaRanges, EdgesOfEveryRange)
{
    ASSERT_EQ(kCbaRanges.size(), 32u);
    EXPECT_EQ(kCbaRanges.front().from, 248383567);
    EXPECT_EQ(kCbaRanges.back().to, 529068709);
    for (const CbaRange& r : kCbaRanges) {
        SCOPED_TRACE(r.from);
        EXPECT_TRUE(CheckCBANumber(r.from));
        EXPECT_TRUE(CheckCBANumber(r.to));
        EXPECT_FALSE(CheckCBANumber(r.from - 1));
        EXPECT_FALSE(CheckCBANumber(r.to + 1));
    }
    EXPECT_TRUE(CheckCBANumber(250436500));
    EXPECT_FALSE(CheckCBANumber(0));
    EXPECT_FALSE(CheckCBANumber(999999999));
}

class NajdiDelkuTest : public VoucherFixture {
protected:
    void SetUp() override
    {
        VoucherFixture::SetUp();
        addType(QStringLiteral("Alfa stravenka"), 13, 13);
        addType(QStringLiteral("Beta poukázka"), 10, 14);
        addType(QStringLiteral("CBA šek"), 22, 22);
        addType(QStringLiteral("che šek"), 22, 22);
        addType(QStringLiteral("Gama karta"), 28, 0);
    }
};

TEST_F(NajdiDelkuTest, ByLengthWithTheChequeRefinement)
{
    state.sw.gFCBA = true;
    const QString tail = QStringLiteral("000000000000");
    struct Case {
        qint64 l;
        QString s;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {13, QStringLiteral("1234567890123"), "Alfa stravenka"},
        {10, QString(), "Beta poukázka"},
        {14, QString(), "Beta poukázka"}, // Delka2
        {22, QStringLiteral("0250436431") + tail, "CBA šek"},
        {22, QStringLiteral("0250436530") + tail, "CBA šek"},
        {22, QStringLiteral("0250436531") + tail, "che šek"}, // prefix compared in capitals
        {22, QStringLiteral("0250436430") + tail, "che šek"},
        {22, QStringLiteral("0248383567") + tail, "CBA šek"},
        {22, QStringLiteral("0529068710") + tail, "che šek"},
        {22, QString(), "CBA šek"}, // no code: by length only
        {32, QString(), "Gama karta"}, // no type of 32: the first of 28
        {99, QString(), "(none)"},
        {0, QString(), "(none)"}, // Gama has no second length: its 0 does not make the empty code a voucher
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s.toStdString() + " / " + std::to_string(c.l));
        const auto found = types->NajdiDelku(c.l, c.s);
        ASSERT_TRUE(found.ok()) << found.message().toStdString();
        EXPECT_EQ(name(found.value()), QString::fromUtf8(c.expected));
    }
}

TEST_F(NajdiDelkuTest, ChequeSwitchOffAndBadNumbers)
{
    const QString cheCode = QStringLiteral("0250436531000000000000");
    EXPECT_EQ(name(types->NajdiDelku(22, cheCode).value()), QStringLiteral("CBA šek")); // first of length 22

    state.sw.gFCBA = true;
    const auto bad = types->NajdiDelku(22, QStringLiteral("0ABC436531000000000000"));
    EXPECT_FALSE(bad.ok());
    EXPECT_TRUE(bad.message().contains(QStringLiteral("0ABC436531000000000000")));

    EXPECT_TRUE(types->ExistDelka(22));
    EXPECT_TRUE(types->ExistDelka(32));
    EXPECT_FALSE(types->ExistDelka(11));
    EXPECT_EQ(types->Najdi2Delku(10), 14);
    EXPECT_EQ(types->Najdi2Delku(11), 0);
    EXPECT_EQ(name(types->NajdiNazev(QStringLiteral("che šek"))), QStringLiteral("che šek"));
    EXPECT_EQ(types->NajdiNazev(QStringLiteral("CHE šek")), nullptr);
    EXPECT_EQ(types->pocetSpolecnosti(), 5);
}

class ChequeLayoutTest : public VoucherFixture {
protected:
    void SetUp() override
    {
        VoucherFixture::SetUp();
        // A cheque type in stage 2 too: list 1 holds the layout marker, and the check sums must pass.
        const auto cheque = [](const QString& marker) {
            return [marker](CStrav& t) {
                t.RozlisovaciCislo = marker;
                t.ObsahujeRC = 1;
                t.delka1PoziceRC1 = 18;
                t.delka2PoziceRC1 = 20;
                t.vydavatel = QStringLiteral("CHE");
            };
        };
        addType(QStringLiteral("Stravenka 24"), 20, 20);
        addType(QStringLiteral("CBA Dárkový šek"), 24, 26, cheque(QStringLiteral("1,2")));
        addType(QStringLiteral("CHE Dárkový šek"), 24, 26, cheque(QStringLiteral("1,2")));
        state.sw.gFCBA = true;
    }
};

TEST_F(ChequeLayoutTest, BlocksOfStageOne)
{
    struct Case {
        QString code;
        bool euro;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {kProductCba, false, "CBA Dárkový šek"},       // block B
        {kProductCbaTop, false, "CBA Dárkový šek"},
        {kProductCheAbove, false, "CHE Dárkový šek"},
        {kProductCheBelow, false, "CHE Dárkový šek"},
        {kRemainder26Cba, false, "CBA Dárkový šek"},   // block A, by Delka2
        {kRemainder26Che, false, "CHE Dárkový šek"},
        {kEuroProductCba, true, "CBA Dárkový šek"},    // block C
        {kEuroZeroCba, true, "CBA Dárkový šek"},       // block D, number at 2-10
        {kEuroZeroChe, true, "CHE Dárkový šek"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        state.sw.gFEuro = c.euro;
        EXPECT_EQ(name(types->NajdiDelkuKod(c.code)), QString::fromUtf8(c.expected));
    }
}

TEST_F(ChequeLayoutTest, FailedCheckSumsAreNotRecognised)
{
    QString broken = kProductCba;
    broken[11] = u'5'; // check number 135 instead of 136
    EXPECT_EQ(types->NajdiDelkuKod(broken), nullptr);

    QString broken26 = kRemainder26Cba;
    broken26[22] = u'0';
    EXPECT_EQ(types->NajdiDelkuKod(broken26), nullptr);

    // In EUR mode a 26-character code has no layout; a block-B code falls through to stage 2, where the
    // product layout still holds for a code not beginning with "0" and its marker is in list 1.
    state.sw.gFEuro = true;
    EXPECT_EQ(types->NajdiDelkuKod(kRemainder26Cba), nullptr);
    EXPECT_EQ(name(types->NajdiDelkuKod(kProductCheAbove)), QStringLiteral("CBA Dárkový šek"));
}

TEST_F(VoucherFixture, DistinguishingNumbersAreSearchedAsText)
{
    addType(QStringLiteral("Delta"), 13, 13, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("12, 345");
        t.PoziceRC = 2;
        t.ObsahujeRC = 1;
    });
    addType(QStringLiteral("Zeta"), 13, 13, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("77");
        t.PoziceRC = 1; // ObsahujeRC not given: the code must not carry these numbers
    });
    addType(QStringLiteral("Eta"), 13, 0);
    // A list with no position: the empty part counts as found, so the type never takes a code.
    addType(QStringLiteral("Lambda"), 11, 11, [](CStrav& t) { t.RozlisovaciCislo = QStringLiteral("5"); });
    addType(QStringLiteral("My"), 11, 11);

    const std::vector<std::pair<QString, const char*>> cases = {
        {QStringLiteral("0120000000000"), "Delta"},
        {QStringLiteral("0340000000000"), "Delta"}, // "34" occurs inside "345"
        {QStringLiteral("0450000000000"), "Delta"},
        {QStringLiteral("0, 0000000000"), "Delta"},  // width 2 from the first entry: ", " occurs too
        {QStringLiteral("0990000000000"), "Zeta"},
        {QStringLiteral("7790000000000"), "Eta"},
        {QStringLiteral("55555555555"), "My"},
        {QStringLiteral("123"), "(none)"},
        {QString(), "(none)"}, // Eta's second length is 0: still no type for the empty code
    };
    for (const auto& [code, expected] : cases) {
        SCOPED_TRACE(code.toStdString());
        EXPECT_EQ(name(types->NajdiDelkuKod(code)), QString::fromUtf8(expected));
    }
}

TEST_F(VoucherFixture, SecondAndThirdListsAndPositionsPerLength)
{
    // Length 14 uses the delka2 positions; list 2 must match, list 3 must not.
    addType(QStringLiteral("Theta"), 12, 14, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("5");
        t.ObsahujeRC = 1;
        t.delka1PoziceRC1 = 1;
        t.delka2PoziceRC1 = 2;
        t.RozlisovaciCislo2 = QStringLiteral("88");
        t.ObsahujeRC2 = 1;
        t.delka1PoziceRC2 = 3;
        t.delka2PoziceRC2 = 4;
        t.RozlisovaciCislo3 = QStringLiteral("9");
        t.ObsahujeRC3 = 0;
        t.delka1PoziceRC3 = 5;
        t.delka2PoziceRC3 = 6;
    });
    // Falls back to PoziceRC when the length's own position is -1; list 2 must not match.
    addType(QStringLiteral("Iota"), 12, 12, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("7");
        t.PoziceRC = 12;
        t.RozlisovaciCislo2 = QStringLiteral("1");
        t.ObsahujeRC2 = 0;
        t.delka1PoziceRC2 = 1;
        t.delka2PoziceRC2 = 1; // both lengths are 12: the delka2 positions are the ones used
    });
    addType(QStringLiteral("Kappa"), 12, 14);

    const std::vector<std::pair<QString, const char*>> cases = {
        {QStringLiteral("508800000000"), "Theta"},   // 12: 5 at 1, 88 at 3-4, no 9 at 5
        {QStringLiteral("508890000000"), "Iota"},    // 12: list 3 matches at 5
        {QStringLiteral("507800000000"), "Iota"},    // 12: list 2 does not match
        {QStringLiteral("05088000000000"), "Theta"}, // 14: 5 at 2, 88 at 4-5, no 9 at 6
        {QStringLiteral("50008800000000"), "Kappa"}, // 14: no 5 at 2
        {QStringLiteral("200000000000"), "Iota"},    // Iota: no 7 at 12 (PoziceRC), no 1 at 1
        {QStringLiteral("100000000000"), "Kappa"},   // Iota refused by list 2
        {QStringLiteral("200000000007"), "Kappa"},   // Iota refused by list 1
    };
    for (const auto& [code, expected] : cases) {
        SCOPED_TRACE(code.toStdString());
        EXPECT_EQ(name(types->NajdiDelkuKod(code)), QString::fromUtf8(expected));
    }
}

TEST_F(VoucherFixture, ListsThatMustMatchBesideAListThatMustNot)
{
    // List 1 must not match, list 2 must: an issuer's series told apart by what they lack and what they carry.
    addType(QStringLiteral("Omikron"), 12, 0, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("9");
        t.PoziceRC = 1;
        t.RozlisovaciCislo2 = QStringLiteral("44");
        t.ObsahujeRC2 = 1;
        t.delka1PoziceRC2 = 3;
    });
    // List 1 and list 3 must match; list 2 lies past the end of the code and is not tested at all.
    addType(QStringLiteral("Pi"), 12, 0, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("5");
        t.ObsahujeRC = 1;
        t.delka1PoziceRC1 = 1;
        t.RozlisovaciCislo2 = QStringLiteral("7");
        t.ObsahujeRC2 = 1;
        t.delka1PoziceRC2 = 20;
        t.RozlisovaciCislo3 = QStringLiteral("6");
        t.ObsahujeRC3 = 1;
        t.delka1PoziceRC3 = 12;
    });
    addType(QStringLiteral("Rho"), 12, 0);

    const std::vector<std::pair<QString, const char*>> cases = {
        {QStringLiteral("004400000000"), "Omikron"},
        {QStringLiteral("904400000000"), "Rho"}, // Omikron: 9 at 1
        {QStringLiteral("003300000000"), "Rho"}, // Omikron: no 44 at 3
        {QStringLiteral("500000000006"), "Pi"},
        {QStringLiteral("500000000007"), "Rho"}, // Pi: no 6 at 12
    };
    for (const auto& [code, expected] : cases) {
        SCOPED_TRACE(code.toStdString());
        EXPECT_EQ(name(types->NajdiDelkuKod(code)), QString::fromUtf8(expected));
    }
}

TEST_F(VoucherFixture, CustomerModeTakesTheLastTypeFirst)
{
    addType(QStringLiteral("První"), 13, 13);
    addType(QStringLiteral("Druhá"), 13, 13);
    const QString code = QStringLiteral("1234567890123");
    EXPECT_EQ(name(types->NajdiDelkuKod(code)), QStringLiteral("První"));
    state.sw.gFZakaznik = true;
    EXPECT_EQ(name(types->NajdiDelkuKod(code)), QStringLiteral("Druhá"));
}

TEST_F(VoucherFixture, ChequesOfOneLengthInTwoSeries)
{
    // Codes beginning with "0" look for a 0 at the delka1 position; the others use the delka2 positions with
    // the type's own list.
    addType(QStringLiteral("Šeky CHEQ"), 16, 16, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("4");
        t.ObsahujeRC = 1;
        t.PoziceRC = 16;
        t.delka1PoziceRC1 = 5;
        t.delka2PoziceRC1 = 3;
    });
    addType(QStringLiteral("Ostatní"), 16, 16);
    const std::vector<std::pair<QString, const char*>> cases = {
        {QStringLiteral("0111011111111111"), "Šeky CHEQ"}, // "0" at 5
        {QStringLiteral("0111111111111114"), "Ostatní"},    // no "0" at 5; PoziceRC is not used
        {QStringLiteral("1141111111111111"), "Šeky CHEQ"}, // "4" at 3
        {QStringLiteral("1111411111111114"), "Ostatní"},
    };
    for (const auto& [code, expected] : cases) {
        SCOPED_TRACE(code.toStdString());
        EXPECT_EQ(name(types->NajdiDelkuKod(code)), QString::fromUtf8(expected));
    }
}

TEST_F(VoucherFixture, ProductDigitSixGoesToSekservis)
{
    const auto marker = [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("2");
        t.ObsahujeRC = 1;
        t.delka1PoziceRC1 = 18;
        t.delka2PoziceRC1 = 18;
    };
    addType(QStringLiteral("CHE šek"), 24, 24, marker);
    addType(QStringLiteral("Sekservis poukaz"), 24, 24, marker);

    EXPECT_EQ(name(types->NajdiDelkuKod(kProductDigit3)), QStringLiteral("CHE šek"));
    EXPECT_EQ(name(types->NajdiDelkuKod(kProductDigit6)), QStringLiteral("Sekservis poukaz"));
    QString broken = kProductDigit6;
    broken[11] = u'1';
    EXPECT_EQ(types->NajdiDelkuKod(broken), nullptr); // neither takes a code whose check sums fail

    // In EUR mode the product digit of a 24-character code is its last character.
    state.sw.gFEuro = true;
    EXPECT_EQ(name(types->NajdiDelkuKod(kProductDigit6)), QStringLiteral("CHE šek"));
}

TEST_F(VoucherFixture, SekservisWithoutAChequeTypeNeedsDigitSix)
{
    addType(QStringLiteral("SEKSERVIS"), 24, 24, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("2");
        t.ObsahujeRC = 1;
        t.delka2PoziceRC1 = 18;
    });
    EXPECT_EQ(name(types->NajdiDelkuKod(kProductDigit6)), QStringLiteral("SEKSERVIS"));
    EXPECT_EQ(types->NajdiDelkuKod(kProductDigit3), nullptr);
}

TEST_F(VoucherFixture, TypeFoundForBooking)
{
    state.sw.gFCBA = true;
    addType(QStringLiteral("Alfa"), 22, 22);
    addType(QStringLiteral("CBA šek"), 22, 22);
    const QString cbaCode = QStringLiteral("0250436431000000000000");
    EXPECT_EQ(name(types->NajdiTypKodu(state.gNoRead).value()), QStringLiteral("Alfa"));
    EXPECT_EQ(name(types->NajdiTypKodu(cbaCode).value()), QStringLiteral("CBA šek")); // by length
    state.sw.gFRozpoznaniKodem = true;
    EXPECT_EQ(name(types->NajdiTypKodu(cbaCode).value()), QStringLiteral("Alfa")); // whole code: first of 22
}

TEST_F(VoucherFixture, PreparedRecognitionFollowsTheCollectionAndTheSwitches)
{
    // Several types of one length with and without a second length: the first (or, for a customer, the last)
    // that the code fits wins, as when every type was walked.
    addType(QStringLiteral("Prvni"), 10, 0);
    addType(QStringLiteral("Druha"), 12, 10);
    addType(QStringLiteral("Treti"), 10, 0, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("77");
        t.PoziceRC = 1;
        t.ObsahujeRC = 1;
    });
    addType(QStringLiteral("Ctvrta"), 11, 0);
    const QString code = QStringLiteral("7712345678");
    EXPECT_EQ(name(types->NajdiDelkuKod(code)), QStringLiteral("Prvni"));
    state.sw.gFZakaznik = true; // the same code under another switch is looked at again
    EXPECT_EQ(name(types->NajdiDelkuKod(code)), QStringLiteral("Treti"));
    EXPECT_EQ(name(types->NajdiDelkuKod(QStringLiteral("1212345678"))), QStringLiteral("Druha"));
    EXPECT_EQ(name(types->NajdiDelku(12, QString()).value()), QStringLiteral("Druha"));

    // Removing a type prepares again.
    ASSERT_TRUE(types->Remove(3));
    EXPECT_EQ(name(types->NajdiDelkuKod(code)), QStringLiteral("Druha"));

    // A type changed in place by the editor is seen once the collection is prepared again.
    types->Item(3)->Delka = 10;
    types->Item(3)->Nazev = QStringLiteral("Ctvrta nova");
    types->PripravRozpoznani();
    EXPECT_EQ(name(types->NajdiDelkuKod(code)), QStringLiteral("Ctvrta nova"));
    EXPECT_EQ(name(types->NajdiDelku(11, QString()).value()), QStringLiteral("(none)"));
}
