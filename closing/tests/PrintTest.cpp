#include "closing/CheckStatementPrint.h"
#include "closing/PrintedStatement.h"
#include "closing/tests/ClosingFixture.h"

using namespace trv;
using namespace trv::test;

namespace {

QString rule(char c, int n) {
    return QString(n, QLatin1Char(c));
}

// The one run of the document whose text is exactly this.
const PrintRun* findRun(const PrintDocument& doc, const QString& text) {
    for (const auto& page : doc.pages) {
        for (const auto& run : page.runs) {
            if (run.text == text)
                return &run;
        }
    }
    return nullptr;
}

// Underlines cover the titles and column heads only, never the blanks that indent them: an underline running
// into the margin reads as a stray rule.
void expectNoUnderlinedIndent(const PrintDocument& doc) {
    for (const auto& page : doc.pages) {
        for (const auto& run : page.runs) {
            if (run.font.underline) {
                EXPECT_FALSE(run.text.startsWith(u' ')) << run.text.toStdString();
            }
        }
    }
}

} // namespace

TEST_F(ClosingTest, PrintedStatementOfAllCompanies) {
    const auto printed = tiskniVycetku(env.printer, env.state, *env.types, env.receipt, StatementChoice::allCompanies(),
                                       env.clock.today());
    ASSERT_TRUE(printed.ok() && printed.value());
    ASSERT_TRUE(env.printer.endDoc().ok());
    ASSERT_EQ(env.printer.printed().size(), 1u);
    const PrintDocument& doc = env.printer.printed()[0];
    ASSERT_EQ(doc.pages.size(), 1u);

    const QStringList expected{
        QStringLiteral("     Sběrna poukázek, Dlouhá 12, Praha"),
        QStringLiteral("     Číslo SM: 042"),
        QStringLiteral("     Přehled součtů poukázek"),
        QStringLiteral("          Cheque Dejeuner"),
        QStringLiteral("     Hodnota     Počet         Celkem"),
        QStringLiteral("       55,00         3      165,00 Kč"),
        QStringLiteral("      100,00         1      100,00 Kč"),
        QStringLiteral("     ") + rule('_', 32),
        QStringLiteral("     Celková částka:        265,00 Kč"),
        QStringLiteral("     Celkový počet:              4 ks"),
        QStringLiteral("          Sodexo Pass"),
        QStringLiteral("     Hodnota     Počet         Celkem"),
        QStringLiteral("       50,00         1       50,00 Kč"),
        QStringLiteral("       55,50         1       55,50 Kč"),
        QStringLiteral("      100,00         2      200,00 Kč"),
        QStringLiteral("     ") + rule('_', 32),
        QStringLiteral("     Celková částka:        305,50 Kč"),
        QStringLiteral("     Celkový počet:              4 ks"),
        QStringLiteral("          Ticket Restaurant Card"),
        QStringLiteral("Nebyly načteny žádné poukázky."),
        QStringLiteral("     Celkem za všechny společnosti:"),
        QStringLiteral("     Celková částka:        570,50 Kč"),
        QStringLiteral("     Celkový počet:              8 ks"),
        QStringLiteral("     14.3.2026"),
    };
    EXPECT_EQ(doc.textLines(), expected);

    // Three empty lines before the header; everything bold in Courier New; the title 16 points underlined, the
    // column heads underlined at 10.
    const int line = PrintMetrics::lineHeight(PrintFont{});
    EXPECT_EQ(doc.pages[0].runs.front().y, 3 * line);
    for (const auto& run : doc.pages[0].runs) {
        EXPECT_TRUE(run.font.bold) << run.text.toStdString();
        EXPECT_EQ(run.font.name, QStringLiteral("Courier New"));
    }
    const PrintRun* title = findRun(doc, QStringLiteral("Přehled součtů poukázek"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->font.size, 16.0);
    EXPECT_TRUE(title->font.underline);
    EXPECT_EQ(title->x, PrintMetrics::textWidth(QStringLiteral("     "), title->font));
    const PrintRun* heads = findRun(doc, QStringLiteral("Hodnota     Počet         Celkem"));
    ASSERT_NE(heads, nullptr);
    EXPECT_EQ(heads->font.size, 10.0);
    EXPECT_TRUE(heads->font.underline);
    EXPECT_EQ(heads->x, PrintMetrics::textWidth(QStringLiteral("     "), PrintFont{}));
    expectNoUnderlinedIndent(doc);
    // The SM line, an empty line and another before the title; two empty lines at 10 points after it.
    const PrintRun* sm = findRun(doc, QStringLiteral("     Číslo SM: 042"));
    ASSERT_NE(sm, nullptr);
    EXPECT_EQ(title->y, sm->y + 3 * line);
    const PrintRun* first = findRun(doc, QStringLiteral("          Cheque Dejeuner"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->y, title->y + PrintMetrics::lineHeight(title->font) + 2 * line);
}

TEST_F(ClosingTest, PrintedStatementOfOneCompanyInCustomerMode) {
    env.state.sw.gFZakaznik = true;
    env.state.sw.gFEuro = false;
    ZvolenyZakaznik& z = env.receipt.zakaznik;
    z.gZakNazev = QStringLiteral("Jídelna U Lípy");
    z.gZakIC = QStringLiteral("12345678");
    z.gZakCisloSpol[2] = QStringLiteral("SOD-991");

    const auto printed = tiskniVycetku(env.printer, env.state, *env.types, env.receipt,
                                       StatementChoice::company(QStringLiteral("Sodexo Pass"), 2), env.clock.today());
    ASSERT_TRUE(printed.ok() && printed.value());
    ASSERT_TRUE(env.printer.endDoc().ok());
    const PrintDocument& doc = env.printer.printed().at(0);
    const QString c(20, u' ');
    const QStringList expected{
        c + QStringLiteral("Sběrna poukázek, Dlouhá 12, Praha"),
        c + QStringLiteral("Kód partnera:   SOD-991"),
        c + QStringLiteral("IČ:             12345678"),
        c + QStringLiteral("Název:          Jídelna U Lípy"),
        c + QStringLiteral("Adresa:         "),
        c + QStringLiteral("Odpovídá:       "),
        c + QStringLiteral("Telefon:        "),
        // The company's name after 5 + 18 blanks, the 18 at 16 points.
        QStringLiteral("     ") + QString(18, u' ') + QStringLiteral("Sodexo Pass"),
        c + QStringLiteral("Přehled součtů poukázek"),
        c + QStringLiteral("Hodnota     Počet         Celkem"),
        c + QStringLiteral("  50,00         1       50,00 Kč"),
        c + QStringLiteral("  55,50         1       55,50 Kč"),
        c + QStringLiteral(" 100,00         2      200,00 Kč"),
        c + rule('_', 32),
        c + QStringLiteral("Celková částka:        305,50 Kč"),
        c + QStringLiteral("Celkový počet:              4 ks"),
        c, // the blanks of the totals line, ended by the footer
        c + QStringLiteral(".................                             ................."),
        c + QStringLiteral("     Razítko                                       Podpis"),
        c + QStringLiteral("Datum odevzdání: 14.3.2026"),
    };
    EXPECT_EQ(doc.textLines(), expected);
    const PrintRun* name = findRun(doc, QStringLiteral("Sodexo Pass"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->font.size, 16.0);
    EXPECT_TRUE(name->font.underline);
    PrintFont big;
    big.size = 16;
    EXPECT_EQ(name->x, PrintMetrics::textWidth(QString(5, u' '), PrintFont{}) +
                           PrintMetrics::textWidth(QString(18, u' '), big));
    expectNoUnderlinedIndent(doc);

    // A company chosen without any code prints nothing at all.
    const auto nothing =
        tiskniVycetku(env.printer, env.state, *env.types, env.receipt,
                      StatementChoice::company(QStringLiteral("Ticket Restaurant Card"), 3), env.clock.today());
    ASSERT_TRUE(nothing.ok());
    EXPECT_FALSE(nothing.value());
    EXPECT_FALSE(env.printer.hasOutput());
}

TEST_F(ClosingTest, PrintedStatementUsesTheEuroTexts) {
    env.state.sw.gFEuro = true;
    env.state.config.zapis(QStringLiteral("Data"), QStringLiteral("kurzEuro"), QStringLiteral("25")).ok();
    const auto printed = tiskniVycetku(env.printer, env.state, *env.types, env.receipt, StatementChoice::allCompanies(),
                                       env.clock.today());
    ASSERT_TRUE(printed.ok()) << printed.message().toStdString();
    ASSERT_TRUE(env.printer.endDoc().ok());
    const QStringList lines = env.printer.printed().at(0).textLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("     Přehled součtů poukázek v EUR")));
    EXPECT_TRUE(lines.contains(QStringLiteral("     Hodnota EUR Počet     Celkem EUR")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Nebyly načteny žádné poukázky v EUR.")));
    EXPECT_TRUE(lines.contains(QStringLiteral("     Celkem za všechny společnosti v EUR:")));
}

TEST(PrintedStatementHeaderTest, LongHeadersSplitAfterACommaOrBlankFromCharacter60) {
    const QString sixty(60, u'a');
    const QString withCommas =
        QString(29, u'b') + u',' + QString(35, u'c') + u',' + QStringLiteral(" ulice 12345678901");
    const struct {
        QString header;
        QStringList lines;
    } cases[] = {
        {sixty, {sixty}},
        {sixty + u'b', {QString(), sixty + u'b'}},
        {withCommas, {withCommas.left(66), QStringLiteral("ulice 12345678901")}},
        {QString(61, u'd') + QStringLiteral(" xyz"), {QString(61, u'd') + u' ', QStringLiteral("xyz")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header.toStdString());
        EXPECT_EQ(radkyHlavicky(c.header), c.lines);
    }
}

TEST_F(ClosingTest, PrintedCheckStatementOfAPackageInCustomerMode) {
    env.state.sw.gFBalicky = true;
    env.state.sw.gFZakaznik = true;
    env.state.gCisloBaliku = 4;
    env.receipt.zakaznik.gZakCislo = QStringLiteral("0815");
    env.receipt.zakaznik.gZakNazev = QStringLiteral("Jídelna U Lípy");
    env.receipt.zakaznik.gZakIC = QStringLiteral("12345678");

    ASSERT_TRUE(tiskniKontrolniVycetku(env.printer, env.state, *env.types, env.receipt, env.clock.today()).ok());
    ASSERT_TRUE(env.printer.endDoc().ok());
    const PrintDocument& doc = env.printer.printed().at(0);
    const QStringList expected{
        QStringLiteral("     Sběrna poukázek, Dlouhá 12, Praha"),
        QStringLiteral("     Zákazník: 0815"),
        QStringLiteral("     Název: Jídelna U Lípy"),
        QStringLiteral("     IČ: 12345678"),
        QStringLiteral("     Balíček číslo 4"),
        QStringLiteral("     Cheque Dejeuner"),
        QStringLiteral("     Hodnota     Počet              Celkem"),
        QStringLiteral("       55,00         3           165,00 Kč"),
        QStringLiteral("      100,00         1           100,00 Kč"),
        QStringLiteral("     ") + rule('_', 37),
        QStringLiteral("     Celková částka:             265,00 Kč"),
        QStringLiteral("     Celkový počet:               4 ks"),
        QStringLiteral("     Sodexo Pass"),
        QStringLiteral("     Hodnota     Počet              Celkem"),
        QStringLiteral("       50,00         1            50,00 Kč"),
        QStringLiteral("       55,50         1            55,50 Kč"),
        QStringLiteral("      100,00         2           200,00 Kč"),
        QStringLiteral("     ") + rule('_', 37),
        QStringLiteral("     Celková částka:             305,50 Kč"),
        QStringLiteral("     Celkový počet:               4 ks"),
        QStringLiteral("     Ticket Restaurant Card"),
        QStringLiteral("     Nebyly načteny žádné poukázky."),
        QStringLiteral("     Celkem za všechny typy poukázek:"),
        QStringLiteral("     Celková částka:             570,50 Kč"),
        QStringLiteral("     Celkový počet:               8 ks"),
        QStringLiteral("     14.3.2026"),
    };
    EXPECT_EQ(doc.textLines(), expected);

    // The package title: 16 points underlined after the five blanks at 10, and an empty line at 16 after it.
    const PrintRun* title = findRun(doc, QStringLiteral("Balíček číslo 4"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->font.size, 16.0);
    EXPECT_TRUE(title->font.underline);
    EXPECT_EQ(title->x, PrintMetrics::textWidth(QStringLiteral("     "), PrintFont{}));
    const PrintRun* first = findRun(doc, QStringLiteral("     Cheque Dejeuner"));
    ASSERT_NE(first, nullptr);
    const int line = PrintMetrics::lineHeight(PrintFont{});
    EXPECT_EQ(first->y, title->y + 2 * PrintMetrics::lineHeight(title->font) + 2 * line);
    expectNoUnderlinedIndent(doc);
}

TEST_F(ClosingTest, ALongCheckStatementContinuesOnTheNextPage) {
    // Sixty nominal values of one company do not fit on one page.
    for (int v = 1; v <= 60; ++v)
        env.book(env.tic, QStringLiteral("ABCDEFGH%1").arg(v, 4, 10, QChar(u'0')));
    ASSERT_TRUE(tiskniKontrolniVycetku(env.printer, env.state, *env.types, env.receipt, env.clock.today()).ok());
    ASSERT_TRUE(env.printer.endDoc().ok());
    const PrintDocument& doc = env.printer.printed().at(0);
    ASSERT_EQ(doc.pages.size(), 2u);
    EXPECT_TRUE(doc.pages[1].continued);
    EXPECT_EQ(doc.pages[1].runs.front().y, 0);
    for (const auto& page : doc.pages)
        EXPECT_LE(page.contentBottom(), doc.pageHeight);
    EXPECT_EQ(doc.pages[1].textLines().last(), QStringLiteral("     14.3.2026"));
}

TEST_F(ClosingTest, PrintedCheckStatementOfAReceiptNamesTheCashDeskAndTheTitle) {
    ASSERT_TRUE(tiskniKontrolniVycetku(env.printer, env.state, *env.types, env.receipt, env.clock.today()).ok());
    ASSERT_TRUE(env.printer.endDoc().ok());
    const PrintDocument& doc = env.printer.printed().at(0);
    const QStringList lines = doc.textLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(
        lines.mid(0, 4),
        (QStringList{QStringLiteral("     Sběrna poukázek, Dlouhá 12, Praha"), QStringLiteral("     Pokladna: 042"),
                     QStringLiteral("     Kontrolní výčetka"), QStringLiteral("     Cheque Dejeuner")}));
    const PrintRun* title = findRun(doc, QStringLiteral("Kontrolní výčetka"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->font.size, 16.0);
    // No empty line of its own after the title: the two empty lines at 10 points follow it.
    const PrintRun* first = findRun(doc, QStringLiteral("     Cheque Dejeuner"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->y, title->y + PrintMetrics::lineHeight(title->font) + 2 * PrintMetrics::lineHeight(PrintFont{}));
}
