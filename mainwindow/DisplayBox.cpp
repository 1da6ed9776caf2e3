#include "mainwindow/DisplayBox.h"

#include "core/CColStrav.h"

#include <QSet>
#include <QStringList>

namespace trv {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The lines of the box as the text box shows them: CR LF, a lone CR and a lone LF each end a line.
struct Lines {
    QStringList lines;
    bool endsWithBreak = false;
};

Lines splitLines(const QString& text) {
    Lines result;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        result.lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        result.lines.append(text.mid(start));
    else
        result.endsWithBreak = n > 0;
    return result;
}

QString joinLines(const QStringList& lines, bool endsWithBreak) {
    QString text;
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        text.append(lines.at(i));
        if (i + 1 < lines.size() || endsWithBreak)
            text.append(kCrLf);
    }
    return text;
}

} // namespace

DisplayBox::DisplayBox(QObject* parent) : QObject(parent) {}

DisplayBox::~DisplayBox() = default;

void DisplayBox::append(const QString& chunk) {
    if (chunk.isEmpty())
        return;
    m_text.append(chunk);
    Q_EMIT appended(chunk);
}

void DisplayBox::setText(const QString& text) {
    m_text = text;
    Q_EMIT replaced();
}

void DisplayBox::ObnovZobrazeni(const CColStrav& types) {
    // Built in one go, without letting events run in between: a code received meanwhile would otherwise be
    // booked and then vanish from the box (and so from the saved file) when the collected text replaces it.
    QString text;
    for (const auto& type : types) {
        if (!type || !type->Polozky)
            continue;
        for (const auto& item : *type->Polozky) {
            if (!item)
                continue;
            text.append(item->Kod);
            text.append(kCrLf);
        }
    }
    setText(text);
}

bool DisplayBox::OpravRadky(const CodeShapes& shapes) {
    const Lines parsed = splitLines(m_text);
    QStringList repaired;
    repaired.reserve(parsed.lines.size());
    for (const QString& line : parsed.lines) {
        if (line.isEmpty())
            continue;
        if (line == shapes.noRead) {
            repaired.append(line);
            continue;
        }
        if (const std::optional<QStringList> codes = splitJoinedCodes(line, shapes))
            repaired.append(*codes);
        else
            repaired.append(line);
    }
    const QString text = joinLines(repaired, parsed.endsWithBreak || !repaired.isEmpty());
    if (text == m_text)
        return false;
    setText(text);
    return true;
}

void DisplayBox::VyhodDuplRadky() {
    const Lines parsed = splitLines(m_text);
    QStringList kept;
    kept.reserve(parsed.lines.size());
    QSet<QString> seen;
    for (const QString& line : parsed.lines) {
        if (!line.isEmpty()) {
            if (seen.contains(line))
                continue;
            seen.insert(line);
        }
        kept.append(line);
    }
    const QString text = joinLines(kept, parsed.endsWithBreak);
    if (text != m_text)
        setText(text);
}

} // namespace trv
