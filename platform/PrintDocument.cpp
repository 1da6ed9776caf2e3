#include "platform/PrintDocument.h"

#include <QtMath>

#include <algorithm>
#include <map>

namespace trv {

namespace PrintMetrics {

int charWidth(const PrintFont& font) {
    return qRound(font.size * kTwipsPerPoint * 0.6);
}

int lineHeight(const PrintFont& font) {
    return qRound(font.size * kTwipsPerPoint * 1.2);
}

int textWidth(const QString& text, const PrintFont& font) {
    return int(text.size()) * charWidth(font);
}

} // namespace PrintMetrics

int PrintPage::contentBottom() const {
    int bottom = 0;
    for (const PrintRun& run : runs) {
        bottom = std::max(bottom, run.y + run.height());
    }
    for (const PrintRule& rule : rules) {
        bottom = std::max({bottom, rule.y1, rule.y2});
    }
    for (const PrintPicture& picture : pictures) {
        bottom = std::max(bottom, picture.y + picture.height);
    }
    return bottom;
}

QStringList PrintPage::textLines() const {
    std::map<int, std::vector<const PrintRun*>> byY;
    for (const PrintRun& run : runs) {
        byY[run.y].push_back(&run);
    }
    QStringList lines;
    for (auto& [y, lineRuns] : byY) {
        std::stable_sort(lineRuns.begin(), lineRuns.end(),
                         [](const PrintRun* a, const PrintRun* b) { return a->x < b->x; });
        QString line;
        for (const PrintRun* run : lineRuns) {
            const int width = std::max(1, PrintMetrics::charWidth(run->font));
            const qsizetype column = std::max(0, qRound(double(run->x) / width));
            if (column > line.size()) {
                line.append(QString(column - line.size(), QLatin1Char(' ')));
            }
            line.append(run->text);
        }
        lines.append(line);
    }
    return lines;
}

QStringList PrintDocument::textLines() const {
    QStringList lines;
    for (const PrintPage& page : pages) {
        lines.append(page.textLines());
    }
    return lines;
}

int PrintDocument::contentWidth() const {
    int right = 0;
    for (const PrintPage& page : pages) {
        for (const PrintRun& run : page.runs) {
            // Blanks at the end of a line leave no mark unless underlined; they must not force a
            // smaller print.
            qsizetype length = run.text.size();
            if (!run.font.underline) {
                while (length > 0 && run.text.at(length - 1).isSpace()) {
                    --length;
                }
            }
            if (length > 0) {
                right = std::max(right, run.x + int(length) * PrintMetrics::charWidth(run.font));
            }
        }
        for (const PrintRule& rule : page.rules) {
            right = std::max({right, rule.x1, rule.x2});
        }
        for (const PrintPicture& picture : page.pictures) {
            right = std::max(right, picture.x + picture.width);
        }
    }
    return right;
}

} // namespace trv
