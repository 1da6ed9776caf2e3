#include "platform/PrintLayout.h"

#include "platform/Printer.h"

#include <gtest/gtest.h>

namespace trv {
namespace {

constexpr int kLine10 = 240;

PrintDocument printed(Printer& printer) {
    EXPECT_TRUE(printer.endDoc().ok());
    return printer.printed().back();
}

PrintDocument lines(int count, int width = 10) {
    Printer printer;
    for (int i = 1; i <= count; ++i) {
        printer.print(QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0')));
    }
    return printed(printer);
}

TEST(PrintLayoutTest, TheWidestLineChoosesOrientationAndScale) {
    struct Case {
        const char* name;
        int characters; // at 10 pt, 120 twips each
        bool underlined;
        PageOrientation orientation;
        bool smaller;
    };
    const std::vector<Case> cases{
        {"fits across portrait", 93, false, PageOrientation::Portrait, false},
        {"too wide for portrait", 94, false, PageOrientation::Landscape, false},
        {"fits across landscape", 134, false, PageOrientation::Landscape, false},
        {"too wide for landscape", 200, false, PageOrientation::Landscape, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Printer printer;
        printer.setUnderline(c.underlined);
        printer.print(QString(c.characters, QLatin1Char('x')));
        const PrintDocument document = printed(printer);
        const PageFit fit = PrintLayout::choose(document, Printer::kA4Width, Printer::kA4Height);
        EXPECT_EQ(fit.orientation, c.orientation);
        EXPECT_EQ(fit.scale < 1.0, c.smaller);
        EXPECT_LE(document.contentWidth() * fit.scale, Printer::kA4Height);
    }
}

TEST(PrintLayoutTest, TrailingBlanksDoNotWidenTheContentUnlessUnderlined) {
    Printer printer;
    printer.print(QStringLiteral("abc") + QString(200, QLatin1Char(' ')));
    const PrintDocument plain = printed(printer);
    EXPECT_EQ(plain.contentWidth(), 3 * 120);
    EXPECT_EQ(PrintLayout::choose(plain, Printer::kA4Width, Printer::kA4Height).orientation, PageOrientation::Portrait);

    printer.setUnderline(true);
    printer.print(QString(100, QLatin1Char(' ')));
    EXPECT_EQ(printed(printer).contentWidth(), 100 * 120);
}

TEST(PrintLayoutTest, ALandscapeJobStaysLandscape) {
    Printer printer;
    printer.setOrientation(PageOrientation::Landscape);
    printer.print(QStringLiteral("krátký"));
    EXPECT_EQ(PrintLayout::choose(printed(printer), Printer::kA4Width, Printer::kA4Height),
              (PageFit{PageOrientation::Landscape, 1.0}));
}

TEST(PrintLayoutTest, UnchangedGeometryKeepsThePages) {
    const PrintDocument document = lines(100);
    const PrintDocument out = PrintLayout::fit(document, PageFit{}, Printer::kA4Width, Printer::kA4Height + 1000);
    ASSERT_EQ(out.pages.size(), document.pages.size());
    EXPECT_EQ(out.pages[1].runs, document.pages[1].runs);
}

TEST(PrintLayoutTest, LandscapeBreaksFlowingPagesAgainBetweenLines) {
    const PrintDocument document = lines(100);
    ASSERT_EQ(document.pages.size(), 2u);
    const int height = Printer::kA4Width; // landscape
    const PrintDocument out =
        PrintLayout::fit(document, PageFit{PageOrientation::Landscape, 1.0}, Printer::kA4Height, height);

    // 46 lines of 240 twips fit in 11186 twips.
    ASSERT_EQ(out.pages.size(), 3u);
    EXPECT_EQ(out.pages[0].runs.size(), 46u);
    EXPECT_EQ(out.pages[1].runs.size(), 46u);
    EXPECT_EQ(out.pages[2].runs.size(), 8u);
    EXPECT_TRUE(out.pages[1].continued);
    EXPECT_EQ(out.textLines(), document.textLines());
    for (const PrintPage& page : out.pages) {
        for (size_t i = 0; i < page.runs.size(); ++i) {
            EXPECT_EQ(page.runs[i].y, int(i) * kLine10);
            EXPECT_LE(page.runs[i].y + page.runs[i].height(), height);
        }
    }
}

TEST(PrintLayoutTest, APageBegunOnPurposeStillBeginsAPage) {
    Printer printer;
    printer.print(QStringLiteral("první"));
    printer.newPage();
    printer.print(QStringLiteral("druhá"));
    const PrintDocument out = PrintLayout::fit(printed(printer), PageFit{PageOrientation::Landscape, 0.5},
                                               Printer::kA4Height, Printer::kA4Width);
    ASSERT_EQ(out.pages.size(), 2u);
    EXPECT_EQ(out.pages[1].textLines(), QStringList{QStringLiteral("druhá")});
}

TEST(PrintLayoutTest, ScalingShrinksPositionsFontsRulesAndPictures) {
    Printer printer;
    printer.setCurrentY(1000);
    printer.setCurrentX(2200);
    printer.setFontSize(16);
    printer.print(QStringLiteral("Tisk"));
    printer.drawLine(430, 2000, 6230, 2000);
    PrintDocument document = printed(printer);
    document.pages[0].pictures.push_back(PrintPicture{250, 250, 1800, 1800, "logo.bmp"});

    const PrintDocument out =
        PrintLayout::fit(document, PageFit{PageOrientation::Landscape, 0.5}, Printer::kA4Height, Printer::kA4Width);
    ASSERT_EQ(out.pages.size(), 1u);
    const PrintPage& page = out.pages[0];
    EXPECT_EQ(page.runs.at(0),
              (PrintRun{1100, 500, QStringLiteral("Tisk"), PrintFont{QStringLiteral("Courier New"), 8.0}}));
    EXPECT_EQ(page.rules.at(0), (PrintRule{215, 1000, 3115, 1000, 0}));
    EXPECT_EQ(page.pictures.at(0), (PrintPicture{125, 125, 900, 900, "logo.bmp"}));
    // Columns stay columns: the scaled text measures half as wide.
    EXPECT_EQ(page.runs[0].width(), document.pages[0].runs[0].width() / 2);
}

} // namespace
} // namespace trv
