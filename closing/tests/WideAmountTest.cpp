#include "closing/CheckStatement.h"
#include "closing/CheckStatementPrint.h"
#include "closing/ClosingStatement.h"
#include "closing/PrintedStatement.h"
#include "closing/tests/ClosingFixture.h"

#include <algorithm>

using namespace trv;
using namespace trv::test;

// An amount as wide as its field or wider is shown whole and one blank after the count or text before it, in every
// statement of a receipt: "2 ks922 337 203 685 477,58 Kč" reads as one number.

namespace {

// Only Ticket Restaurant Card codes, one for each value, valued by a table.
void bookValues(ClosingEnv& env, const QStringList& values) {
    for (const auto& t : *env.types)
        t->Polozky = std::make_shared<CColPolozky>();
    env.tic->TabulkaHodnot = QStringLiteral("ticket.ini");
    env.tic->TabulkaHodnotDict = std::make_shared<ValueTable>();
    int n = 0;
    for (const QString& v : values) {
        const QString part = QStringLiteral("%1").arg(++n, 4, 10, QChar(u'0'));
        env.tic->TabulkaHodnotDict->add(part, v);
        env.book(env.tic, QStringLiteral("ABCDEFGH") + part);
    }
}

QStringList plain(const QString& text) {
    return QString(text).replace(QChar(0xA0), u' ').split(QStringLiteral("\r\n"));
}

// The values of a receipt: exactly as wide as the summary's amount (16), as a nominal line's amount (20), and the
// largest amount a receipt can hold, spread over two codes.
const QStringList kWidthOfTheSummary{QStringLiteral("10000000")};
const QStringList kWidthOfALine{QStringLiteral("99999999999")};
const QStringList kLargest{QStringLiteral("900000000000000"), QStringLiteral("22337203685477,5807")};

} // namespace

TEST_F(ClosingTest, AWideAmountOnScreenKeepsABlankFromTheCountBeforeIt) {
    const struct {
        QStringList values;
        QStringList lines; // in the closing window's statement and in the check statement alike
    } cases[] = {
        {kWidthOfTheSummary,
         {QStringLiteral("Ticket Restaurant :      1 ks 10 000 000,00 Kč"),
          QStringLiteral("Celkem            :      1 ks 10 000 000,00 Kč")}},
        {kWidthOfALine, {QStringLiteral("99999999999,00            1 99 999 999 999,00 Kč")}},
        {kLargest,
         {QStringLiteral("Ticket Restaurant :      2 ks 922 337 203 685 477,58 Kč"),
          QStringLiteral("Celkem            :      2 ks 922 337 203 685 477,58 Kč"),
          QStringLiteral("22337203685477,58            1 22 337 203 685 477,58 Kč"),
          QStringLiteral("900000000000000,00            1 900 000 000 000 000,00 Kč"),
          QStringLiteral("Celková částka:  922 337 203 685 477,58 Kč")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.values.join(u' ').toStdString());
        bookValues(env, c.values);
        const auto closing =
            zobrazVycetku(env.state, *env.types, env.receipt.zakaznik, StatementChoice::allCompanies());
        const auto check = zobrazKontrolniVycetku(env.state, *env.types);
        ASSERT_TRUE(closing.ok() && check.ok());
        for (const QString& line : c.lines) {
            EXPECT_TRUE(plain(closing.value()).contains(line)) << "closing window: " << line.toStdString();
            EXPECT_TRUE(plain(check.value()).contains(line)) << "check statement: " << line.toStdString();
        }
    }
}

TEST_F(ClosingTest, AWideAmountInPrintKeepsABlankFromTheCountBeforeIt) {
    const QString row = QStringLiteral("     99999999999,00         1 99 999 999 999,00 Kč");
    const QStringList largest{QStringLiteral("     22337203685477,58         1 22 337 203 685 477,58 Kč"),
                              QStringLiteral("     900000000000000,00         1 900 000 000 000 000,00 Kč"),
                              QStringLiteral("     Celková částka:  922 337 203 685 477,58 Kč")};
    const struct {
        QStringList values;
        QStringList printed;    // the closing window's print: amounts in 15 characters
        QStringList checkPrint; // the check statement's print: amounts in 20 characters
    } cases[] = {
        {{QStringLiteral("1000000")}, {QStringLiteral("     1000000,00         1 1 000 000,00 Kč")}, {}},
        {kWidthOfALine, {row}, {row}},
        {kLargest, largest, largest},
    };
    // Each line is one run of the page model, at the left edge: its indent and fields are blanks of the one
    // fixed-pitch font, so the text holds every position.
    const auto expectRuns = [](const PrintDocument& doc, const QStringList& lines, const char* print) {
        std::vector<const PrintRun*> runs;
        for (const auto& page : doc.pages)
            for (const auto& run : page.runs)
                runs.push_back(&run);
        for (const QString& line : lines) {
            const auto it = std::find_if(runs.begin(), runs.end(), [&](const PrintRun* r) {
                return QString(r->text).replace(QChar(0xA0), u' ') == line;
            });
            ASSERT_NE(it, runs.end()) << print << ": " << line.toStdString();
            EXPECT_EQ((*it)->x, 0);
            EXPECT_EQ((*it)->font.name, QStringLiteral("Courier New"));
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.values.join(u' ').toStdString());
        bookValues(env, c.values);
        Printer closing;
        ASSERT_TRUE(tiskniVycetku(closing, env.state, *env.types, env.receipt, StatementChoice::allCompanies(),
                                  env.clock.today())
                        .ok());
        ASSERT_TRUE(closing.endDoc().ok());
        expectRuns(closing.printed().at(0), c.printed, "printed statement");
        Printer check;
        ASSERT_TRUE(tiskniKontrolniVycetku(check, env.state, *env.types, env.receipt, env.clock.today()).ok());
        ASSERT_TRUE(check.endDoc().ok());
        expectRuns(check.printed().at(0), c.checkPrint, "check statement print");
    }
}
