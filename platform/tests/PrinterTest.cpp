#include "platform/Printer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace trv {
namespace {

// At 10 pt a character is 120 twips wide and a line 240 twips high; at 16 pt 192 and 384.
constexpr int kChar10 = 120;
constexpr int kLine10 = 240;
constexpr int kChar16 = 192;
constexpr int kLine16 = 384;

const PrintPage& lastPage(const Printer& printer) {
    return printer.document().pages.back();
}

TEST(PrinterTest, PrintEndsTheLineAndPrintContinuedStaysOnIt) {
    Printer printer;
    printer.printContinued(QStringLiteral("     "));
    EXPECT_EQ(printer.currentX(), 5 * kChar10);
    EXPECT_EQ(printer.currentY(), 0);
    printer.print(QStringLiteral("Firma"));
    EXPECT_EQ(printer.currentX(), 0);
    EXPECT_EQ(printer.currentY(), kLine10);
    printer.print();
    EXPECT_EQ(printer.currentY(), 2 * kLine10);
    printer.print(QStringLiteral("Datum"));

    // Adjacent text in the same font is one run; the empty line leaves only space.
    const std::vector<PrintRun> expected{
        {0, 0, QStringLiteral("     Firma"), PrintFont{}},
        {0, 2 * kLine10, QStringLiteral("Datum"), PrintFont{}},
    };
    EXPECT_EQ(lastPage(printer).runs, expected);
    EXPECT_EQ(printer.document().textLines(), QStringList({QStringLiteral("     Firma"), QStringLiteral("Datum")}));
}

TEST(PrinterTest, LineBreaksInsideTheTextEndLines) {
    Printer printer;
    // A title followed by CR LF leaves an empty line under it.
    printer.print(QStringLiteral("Balíček 12\r\n"));
    EXPECT_EQ(printer.currentY(), 2 * kLine10);
    printer.printContinued(QStringLiteral("a\nb"));
    EXPECT_EQ(printer.currentY(), 3 * kLine10);
    EXPECT_EQ(printer.currentX(), kChar10);
    EXPECT_EQ(printer.document().textLines(),
              QStringList({QStringLiteral("Balíček 12"), QStringLiteral("a"), QStringLiteral("b")}));
}

TEST(PrinterTest, TabMovesToTheColumnOfTheCurrentFont) {
    struct Case {
        const char* name;
        QString before; // printed without ending the line
        double size;
        int column;
        int x;
        int y;
    };
    const std::vector<Case> cases{
        {"from the left edge", {}, 10, 5, 4 * kChar10, 0},
        {"column 1 is the left edge", {}, 10, 1, 0, 0},
        {"a column below 1 is the left edge", {}, 10, 0, 0, 0},
        {"already at the column", QStringLiteral("abcd"), 10, 5, 4 * kChar10, 0},
        {"forward on the line", QStringLiteral("ab"), 10, 5, 4 * kChar10, 0},
        {"past the column: next line", QStringLiteral("abcdef"), 10, 5, 4 * kChar10, kLine10},
        {"column width of a larger font", {}, 16, 5, 4 * kChar16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Printer printer;
        printer.setFontSize(c.size);
        printer.printContinued(c.before);
        printer.tab(c.column);
        EXPECT_EQ(printer.currentX(), c.x);
        EXPECT_EQ(printer.currentY(), c.y);
    }
}

TEST(PrinterTest, TextAfterATabStartsAtTheColumn) {
    Printer printer;
    printer.tab(5);
    printer.print(QStringLiteral("Hlavička"));
    printer.setFontSize(16);
    printer.tab(3);
    printer.print(QStringLiteral("Přehled"));
    ASSERT_EQ(lastPage(printer).runs.size(), 2u);
    EXPECT_EQ(lastPage(printer).runs[0].x, 4 * kChar10);
    EXPECT_EQ(lastPage(printer).runs[1].x, 2 * kChar16);
    EXPECT_EQ(lastPage(printer).runs[1].y, kLine10);
    EXPECT_EQ(printer.document().textLines(),
              QStringList({QStringLiteral("    Hlavička"), QStringLiteral("  Přehled")}));
}

TEST(PrinterTest, ALineAdvancesByItsTallestFont) {
    Printer printer;
    // Blanks at 10 pt, then a 16 pt company name on the same line.
    printer.printContinued(QStringLiteral("     "));
    printer.setFontSize(16);
    printer.setUnderline(true);
    printer.print(QStringLiteral("Firma"));
    EXPECT_EQ(printer.currentY(), kLine16);

    // A large text whose line is ended after switching back to the small size.
    printer.printContinued(QStringLiteral("Titul"));
    printer.setFontSize(10);
    printer.setUnderline(false);
    printer.print();
    EXPECT_EQ(printer.currentY(), 2 * kLine16);

    printer.print();
    EXPECT_EQ(printer.currentY(), 2 * kLine16 + kLine10);
}

TEST(PrinterTest, RunsCarryTheirFont) {
    Printer printer;
    printer.setFontName(QStringLiteral("Courier New"));
    printer.setBold(true);
    printer.printContinued(QStringLiteral("     "));
    printer.setFontSize(16);
    printer.setUnderline(true);
    printer.print(QStringLiteral("Přehled"));
    printer.setFontSize(10);
    printer.setUnderline(false);
    printer.setItalic(true);
    printer.print(QStringLiteral("text"));

    const auto& runs = lastPage(printer).runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].font, (PrintFont{QStringLiteral("Courier New"), 10, true, false, false}));
    EXPECT_EQ(runs[1].font, (PrintFont{QStringLiteral("Courier New"), 16, true, false, true}));
    EXPECT_EQ(runs[1].x, 5 * kChar10);
    EXPECT_EQ(runs[2].font, (PrintFont{QStringLiteral("Courier New"), 10, true, true, false}));
    printer.setFontSize(0); // ignored
    EXPECT_EQ(printer.font().size, 10);
}

TEST(PrinterTest, ALineThatNoLongerFitsGoesToTheTopOfANewPage) {
    Printer printer;
    const int linesPerPage = Printer::kA4Height / kLine10; // 67
    for (int i = 1; i <= linesPerPage + 1; ++i) {
        printer.print(QStringLiteral("řádek %1").arg(i));
    }
    const auto& pages = printer.document().pages;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].runs.size(), size_t(linesPerPage));
    EXPECT_LE(pages[0].runs.back().y + kLine10, Printer::kA4Height);
    EXPECT_FALSE(pages[0].continued);
    EXPECT_TRUE(pages[1].continued);
    ASSERT_EQ(pages[1].runs.size(), 1u);
    EXPECT_EQ(pages[1].runs[0].y, 0);
    EXPECT_EQ(pages[1].runs[0].text, QStringLiteral("řádek %1").arg(linesPerPage + 1));
    EXPECT_EQ(printer.pageNumber(), 2);
    EXPECT_EQ(printer.currentY(), kLine10);
}

TEST(PrinterTest, EmptyLinesAtTheFootOfAPageDoNotStartOne) {
    Printer printer;
    printer.setCurrentY(Printer::kA4Height - kLine10);
    printer.print(QStringLiteral("poslední"));
    printer.print();
    printer.print();
    EXPECT_EQ(printer.pageNumber(), 1);
    // A larger font that does not fit where a small one would.
    printer.setCurrentY(Printer::kA4Height - kLine10);
    printer.setFontSize(16);
    printer.print(QStringLiteral("nadpis"));
    EXPECT_EQ(printer.pageNumber(), 2);
    EXPECT_EQ(lastPage(printer).runs.at(0).y, 0);
}

TEST(PrinterTest, ALineWiderThanThePageIsKeptWhole) {
    Printer printer;
    const QString wide(200, QLatin1Char('x'));
    printer.print(wide);
    ASSERT_EQ(lastPage(printer).runs.size(), 1u);
    EXPECT_EQ(lastPage(printer).runs[0].text, wide);
    EXPECT_GT(printer.document().contentWidth(), printer.scaleWidth());
}

TEST(PrinterTest, NewPageStartsAtTheTopAndKeepsTheFont) {
    Printer printer;
    printer.setFontSize(12);
    printer.printContinued(QStringLiteral("a"));
    printer.newPage();
    EXPECT_EQ(printer.currentX(), 0);
    EXPECT_EQ(printer.currentY(), 0);
    EXPECT_EQ(printer.pageNumber(), 2);
    EXPECT_FALSE(lastPage(printer).continued);
    printer.print(QStringLiteral("b"));
    EXPECT_EQ(lastPage(printer).runs.at(0).font.size, 12);
}

TEST(PrinterTest, LinesMoveThePositionAndPicturesMustBeReadable) {
    Printer printer;
    printer.print(QStringLiteral("řádek"));
    const int y = printer.currentY();
    printer.drawLine(430, y, 6230, y);
    EXPECT_EQ(printer.currentX(), 6230);
    EXPECT_EQ(printer.currentY(), y);
    printer.drawLine(1700, y - 450, 1700, y, 0xff0000);
    EXPECT_EQ(lastPage(printer).rules.back(), (PrintRule{1700, y - 450, 1700, y, 0xff0000}));

    QTemporaryDir dir;
    const std::filesystem::path missing = std::filesystem::path(dir.path().toStdU16String()) / "Doreviz.bmp";
    const Status drawn = printer.drawPicture(missing, 250, 250, 1800, 1800);
    EXPECT_FALSE(drawn.ok());
    EXPECT_TRUE(drawn.message().contains(QStringLiteral("Doreviz.bmp")));
    EXPECT_TRUE(drawn.message().contains(QStringLiteral("soubor nebo složka neexistuje")))
        << drawn.message().toStdString();
    EXPECT_TRUE(lastPage(printer).pictures.empty());
}

TEST(PrinterTest, EndDocHandsOverTheJobAndStartsAfresh) {
    Printer printer;
    printer.setTitle(QStringLiteral("Výčetka"));
    printer.setCopies(3);
    printer.setOrientation(PageOrientation::Landscape);
    EXPECT_EQ(printer.scaleWidth(), Printer::kA4Height);
    printer.setBold(true);
    printer.setFontSize(16);
    printer.print(QStringLiteral("text"));
    const Result<PrintOutcome> outcome = printer.endDoc();
    ASSERT_TRUE(outcome.ok());
    EXPECT_TRUE(outcome.value().sent);

    ASSERT_EQ(printer.printed().size(), 1u);
    const PrintDocument& job = printer.printed().front();
    EXPECT_EQ(job.title, QStringLiteral("Výčetka"));
    EXPECT_EQ(job.copies, 3);
    EXPECT_EQ(job.orientation, PageOrientation::Landscape);
    EXPECT_EQ(job.pageWidth, Printer::kA4Height);
    EXPECT_EQ(job.textLines(), QStringList{QStringLiteral("text")});

    // The next job starts from the defaults.
    EXPECT_EQ(printer.font(), PrintFont{});
    EXPECT_EQ(printer.copies(), 1);
    EXPECT_EQ(printer.orientation(), PageOrientation::Portrait);
    EXPECT_EQ(printer.currentY(), 0);
    EXPECT_FALSE(printer.hasOutput());
}

TEST(PrinterTest, CopiesAreAtLeastOne) {
    Printer printer;
    printer.setCopies(0);
    EXPECT_EQ(printer.copies(), 1);
    printer.setCopies(-4);
    EXPECT_EQ(printer.copies(), 1);
    printer.setCopies(2);
    EXPECT_EQ(printer.copies(), 2);
}

TEST(PrinterTest, AJobWithoutOutputSendsNothing) {
    Printer printer;
    printer.setFontSize(16); // settings alone are no output
    const Result<PrintOutcome> outcome = printer.endDoc();
    ASSERT_TRUE(outcome.ok());
    EXPECT_FALSE(outcome.value().sent);
    EXPECT_TRUE(printer.printed().empty());

    // An empty line is output: the job is a blank page.
    printer.print();
    EXPECT_TRUE(printer.endDoc().value().sent);
    ASSERT_EQ(printer.printed().size(), 1u);
    EXPECT_EQ(printer.printed().front().pages.size(), 1u);
}

TEST(PrinterTest, KillDocDropsTheJob) {
    Printer printer;
    printer.print(QStringLiteral("zahodit"));
    printer.killDoc();
    EXPECT_FALSE(printer.endDoc().value().sent);
    EXPECT_TRUE(printer.printed().empty());
}

class RecordingSpooler final : public PrintSpooler {
public:
    Result<PrintOutcome> spool(const PrintDocument& document) override {
        jobs.push_back(document);
        if (failure) {
            return *failure;
        }
        return PrintOutcome{true, std::filesystem::path("tisk/a.pdf")};
    }
    std::vector<PrintDocument> jobs;
    std::optional<Error> failure;
};

TEST(PrinterTest, ASpoolerTakesTheJobAndItsAnswerIsReturned) {
    RecordingSpooler spooler;
    Printer printer(&spooler);
    printer.print(QStringLiteral("a"));
    const Result<PrintOutcome> outcome = printer.endDoc();
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.value().pdfFile, std::filesystem::path("tisk/a.pdf"));
    EXPECT_EQ(spooler.jobs.size(), 1u);
    EXPECT_TRUE(printer.printed().empty());

    spooler.failure = Error{0, QStringLiteral("Tiskárna neodpovídá.")};
    printer.print(QStringLiteral("b"));
    const Result<PrintOutcome> failed = printer.endDoc();
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.message(), QStringLiteral("Tiskárna neodpovídá."));
    EXPECT_FALSE(printer.hasOutput());
}

} // namespace
} // namespace trv
