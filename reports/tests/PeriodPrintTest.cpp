#include "reports/tests/ReportsFixture.h"

#include "reports/PeriodPrint.h"
#include "summaries/PeriodLoader.h"
#include "summaries/StoredCodes.h"

using namespace trv;
using namespace trv::test;

namespace {

// A computed period: Alfa 200, 100, 100 and a NOREAD reading, Beta nothing, Gama 75,50.
PeriodState computed(ReportsEnv& env, bool groups) {
    PeriodState st;
    auto col = PeriodLoader(env.services()).novaKolekce(groups);
    EXPECT_TRUE(col.ok());
    st.m_col = std::move(col).value();
    StoredCodes& codes = *st.m_col.codes;
    const quint32 f = codes.addFile(QStringLiteral("240105_101_NOV_1.vyc"));
    codes.add(0, "2000000017", f, codes.valueIndex(Currency::fromInt(200)));
    codes.add(0, "1000000017", f, codes.valueIndex(Currency::fromInt(100)));
    codes.add(0, "1000000027", f, codes.valueIndex(Currency::fromInt(100)));
    codes.add(0, "NOREAD", f, StoredCodes::kNoRead);
    codes.add(2, "010000000001", f, codes.valueIndex(Currency::fromCents(7550)));
    st.m_obdobiNacteno = true;
    st.m_datumOd = QDate(2024, 1, 1);
    st.m_datumDo = QDate(2024, 1, 31);
    return st;
}

PrintDocument printed(ReportsEnv& env, const PeriodState& st, const PeriodPrintChoice& c, bool* summary = nullptr) {
    Printer printer;
    const bool s = tiskniPrehledObdobi(printer, env.state, env.clock, st, c);
    if (summary)
        *summary = s;
    EXPECT_TRUE(printer.endDoc().ok());
    return printer.printed().empty() ? PrintDocument() : printer.printed().back();
}

TEST(PeriodPrintTest, PerTypeAndNominalValue) {
    ReportsEnv env;
    const PeriodState st = computed(env, false);
    PeriodPrintChoice c;
    c.sm = QStringLiteral("101");
    const PrintDocument doc = printed(env, st, c);
    EXPECT_EQ(runsOf(doc), L({"5 10 B- Sběrna poukázek, Dlouhá 12",
                              "3 16 BU Přehled stravenek za období 01.01.2024 - 31.01.2024",
                              "5 10 B- Filtr SM: 101",
                              "5 10 B- Alfa Stravenka",
                              "5 10 BU Hodnota     Počet              Celkem",
                              "5 10 B-  100,00         2           200,00 Kč",
                              "5 10 B-  200,00         1           200,00 Kč",
                              "5 10 B- _____________________________________",
                              "5 10 B- Celková částka:             400,00 Kč",
                              "5 10 B- Celkový počet:                3 ks",
                              "5 10 B- Beta Poukazka",
                              "1 10 B- Nebyly načteny žádné stravenky.",
                              "5 10 B- Gama Jidlo",
                              "5 10 BU Hodnota     Počet              Celkem",
                              "5 10 B-   75,50         1            75,50 Kč",
                              "5 10 B- _____________________________________",
                              "5 10 B- Celková částka:              75,50 Kč",
                              "5 10 B- Celkový počet:                1 ks",
                              "5 10 B- Celkem za všechny typy stravenek:",
                              "5 10 B- Celková částka:             475,50 Kč",
                              "5 10 B- Celkový počet:                4 ks",
                              "5 10 B- 21.1.2015"}));
    expectWholeInPdf(doc, env.folder / "obdobi.pdf");

    // One type chosen: its block and the totals.
    c.allTypes = false;
    c.cmbStrav = QStringLiteral("Gama Jidlo");
    const QStringList lines = printed(env, st, c).textLines();
    EXPECT_EQ(lines.mid(3, 1), L({"    Gama Jidlo"}));
    EXPECT_EQ(lines.mid(lines.size() - 3, 2), L({"    Celková částka:              75,50 Kč", "    Celkový počet:                1 ks"}));
}

// A right-aligned field pads to its width, but a nominal, a count or an amount as wide as it or wider is printed
// whole, one blank after the field before it: "15000149 999 985 000,00 Kč" reads as one number.
TEST(PeriodPrintTest, NumbersAsWideAsTheirFieldOrWiderArePrintedWholeAfterABlank) {
    const struct {
        qint64 nominal;
        int codes;
        QStringList runs; // of Beta's block, from its first row to its count; column and size from the page model
    } cases[] = {
        {9999999, 15000,
         L({"5 10 B- 9999999,00     15000 149 999 985 000,00 Kč", "5 10 B- _____________________________________",
            "5 10 B- Celková částka:  149 999 985 000,00 Kč", "5 10 B- Celkový počet:              15000 ks"})},
        // An amount exactly as wide as its 20 characters.
        {99999999999, 1,
         L({"5 10 B- 99999999999,00         1 99 999 999 999,00 Kč", "5 10 B- _____________________________________",
            "5 10 B- Celková částka:  99 999 999 999,00 Kč", "5 10 B- Celkový počet:                1 ks"})},
        {1000000, 149999,
         L({"5 10 B- 1000000,00    149999 149 999 000 000,00 Kč", "5 10 B- _____________________________________",
            "5 10 B- Celková částka:  149 999 000 000,00 Kč", "5 10 B- Celkový počet:             149999 ks"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nominal);
        ReportsEnv env;
        PeriodState st = computed(env, false);
        StoredCodes& codes = *st.m_col.codes;
        const quint32 f = codes.addFile(QStringLiteral("240110_102_ABC_1.vyc"));
        const auto value = codes.valueIndex(Currency::fromInt(c.nominal));
        for (int i = 0; i < c.codes; ++i)
            codes.add(1, "9000000018", f, value);
        PeriodPrintChoice choice;
        choice.allTypes = false;
        choice.cmbStrav = QStringLiteral("Beta Poukazka");
        // Thousands are parted by a no-break space, as the regional forms give them.
        const QStringList runs = runsOf(printed(env, st, choice)).replaceInStrings(QChar(0xA0), QStringLiteral(" "));
        EXPECT_EQ(runs.mid(4, 4), c.runs);
    }
}

// A filter of blanks takes every SM, and its line is printed as the result pane shows it.
TEST(PeriodPrintTest, AnSmFilterOfBlanksHasItsFilterLine) {
    ReportsEnv env;
    PeriodPrintChoice c;
    c.sm = QStringLiteral("  ");
    const QStringList lines = printed(env, computed(env, false), c).textLines();
    EXPECT_EQ(lines.mid(2, 2), L({"    Filtr SM:   ", "    Alfa Stravenka"}));
    EXPECT_TRUE(lines.contains(QStringLiteral("    Celková částka:             400,00 Kč")));
}

TEST(PeriodPrintTest, DuplicateListingPrintedAsItStands) {
    ReportsEnv env;
    PeriodPrintChoice c;
    c.rtbText = QStringLiteral("Kontrola duplicit za období\r\nAlfa\r\n");
    bool summary = true;
    const PrintDocument doc = printed(env, computed(env, false), c, &summary);
    EXPECT_FALSE(summary);
    EXPECT_EQ(doc.textLines(), L({"Kontrola duplicit za období", "Alfa"}));
}

TEST(PeriodPrintTest, PerGroup) {
    ReportsEnv env;
    env.writeTypes(QStringLiteral("TypStravGroup.ini"), true); // Alfa and Gama group 1, Beta group 2
    env.state.sw.gFSkupiny = true;
    const PeriodState st = computed(env, true);
    PeriodPrintChoice c;
    c.dtDek = QDate(2024, 2, 5);
    c.allTypes = false;
    c.cmbStrav = QStringLiteral("Beta Poukazka");
    const PrintDocument doc = printed(env, st, c);
    EXPECT_EQ(doc.textLines().mid(1),
              L({"   Přehled stravenek k datu odvodu 05.02.2024",
                 "    Beta Poukazka",
                 "Nebyly načteny žádné stravenky.",
                 "    =====================================",
                 "    Celkem za produkt: Beta Poukazka",
                 "    Celková částka:               0,00 Kč",
                 "    Celkový počet:                0 ks",
                 "    Celkem za všechny typy stravenek:",
                 "    Celková částka:               0,00 Kč",
                 "    Celkový počet:                0 ks",
                 "    21.1.2015"}));
    c.allTypes = true;
    c.cmbStrav = QStringLiteral("Všechny stravenky");
    const QStringList all = printed(env, st, c).textLines();
    EXPECT_TRUE(all.contains(QStringLiteral("    Celkový počet:                3 ks ks")));
    EXPECT_TRUE(all.contains(QStringLiteral("    Celkem za produkt: Alfa Stravenka")));
    PeriodPrintChoice whole = c;
    Printer printer;
    tiskniPrehledObdobi(printer, env.state, env.clock, st, whole);
    ASSERT_TRUE(printer.endDoc().ok());
    expectWholeInPdf(printer.printed().back(), env.folder / "skupiny.pdf");
    EXPECT_EQ(all.mid(all.size() - 3, 2), L({"    Celková částka:             475,50 Kč", "    Celkový počet:                4 ks"}));
}

} // namespace
