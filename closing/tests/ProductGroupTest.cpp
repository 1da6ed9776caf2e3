#include "closing/As400Duplicates.h"
#include "closing/ClosingWindowLogic.h"
#include "closing/ProductGroupStatement.h"
#include "closing/tests/ClosingFixture.h"
#include "testsupport/TestFiles.h"

using namespace trv;
using trv::test::ClosingEnv;
using trv::test::ClosingTest;

namespace {

// Two group types, one per product of the first two companies; the third company has none.
const char* kGroups = "[TYPY]\r\nPocet=2\r\n"
                      "[TYP1]\r\nNazev=Cheque skupina\r\nDelka=22\r\nPozCastka=13\r\nDelkaCastka=5\r\nKoefCastka=1\r\n"
                      "GroupType=1\r\n"
                      "[TYP2]\r\nNazev=Sodexo skupina\r\nDelka=10\r\nPozCastka=7\r\nDelkaCastka=4\r\nKoefCastka=-10\r\n"
                      "GroupType=2\r\n";

class ProductGroupTest : public ClosingTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(TextFiles::writeBytes(env.folder / "TypStravGroup.ini", kGroups).ok());
        env.state.sw.gFSkupiny = true;
    }
    Result<GroupStatement> tally(const QString& chosen = {}, const PackageCounts& packages = {}) {
        return sectiSkupiny(env.state, env.prompts, env.clock, *env.types, chosen, packages);
    }
};

TEST_F(ProductGroupTest, ScreenStatementPerProduct) {
    const auto statement = tally();
    ASSERT_TRUE(statement.ok()) << statement.message().toStdString();
    const QString text = zobrazVycetkuSkupin(env.state, statement.value());
    // A repeated code is booked again into the group types, as into any collection that books stored codes.
    EXPECT_EQ(text, QStringLiteral("Cheque skupina\r\n"
                                   "Hodnota     Počet              Celkem\r\n"
                                   "  55,00         3           165,00 Kč\r\n"
                                   " 100,00         1           100,00 Kč\r\n"
                                   "_____________________________________\r\n"
                                   "Celková částka:             265,00 Kč\r\n"
                                   "Celkový počet:                   4 ks\r\n"
                                   "\r\n"
                                   "=====================================\r\n"
                                   "Celkem za produkt: Cheque Dejeuner\r\n"
                                   "Celková částka:             265,00 Kč\r\n"
                                   "Celkový počet:                   4 ks\r\n"
                                   "\r\n"
                                   "\r\n"
                                   "Sodexo skupina\r\n"
                                   "Hodnota     Počet              Celkem\r\n"
                                   "  50,00         1            50,00 Kč\r\n"
                                   "  55,50         1            55,50 Kč\r\n"
                                   " 100,00         2           200,00 Kč\r\n"
                                   "_____________________________________\r\n"
                                   "Celková částka:             305,50 Kč\r\n"
                                   "Celkový počet:                   4 ks\r\n"
                                   "\r\n"
                                   "=====================================\r\n"
                                   "Celkem za produkt: Sodexo Pass\r\n"
                                   "Celková částka:             305,50 Kč\r\n"
                                   "Celkový počet:                   4 ks\r\n"
                                   "\r\n"
                                   "\r\n"
                                   "=====================================\r\n"
                                   "Celkem za produkt: Ticket Restaurant Card\r\n"
                                   "Celková částka:               0,00 Kč\r\n"
                                   "Celkový počet:                   0 ks\r\n"
                                   "\r\n"
                                   "\r\n"
                                   "\r\n"
                                   "Celkem za všechny společnosti:\r\n"
                                   "Celková částka:             570,50 Kč\r\n"
                                   "Celkový počet:                   8 ks\r\n"));
    // The receipt itself is untouched.
    EXPECT_EQ(env.codesOf(env.che).size(), 6);
}

// A code no group type recognises is left out of the statement and told: in a box, or with switch 43 as a line
// of the program's error-log window.
TEST_F(ProductGroupTest, ACodeNoGroupRecognisesIsToldInTheErrorLogWithSwitch43) {
    const QString foreign = QStringLiteral("000000001234");
    env.book(env.tic, foreign);
    for (const bool switch43 : {false, true}) {
        SCOPED_TRACE(switch43);
        env.state.sw.gFChybyDoOkna = switch43;
        env.prompts = ScriptedPrompts();
        QStringList logged;
        const auto statement = sectiSkupiny(env.state, env.prompts, env.clock, *env.types, {}, {},
                                            [&](const QString& line) { logged.append(line); });
        ASSERT_TRUE(statement.ok()) << statement.message().toStdString();
        EXPECT_EQ(statement.value().count, 8);
        const QStringList& told = switch43 ? logged : env.prompts.texts();
        EXPECT_FALSE(told.isEmpty());
        EXPECT_TRUE(told.join(u'\n').contains(foreign)) << told.join(u'\n').toStdString();
        EXPECT_TRUE((switch43 ? env.prompts.texts() : logged).isEmpty());
    }
}

TEST_F(ProductGroupTest, ChosenProductAndPackageCounts) {
    // The group type's name in the combo chooses its product only.
    auto one = tally(QStringLiteral("Sodexo skupina"));
    ASSERT_TRUE(one.ok());
    ASSERT_EQ(one.value().products.size(), 1u);
    EXPECT_EQ(one.value().products[0].name, QStringLiteral("Sodexo Pass"));
    // Package mode: the period's package counts are taken off, a nominal only the package holds goes negative.
    const PackageCounts packages = [](qint64 position) -> std::vector<std::pair<QString, qint64>> {
        if (position == 2)
            return {{QStringLiteral("100"), 1}, {QStringLiteral("20"), 2}};
        return {};
    };
    auto withPackages = tally(QString(), packages);
    ASSERT_TRUE(withPackages.ok());
    const auto& sod = withPackages.value().products[1].types[0].tally;
    ASSERT_EQ(sod.lines.size(), 4u);
    EXPECT_EQ(sod.lines[0].text, QStringLiteral("20"));
    EXPECT_EQ(sod.lines[0].count, -2);
    EXPECT_EQ(sod.lines[3].count, 1);
    EXPECT_EQ(sod.count, 1);
}

TEST_F(ProductGroupTest, PrintedStatementAndTheClosingWindowLogic) {
    UkonceniPrijmu logic(env.state, env.receipt, env.prompts, env.clock, env.printer, {});
    // The first drawing is by group, later ones per company.
    const auto first = logic.vycetka(StatementChoice::allCompanies());
    ASSERT_TRUE(first.ok());
    EXPECT_TRUE(first.value().startsWith(QStringLiteral("Cheque skupina\r\n")));
    const auto second = logic.vycetka(StatementChoice::allCompanies());
    ASSERT_TRUE(second.ok());
    EXPECT_FALSE(second.value().startsWith(QStringLiteral("Cheque skupina")));

    env.prompts.queueAnswer(Prompts::Answer::Ok);
    logic.tiskSouctu(StatementChoice::allCompanies());
    ASSERT_EQ(env.printer.printed().size(), 1u);
    const QStringList lines = env.printer.printed().at(0).textLines();
    for (const char* expected :
         {"          Přehled součtů poukázek", "     Cheque skupina", "       55,00         3           165,00 Kč",
          "     Celková částka:             265,00 Kč", "     Celkový počet:                   4 ks",
          "     Celkem za produkt: Cheque Dejeuner", "     Celkem za všechny společnosti:", "     14.3.2026"}) {
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected << "\n" << lines.join(u'\n').toStdString();
    }
    EXPECT_EQ(env.prompts.texts().back(), QStringLiteral("Tisk součtů proběhl."));

    // With switch 16 the print of the groups ends with the EUR message.
    env.state.sw.gFEuro = true;
    env.writeConfig(QStringLiteral("kurzEuro=25\r\n"));
    env.prompts.queueAnswer(Prompts::Answer::Ok);
    logic.tiskSouctu(StatementChoice::allCompanies());
    EXPECT_EQ(env.prompts.texts().back(), QStringLiteral("Tisk součtů v EUR proběhl."));
}

TEST_F(ClosingTest, As400DuplicateSearchInTheAs400Folder) {
    const auto as400 = env.folder / "as400";
    // Code part = characters 2 to 10 of a code of the first company.
    ASSERT_TRUE(TextFiles::writeBytes(as400 / "260301001_1.400", "123456789<0000500<123456789<0011\r\n").ok());
    ASSERT_TRUE(TextFiles::writeBytes(as400 / "260302001_1.400", "999999999<x\r\n").ok());
    ASSERT_TRUE(TextFiles::writeBytes(as400 / "260303001_1.400", "xx555555555 and 987654321\r\n").ok());
    ASSERT_TRUE(TextFiles::writeBytes(env.folder / "data" / "260304001_1.400", "123456789\r\n").ok());
    const auto files = As400Duplicates::soubory(as400);
    ASSERT_TRUE(files.ok());
    EXPECT_EQ(files.value(), (QStringList{QStringLiteral("260301001_1.400"), QStringLiteral("260302001_1.400"),
                                          QStringLiteral("260303001_1.400")}));
    const QStringList parts = As400Duplicates::castiKodu(*env.types, env.state.gNoRead);
    EXPECT_EQ(parts, (QStringList{QStringLiteral("123456789"), QStringLiteral("987654321"), QStringLiteral("555555555"),
                                  QStringLiteral("123456789")}));
    const auto found = As400Duplicates::hledej(as400, files.value(), parts);
    ASSERT_TRUE(found.ok());
    QStringList hits;
    for (const auto& h : found.value().hits)
        hits << h.line();
    EXPECT_EQ(hits, (QStringList{
                        QStringLiteral("260301001_1.400 - 123456789"), QStringLiteral("260301001_1.400 - 123456789"),
                        QStringLiteral("260303001_1.400 - 987654321"), QStringLiteral("260303001_1.400 - 555555555")}));
    EXPECT_EQ(found.value().filesWithHits,
              (QStringList{QStringLiteral("260301001_1.400"), QStringLiteral("260303001_1.400")}));
    // A file that cannot be read stops the search with what was found before it.
    As400Duplicates::Result partial;
    EXPECT_FALSE(As400Duplicates::hledej(as400, {QStringLiteral("260301001_1.400"), QStringLiteral("missing.400")},
                                         parts, &partial)
                     .ok());
    EXPECT_EQ(partial.filesWithHits, QStringList{QStringLiteral("260301001_1.400")});
    EXPECT_EQ(As400Duplicates::vystup(QStringLiteral("Nalezené duplicity"), {}),
              (QStringList{QString(), QString(), QStringLiteral("Nalezené duplicity"),
                           QStringLiteral("******************"), QString()}));
    for (const char* bad : {"", "../x", "a/b", "a\\b", "a:b", "a?"})
        EXPECT_FALSE(As400Duplicates::chybaNazvu(QString::fromUtf8(bad)).isEmpty()) << bad;
    EXPECT_TRUE(As400Duplicates::chybaNazvu(QStringLiteral("duplicity březen")).isEmpty());
}

// An AS400 file whose name another machine wrote in Windows-1250 (0xE9, no valid UTF-8) is listed lossily and
// searched by its own bytes like any other.
TEST_F(ClosingTest, As400FileNamedInAnotherEncodingIsSearchedLikeAnyOther) {
    const auto as400 = env.folder / "as400";
    ASSERT_TRUE(TextFiles::writeBytes(as400 / "260301\xE9_1.400", "123456789<0000500\r\n").ok());
    const auto files = As400Duplicates::soubory(as400);
    ASSERT_TRUE(files.ok()) << files.message().toStdString();
    const QString shown = QStringLiteral("260301") + QChar(QChar::ReplacementCharacter) + QStringLiteral("_1.400");
    EXPECT_EQ(files.value(), QStringList{shown});
    const auto found =
        As400Duplicates::hledej(as400, files.value(), As400Duplicates::castiKodu(*env.types, env.state.gNoRead));
    ASSERT_TRUE(found.ok()) << found.message().toStdString();
    EXPECT_EQ(found.value().filesWithHits, QStringList{shown});
    trv::test::removeOddNames(as400);
}

} // namespace
