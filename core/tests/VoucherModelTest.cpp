#include "core/CColPolozky.h"
#include "core/CColStrav.h"
#include "core/CColVycet.h"

#include "VoucherFixture.h"

using namespace trv;
using trv::test::VoucherFixture;

namespace {

std::shared_ptr<CPolozka> code(const QString& kod, const QString& dataFile = {})
{
    auto c = std::make_shared<CPolozka>();
    c->Kod = kod;
    c->dataFile = dataFile;
    return c;
}

QStringList kody(const CColPolozky& col)
{
    QStringList list;
    for (const auto& c : col)
        list << c->Kod;
    return list;
}

} // namespace

TEST(CColPolozky, KeyedAddRefusesDuplicatesInAnyLetterCase)
{
    CColPolozky col;
    EXPECT_TRUE(col.Add(code(QStringLiteral("A1")), QStringLiteral("A1")));
    EXPECT_FALSE(col.Add(code(QStringLiteral("a1")), QStringLiteral("a1")));
    EXPECT_TRUE(col.Add(code(QStringLiteral("B2"))));
    EXPECT_TRUE(col.Add(code(QStringLiteral("B2")))); // without a key a code may repeat
    EXPECT_EQ(col.count(), 3);
    EXPECT_EQ(kody(col), QStringList({QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("B2")}));

    EXPECT_EQ(col.Item(QStringLiteral("a1"))->Kod, QStringLiteral("A1"));
    EXPECT_EQ(col.Item(2)->Kod, QStringLiteral("B2"));
    EXPECT_EQ(col.Item(0), nullptr);
    EXPECT_EQ(col.Item(4), nullptr);
    EXPECT_EQ(col.Item(QStringLiteral("zz")), nullptr);

    EXPECT_TRUE(col.Remove(QStringLiteral("A1")));
    EXPECT_FALSE(col.Remove(QStringLiteral("A1")));
    EXPECT_TRUE(col.Add(code(QStringLiteral("A1")), QStringLiteral("A1"))); // the key is free again
    EXPECT_TRUE(col.Remove(1));
    EXPECT_FALSE(col.Remove(9));
    EXPECT_EQ(kody(col), QStringList({QStringLiteral("B2"), QStringLiteral("A1")}));
}

TEST(CColPolozky, SmazRemovesTheFirstExactMatchOnly)
{
    CColPolozky col;
    for (const char* kod : {"111", "222", "111", "abc"})
        col.Add(code(QString::fromLatin1(kod)));
    EXPECT_TRUE(col.Smaz(QStringLiteral("111")));
    EXPECT_EQ(kody(col), QStringList({QStringLiteral("222"), QStringLiteral("111"), QStringLiteral("abc")}));
    EXPECT_FALSE(col.Smaz(QStringLiteral("ABC"))); // codes compare exactly
    EXPECT_FALSE(col.Smaz(QStringLiteral("333")));
}

TEST_F(VoucherFixture, DuplicatesGoToTheirCollectionAndTheLog)
{
    CColPolozky col;
    const auto log = types->duplicityLog();
    ASSERT_TRUE(col.AddDuplicityCheck(code(QStringLiteral("123"), QStringLiteral("260301_5_1.txt")),
                                      QStringLiteral("123"), log).ok());
    ASSERT_TRUE(col.AddDuplicityCheck(code(QStringLiteral("123"), QStringLiteral("260302_5_1.txt")),
                                      QStringLiteral("123"), log).ok());
    ASSERT_TRUE(col.AddDuplicityCheck(code(QStringLiteral("456"), QStringLiteral("260302_5_1.txt")),
                                      QStringLiteral("456"), log).ok());
    ASSERT_TRUE(col.AddDuplicityCheck(code(QStringLiteral("123"), QStringLiteral("260303_5_1.txt")),
                                      QStringLiteral("123"), log).ok());
    EXPECT_EQ(col.count(), 2);
    ASSERT_EQ(col.colDuplicity.size(), 2u);
    EXPECT_EQ(col.colDuplicity[1]->dataFile, QStringLiteral("260303_5_1.txt"));
    EXPECT_EQ(readFile(QStringLiteral("Duplicity.log")),
              QStringLiteral("123/t/t260302_5_1.txt\r\n123/t/t260303_5_1.txt\r\n"));

    // A log that cannot be written is reported; the refused code is in colDuplicity all the same.
    std::filesystem::create_directory(folder / "blocked.log");
    const Status failed = col.AddDuplicityCheck(code(QStringLiteral("456")), QStringLiteral("456"),
                                                folder / "blocked.log");
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(col.colDuplicity.size(), 3u);
}

TEST(CColVycet, LinesAreMadeOnFirstLookupAndKeepThatOrder)
{
    CColVycet vycet;
    vycet.Item(QStringLiteral("80"))->Pocet += 1;
    vycet.Item(QStringLiteral("75,5"))->Pocet += 1;
    vycet.Item(QStringLiteral("80"))->Pocet += 1;
    EXPECT_EQ(vycet.count(), 2);
    EXPECT_EQ(vycet.Item(1)->Hodnota, QStringLiteral("80"));
    EXPECT_EQ(vycet.Item(1)->Pocet, 2);
    EXPECT_EQ(vycet.Item(2)->Hodnota, QStringLiteral("75,5"));
    EXPECT_EQ(vycet.Item(3), nullptr);

    const auto fresh = vycet.Item(QStringLiteral("100"));
    EXPECT_EQ(fresh->Pocet, 0);
    EXPECT_EQ(fresh->Hodnota, QStringLiteral("100"));
    EXPECT_EQ(vycet.count(), 3);

    EXPECT_FALSE(vycet.Add(std::make_shared<CPolVycet>(QStringLiteral("80")), QStringLiteral("80")).ok());
    EXPECT_TRUE(vycet.Add(std::make_shared<CPolVycet>(QStringLiteral("50")), QStringLiteral("50")).ok());
    EXPECT_TRUE(vycet.Remove(QStringLiteral("75,5")));
    EXPECT_TRUE(vycet.Remove(1));
    QStringList order;
    for (const auto& line : vycet)
        order << line->Hodnota;
    EXPECT_EQ(order, QStringList({QStringLiteral("100"), QStringLiteral("50")}));
}

class SumsTest : public VoucherFixture {
protected:
    void SetUp() override
    {
        VoucherFixture::SetUp();
        const auto valueAt1 = [](CStrav& t) {
            t.PozCastka = 1;
            t.DelkaCastka = 4;
            t.KoefCastka = -100; // "1250" is 12.50
        };
        alfa = addType(QStringLiteral("  Alfa stravenka "), 8, 0, valueAt1);
        beta = addType(QStringLiteral("Beta"), 9, 0, valueAt1);
        alfa2 = addType(QStringLiteral("  Alfa stravenka "), 10, 0, valueAt1);
    }
    std::shared_ptr<CStrav> alfa, beta, alfa2;
};

TEST_F(SumsTest, TypeSumsSkipNoReadAndUseADecimalPoint)
{
    EXPECT_EQ(alfa->hodnotaStravenek().value(), QStringLiteral("0.00"));
    book(alfa, state.gNoRead);
    EXPECT_EQ(alfa->hodnotaStravenek().value(), QStringLiteral("0.00"));
    book(alfa, QStringLiteral("12500001"));
    book(alfa, QStringLiteral("80000002"));
    EXPECT_EQ(alfa->hodnotaStravenek().value(), QStringLiteral("92.50"));
    EXPECT_EQ(alfa->sumaStravenek, Currency()); // computed afresh, not stored
    EXPECT_EQ(alfa->nactiSoucetStravenek().value(), *Currency::parse(u"92.5"));
    EXPECT_EQ(alfa->sumaStravenek, *Currency::parse(u"92.5"));
    EXPECT_EQ(alfa->PoradiSpolecnosti, 1);

    book(beta, QStringLiteral("X"));
    EXPECT_FALSE(beta->nactiSoucetStravenek().ok()); // a code without a number in its value field
}

TEST_F(SumsTest, GetStrSumShowsTheSumsLastComputed)
{
    CColStrav empty(state, prompts, clock);
    EXPECT_EQ(empty.GetStrSum(), QString());

    book(alfa, QStringLiteral("99990001"));
    book(alfa, QStringLiteral("50010001"));
    EXPECT_EQ(types->GetStrSum(), QStringLiteral("    Alfa = 0,00    Beta = 0,00    Alfa = 0,00"));
    ASSERT_TRUE(types->nactiSouctyStravenek().ok());
    EXPECT_EQ(types->GetStrSum(), QStringLiteral("    Alfa = 150,00    Beta = 0,00    Alfa = 0,00"));
    alfa->Polozky->Smaz(QStringLiteral("99990001"));
    EXPECT_EQ(types->GetStrSum(), QStringLiteral("    Alfa = 150,00    Beta = 0,00    Alfa = 0,00"));
}

TEST_F(SumsTest, DeletionByCodeAndByNominalValue)
{
    book(alfa, QStringLiteral("12500001"));
    book(alfa, state.gNoRead);
    book(alfa, QStringLiteral("12500002"));
    book(alfa, QStringLiteral("08000001"));
    book(beta, QStringLiteral("125000001"));
    book(alfa2, QStringLiteral("1250000001"));

    // One code: the first match in type order, then code order.
    EXPECT_TRUE(types->SmazJedenNominal(QStringLiteral("12,50"), QStringLiteral("  Alfa stravenka ")).value());
    EXPECT_EQ(kody(*alfa->Polozky), QStringList({state.gNoRead, QStringLiteral("12500002"), QStringLiteral("08000001")}));

    // Every code of every type of that name.
    EXPECT_TRUE(types->SmazNominal(QStringLiteral("12.50"), QStringLiteral("  Alfa stravenka ")).value());
    EXPECT_EQ(kody(*alfa->Polozky), QStringList({state.gNoRead, QStringLiteral("08000001")}));
    EXPECT_EQ(alfa2->Polozky->count(), 0);
    EXPECT_EQ(beta->Polozky->count(), 1);
    EXPECT_FALSE(types->SmazNominal(QStringLiteral("12,50"), QStringLiteral("  Alfa stravenka ")).value());
    EXPECT_FALSE(types->SmazJedenNominal(QStringLiteral("8"), QStringLiteral("Alfa stravenka")).value());
    EXPECT_TRUE(types->SmazJedenNominal(QStringLiteral("8"), QStringLiteral("  Alfa stravenka ")).value());

    // By code: the type comes from the whole-code recognition.
    EXPECT_TRUE(types->SmazStravenku(QStringLiteral("125000001")));
    EXPECT_FALSE(types->SmazStravenku(QStringLiteral("125000001")));
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_FALSE(types->SmazStravenku(QStringLiteral("1")));
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral(" Stravenka nebyla rozpoznána!"));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
}

TEST_F(VoucherFixture, TypesByPositionAndKey)
{
    const auto a = addType(QStringLiteral("A"), 8, 0);
    const auto b = addType(QStringLiteral("B"), 9, 0);
    EXPECT_EQ(types->Item(1), a);
    EXPECT_EQ(types->Item(3), nullptr);
    EXPECT_EQ(a->context(), &types->context());

    auto keyed = std::make_shared<CStrav>();
    EXPECT_TRUE(types->Add(keyed, QStringLiteral("Klíč")).ok());
    EXPECT_FALSE(types->Add(std::make_shared<CStrav>(), QStringLiteral("KLÍČ")).ok());
    EXPECT_EQ(types->Item(QStringLiteral("klíč")), keyed);

    EXPECT_TRUE(types->Remove(1));
    EXPECT_EQ(types->Item(1), b);
    EXPECT_TRUE(types->Remove(QStringLiteral("KLÍČ")));
    EXPECT_FALSE(types->Remove(5));
    EXPECT_EQ(types->count(), 1);
}

TEST(CStrav, VratDuplMovesTheSecondCollection)
{
    CStrav t;
    t.Polozky->Add(code(QStringLiteral("1")), QStringLiteral("1"));
    t.DuplPol->Add(code(QStringLiteral("1")));
    t.DuplPol->Add(code(QStringLiteral("2")));
    t.VratDupl();
    EXPECT_EQ(kody(*t.Polozky), QStringList({QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(t.DuplPol->count(), 0);
}
