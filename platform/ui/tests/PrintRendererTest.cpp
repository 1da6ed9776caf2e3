#include "platform/ui/PrintRenderer.h"
#include "platform/SystemErrors.h"
#include "platform/TextFiles.h"
#include "platform/tests/TempFolderTest.h"

#include <QPageLayout>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace trv {
namespace {

std::filesystem::path pathOf(const QString& s) {
    return std::filesystem::path(s.toStdU16String());
}

QString toolOutput(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << tool.toStdString() << " did not finish";
    EXPECT_EQ(process.exitCode(), 0) << QString::fromUtf8(process.readAllStandardError()).toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const std::filesystem::path& pdf) {
    return toolOutput(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                       QString::fromStdU16String(pdf.u16string()), QStringLiteral("-")});
}

// Pages and the size of the first page in points, from pdfinfo.
struct PdfInfo {
    int pages = 0;
    double width = 0;
    double height = 0;
};

PdfInfo pdfInfo(const std::filesystem::path& pdf) {
    const QString info = toolOutput(QStringLiteral("pdfinfo"), {QString::fromStdU16String(pdf.u16string())});
    PdfInfo result;
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    EXPECT_TRUE(pages.hasMatch() && size.hasMatch()) << info.toStdString();
    result.pages = pages.captured(1).toInt();
    result.width = size.captured(1).toDouble();
    result.height = size.captured(2).toDouble();
    return result;
}

PrintDocument statement(int copies) {
    Printer printer;
    printer.setTitle(QStringLiteral("Výčetka"));
    printer.setCopies(copies);
    printer.setBold(true);
    printer.print();
    printer.tab(5);
    printer.print(QStringLiteral("Stravenky s.r.o., Dlouhá 12, Praha"));
    printer.printContinued(QStringLiteral("     "));
    printer.setFontSize(16);
    printer.setUnderline(true);
    printer.print(QStringLiteral("Přehled výčetky"));
    printer.setFontSize(10);
    printer.setUnderline(false);
    printer.drawLine(430, printer.currentY(), 6230, printer.currentY());
    printer.tab(5);
    printer.printContinued(QStringLiteral("Datum"));
    printer.tab(35);
    printer.print(QStringLiteral("Razítko a podpis"));
    printer.newPage();
    printer.print(QStringLiteral("Celkem za všechny typy"));
    EXPECT_TRUE(printer.endDoc().ok());
    return printer.printed().back();
}

TEST(PrintRendererTest, APdfHoldsTheTextsOfEveryPageAndCopy) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto pdf = pathOf(dir.filePath(QStringLiteral("vycetka.pdf")));
    ASSERT_TRUE(PrintRenderer::renderToPdf(statement(2), pdf).ok());

    const QString text = pdfText(pdf);
    for (const QString& expected : {QStringLiteral("Stravenky s.r.o., Dlouhá 12, Praha"),
                                    QStringLiteral("Přehled výčetky"), QStringLiteral("Celkem za všechny typy")}) {
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << " missing from\n" << text.toStdString();
    }
    // Text after a tab stays on its line, to the right of what precedes it.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Datum +Razítko a podpis")))) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("Přehled výčetky")), 2);

    const PdfInfo info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 4); // two pages, two copies
    EXPECT_LT(info.width, info.height);
}

TEST(PrintRendererTest, AWideLineTurnsThePageAndIsNotCut) {
    QString wide;
    for (int i = 1; i <= 40; ++i) {
        wide += QStringLiteral("S%1 ").arg(i, 3, 10, QLatin1Char('0')); // 200 characters in all
    }
    Printer printer;
    printer.print(QStringLiteral("Souhrn za období"));
    printer.print(wide);
    ASSERT_TRUE(printer.endDoc().ok());
    const PrintDocument& document = printer.printed().back();

    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(6.35, 6.35, 6.35, 6.35),
                         QPageLayout::Millimeter);
    const PageFit fit = PrintRenderer::fitFor(document, a4);
    EXPECT_EQ(fit.orientation, PageOrientation::Landscape);
    EXPECT_LT(fit.scale, 1.0);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto pdf = pathOf(dir.filePath(QStringLiteral("souhrn.pdf")));
    ASSERT_TRUE(PrintRenderer::renderToPdf(document, pdf).ok());
    const PdfInfo info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_GT(info.width, info.height);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("S001 S002"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("S039 S040"))) << text.toStdString();
}

struct WordBox {
    double left = 0;
    double right = 0;
};

// The boxes of every word that reads `word`, in points, in page order.
std::vector<WordBox> wordBoxes(const std::filesystem::path& pdf, const QString& word) {
    const QString html = toolOutput(QStringLiteral("pdftotext"),
                                    {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                     QString::fromStdU16String(pdf.u16string()), QStringLiteral("-")});
    static const QRegularExpression wordTag(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    std::vector<WordBox> boxes;
    for (const QRegularExpressionMatch& m : wordTag.globalMatch(html)) {
        if (m.captured(3) == word) {
            boxes.push_back({m.captured(1).toDouble(), m.captured(2).toDouble()});
        }
    }
    return boxes;
}

// Text lands at the model's columns however a line is split into runs: a heading printed as one run lines up
// with the lines below it that are printed piece by piece, also when the job is printed smaller.
TEST(PrintRendererTest, ColumnsLineUpWhateverTheRunSplit) {
    const QString indent(20, QLatin1Char(' '));
    const QString gap(40, QLatin1Char(' '));
    const QString wideLine(250, QLatin1Char('W'));
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "printed smaller" : "full size");
        Printer printer;
        printer.print(indent + QStringLiteral("ABC") + gap + QStringLiteral("DEF"));
        if (wide) {
            printer.print(wideLine);
        }
        ASSERT_TRUE(printer.endDoc().ok());
        PrintDocument document = printer.printed().back();
        // The same line again below, as the program prints it in pieces (blanks, then each column).
        std::vector<PrintRun>& runs = document.pages.front().runs;
        const PrintRun whole = runs.front();
        const int cell = PrintMetrics::charWidth(whole.font);
        const int y = document.pages.front().contentBottom();
        runs.push_back(PrintRun{0, y, indent, whole.font});
        runs.push_back(PrintRun{20 * cell, y, QStringLiteral("ABC"), whole.font});
        runs.push_back(PrintRun{63 * cell, y, QStringLiteral("D"), whole.font});
        runs.push_back(PrintRun{64 * cell, y, QStringLiteral("EF"), whole.font});

        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const auto pdf = pathOf(dir.filePath(QStringLiteral("sloupce.pdf")));
        ASSERT_TRUE(PrintRenderer::renderToPdf(document, pdf).ok());

        for (const QString& word : {QStringLiteral("ABC"), QStringLiteral("DEF")}) {
            const std::vector<WordBox> boxes = wordBoxes(pdf, word);
            ASSERT_EQ(boxes.size(), 2u) << word.toStdString();
            EXPECT_NEAR(boxes[0].left, boxes[1].left, 0.25) << word.toStdString();
            EXPECT_NEAR(boxes[0].right, boxes[1].right, 0.25) << word.toStdString();
        }
        if (wide) {
            const std::vector<WordBox> line = wordBoxes(pdf, wideLine);
            ASSERT_EQ(line.size(), 1u); // neither cut nor wrapped
            EXPECT_LE(line[0].right, pdfInfo(pdf).width);
        }
    }
}

TEST(PrintRendererTest, WithoutAPrinterTheJobGoesToATiskFolderBesideTheData) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto data = pathOf(dir.filePath(QStringLiteral("data")));
    std::filesystem::create_directories(data);
    FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3)));
    PrintRenderer renderer([data] { return data / ""; }, clock);

    const Result<PrintOutcome> first = renderer.printToPdfFolder(statement(1));
    ASSERT_TRUE(first.ok()) << first.message().toStdString();
    EXPECT_TRUE(first.value().sent);
    EXPECT_EQ(first.value().pdfFile, pathOf(dir.filePath(QStringLiteral("tisk/Výčetka_20261210_090503.pdf"))));
    EXPECT_TRUE(std::filesystem::exists(first.value().pdfFile));

    // A second job in the same second gets a name of its own.
    const Result<PrintOutcome> second = renderer.printToPdfFolder(statement(1));
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.value().pdfFile, pathOf(dir.filePath(QStringLiteral("tisk/Výčetka_20261210_090503_2.pdf"))));
}

TEST(PrintRendererTest, AnUnreadablePictureFailsTheJobAndLeavesNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto picture = pathOf(dir.filePath(QStringLiteral("Doreviz.bmp")));
    {
        QFile f(dir.filePath(QStringLiteral("Doreviz.bmp")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    Printer printer;
    ASSERT_TRUE(printer.drawPicture(picture, 250, 250, 1800, 1800).ok());
    printer.print(QStringLiteral("Tisk součtů"));
    ASSERT_TRUE(printer.endDoc().ok());

    const auto pdf = pathOf(dir.filePath(QStringLiteral("soucty.pdf")));
    const Status rendered = PrintRenderer::renderToPdf(printer.printed().back(), pdf);
    EXPECT_FALSE(rendered.ok());
    EXPECT_TRUE(rendered.message().contains(QStringLiteral("Doreviz.bmp"))) << rendered.message().toStdString();
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

#ifdef Q_OS_UNIX
// A disk that fills while the PDF is written, from its first byte or midway (a file-size limit stands in for the full
// disk): the print fails naming the file and the cause, no file of that name is left, an existing file stays as it was.
TEST(PrintRendererTest, APrintThatCannotBeWrittenWholeFailsAndLeavesNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto data = pathOf(dir.filePath(QStringLiteral("data")));
    std::filesystem::create_directories(data);
    FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3)));
    PrintRenderer renderer([data] { return data; }, clock);
    const PrintDocument document = statement(1);
    const auto whole = pathOf(dir.filePath(QStringLiteral("cely.pdf")));
    ASSERT_TRUE(PrintRenderer::renderToPdf(document, whole).ok());
    ASSERT_GT(std::filesystem::file_size(whole), 8192u); // so that the second limit cuts it midway

    const auto tisk = pathOf(dir.filePath(QStringLiteral("tisk")));
    const auto pdf = pathOf(dir.filePath(QStringLiteral("tisk/Výčetka_20261210_090503.pdf")));
    const auto existing = pathOf(dir.filePath(QStringLiteral("stary.pdf")));
    const QByteArray before = "%PDF-1.4 an earlier print\n";
    const QString reason = SystemErrors::describe(EFBIG);
    for (const rlim_t free : {rlim_t(0), rlim_t(8192)}) {
        SCOPED_TRACE(free);
        {
            QFile f(TextFiles::toQString(existing));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(before), before.size());
        }
        Result<PrintOutcome> printed = Error{};
        Status over;
        {
            test::SmallFileSizeLimit limit(free);
            ASSERT_TRUE(limit.set());
            printed = renderer.printToPdfFolder(document);
            over = PrintRenderer::renderToPdf(document, existing);
        }
        ASSERT_FALSE(printed.ok());
        EXPECT_TRUE(printed.message().contains(TextFiles::toQString(pdf))) << printed.message().toStdString();
        EXPECT_TRUE(printed.message().contains(reason)) << printed.message().toStdString();
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tisk), {}), 0); // nor a temporary file

        ASSERT_FALSE(over.ok());
        EXPECT_TRUE(over.message().contains(TextFiles::toQString(existing))) << over.message().toStdString();
        EXPECT_TRUE(over.message().contains(reason)) << over.message().toStdString();
        QFile f(TextFiles::toQString(existing));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before);
    }
}
#endif

TEST(PrintRendererTest, ThePdfFolderIsBesideTheDataFolder) {
    EXPECT_EQ(PrintRenderer::pdfFolder("/srv/trv/data"), std::filesystem::path("/srv/trv/tisk"));
    EXPECT_EQ(PrintRenderer::pdfFolder("/srv/trv/data/"), std::filesystem::path("/srv/trv/tisk"));
}

} // namespace
} // namespace trv
