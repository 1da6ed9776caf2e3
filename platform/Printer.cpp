#include "platform/Printer.h"

#include "platform/SystemErrors.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

namespace trv {

Printer::Printer(PrintSpooler* spooler) : m_spooler(spooler) {
    reset();
}

void Printer::reset() {
    m_document = PrintDocument{};
    m_portraitWidth = kA4Width;
    m_portraitHeight = kA4Height;
    m_document.pageWidth = m_portraitWidth;
    m_document.pageHeight = m_portraitHeight;
    m_document.pages.emplace_back();
    m_font = PrintFont{};
    m_x = 0;
    m_y = 0;
    m_lineHeight = 0;
    m_hasOutput = false;
}

void Printer::setCopies(int copies) {
    m_document.copies = std::max(1, copies);
}

void Printer::setOrientation(PageOrientation orientation) {
    m_document.orientation = orientation;
    const bool portrait = orientation == PageOrientation::Portrait;
    m_document.pageWidth = portrait ? m_portraitWidth : m_portraitHeight;
    m_document.pageHeight = portrait ? m_portraitHeight : m_portraitWidth;
}

void Printer::setPageSize(int widthTwips, int heightTwips) {
    if (widthTwips <= 0 || heightTwips <= 0) {
        return;
    }
    m_portraitWidth = widthTwips;
    m_portraitHeight = heightTwips;
    setOrientation(m_document.orientation);
}

void Printer::setFontSize(double points) {
    if (points > 0) {
        m_font.size = points;
    }
}

void Printer::setCurrentY(int y) {
    m_y = y;
    m_lineHeight = 0;
}

void Printer::print(const QString& text) {
    write(text);
    endLine();
}

void Printer::printContinued(const QString& text) {
    write(text);
}

void Printer::write(const QString& text) {
    startOutput();
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            place(text.mid(start, i - start));
            endLine();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
                ++i;
            }
            start = i + 1;
        }
    }
    place(text.mid(start));
}

void Printer::place(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    const int height = PrintMetrics::lineHeight(m_font);
    if (m_y > 0 && m_y + height > m_document.pageHeight) {
        // The page is full: the device goes on at the top of the next one, as a printer does by itself.
        m_document.pages.emplace_back().continued = true;
        m_y = 0;
        m_lineHeight = 0;
    }
    std::vector<PrintRun>& runs = page().runs;
    if (!runs.empty()) {
        PrintRun& last = runs.back();
        if (last.y == m_y && last.font == m_font && last.x + last.width() == m_x) {
            last.text += text;
            m_x += PrintMetrics::textWidth(text, m_font);
            m_lineHeight = std::max(m_lineHeight, height);
            return;
        }
    }
    runs.push_back(PrintRun{m_x, m_y, text, m_font});
    m_x += PrintMetrics::textWidth(text, m_font);
    m_lineHeight = std::max(m_lineHeight, height);
}

void Printer::endLine() {
    m_y += std::max(m_lineHeight, PrintMetrics::lineHeight(m_font));
    m_x = 0;
    m_lineHeight = 0;
}

void Printer::tab(int column) {
    startOutput();
    const int target = (std::max(column, 1) - 1) * PrintMetrics::charWidth(m_font);
    if (m_x > target) {
        endLine();
    }
    m_x = target;
}

void Printer::drawLine(int x1, int y1, int x2, int y2, quint32 color) {
    startOutput();
    page().rules.push_back(PrintRule{x1, y1, x2, y2, color});
    m_x = x2;
    if (y2 != m_y) {
        setCurrentY(y2);
    }
}

Status Printer::drawPicture(const std::filesystem::path& file, int x, int y, int width, int height) {
    QFile probe(file);
    errno = 0;
    if (!probe.open(QIODevice::ReadOnly)) {
        const int saved = errno;
        return Status::fail(
            QStringLiteral("Obrázek %1 pro tisk nelze načíst: %2")
                .arg(QString::fromStdU16String(file.u16string()), SystemErrors::describe(probe, saved)));
    }
    startOutput();
    page().pictures.push_back(PrintPicture{x, y, width, height, file});
    return {};
}

void Printer::newPage() {
    startOutput();
    m_document.pages.emplace_back();
    m_x = 0;
    m_y = 0;
    m_lineHeight = 0;
}

Result<PrintOutcome> Printer::endDoc() {
    if (!m_hasOutput) {
        reset();
        return PrintOutcome{};
    }
    PrintDocument document = std::move(m_document);
    reset();
    if (!m_spooler) {
        m_printed.push_back(std::move(document));
        return PrintOutcome{true, {}};
    }
    return m_spooler->spool(document);
}

void Printer::killDoc() {
    reset();
}

} // namespace trv
