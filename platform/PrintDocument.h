#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace trv {

/// The printer font of a text run. Sizes are in points.
struct PrintFont {
    QString name = QStringLiteral("Courier New");
    double size = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const PrintFont&) const = default;
};

/// Fixed text metrics of the page model. Every report prints in a fixed-pitch font, so the model measures
/// text as a fixed-pitch font does: each character is 0.6 em wide (the advance of Courier New and of the
/// monospace fonts that stand in for it) and a line is 1.2 em high. The model therefore lays out the same
/// way on every machine, with or without a display or printer; the renderer fits the real font to it.
namespace PrintMetrics {
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;

/// Width of one character in twips.
int charWidth(const PrintFont& font);
/// Height of one line in twips.
int lineHeight(const PrintFont& font);
/// Width of a text in twips.
int textWidth(const QString& text, const PrintFont& font);
} // namespace PrintMetrics

/// A piece of text printed at a position: (x, y) is the top left corner of its first character, in twips
/// from the top left corner of the printable area of the page.
struct PrintRun {
    int x = 0;
    int y = 0;
    QString text;
    PrintFont font;

    int width() const { return PrintMetrics::textWidth(text, font); }
    int height() const { return PrintMetrics::lineHeight(font); }
    bool operator==(const PrintRun&) const = default;
};

/// A straight line; `color` is 0xRRGGBB (0 is black).
struct PrintRule {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    quint32 color = 0;

    bool operator==(const PrintRule&) const = default;
};

/// A picture file drawn scaled into a rectangle.
struct PrintPicture {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::filesystem::path file;

    bool operator==(const PrintPicture&) const = default;
};

struct PrintPage {
    std::vector<PrintRun> runs;
    std::vector<PrintRule> rules;
    std::vector<PrintPicture> pictures;
    /// True when the page began because the previous one was full (not by an explicit new page), so that
    /// a renderer that lays the document out on other pages may let the text flow on.
    bool continued = false;

    bool isEmpty() const { return runs.empty() && rules.empty() && pictures.empty(); }
    /// The lowest point reached by anything on the page (0 for an empty page).
    int contentBottom() const;
    /// The text of the page as lines: runs of equal y joined in order of x, each placed at the character
    /// column its x gives in its own font, blanks filling the gaps. Lines without text are left out.
    QStringList textLines() const;
};

enum class PageOrientation { Portrait, Landscape };

/// One print job as the program built it.
struct PrintDocument {
    QString title;
    int copies = 1;
    PageOrientation orientation = PageOrientation::Portrait;
    /// The printable area of a page in twips, in the document's orientation.
    int pageWidth = 0;
    int pageHeight = 0;
    std::vector<PrintPage> pages;

    /// The text lines of all pages in order (PrintPage::textLines).
    QStringList textLines() const;
    /// The rightmost point reached by printed text (trailing blanks not counted unless underlined), rules
    /// and pictures: the width a page must have so that nothing is cut off.
    int contentWidth() const;
};

} // namespace trv
