#include "datafiles/DataFileText.h"

#include "platform/Progress.h"
#include "platform/TextFiles.h"

#include <algorithm>
#include <cstring>

namespace trv {

namespace {

bool isUtf16(TextEncoding e) {
    return e == TextEncoding::Utf16LE || e == TextEncoding::Utf16BE;
}

// The first LF unit at or after `from` in [from, end), or `end`.
qint64 findLf(const QByteArray& raw, qint64 from, qint64 end, TextEncoding e) {
    const char* data = raw.constData();
    if (!isUtf16(e)) {
        const void* nl = std::memchr(data + from, '\n', size_t(end - from));
        return nl != nullptr ? static_cast<const char*>(nl) - data : end;
    }
    const qint64 lfAt = e == TextEncoding::Utf16LE ? 0 : 1;
    for (qint64 i = from; i + 1 < end; i += 2) {
        if (data[i + lfAt] == '\n' && data[i + 1 - lfAt] == 0)
            return i;
    }
    return end;
}

} // namespace

Result<DataFileText> DataFileText::load(const std::filesystem::path& file, Progress* progress) {
    auto bytes = TextFiles::readBytes(file, progress);
    if (!bytes.ok())
        return bytes.error();
    DataFileText t;
    t.m_raw = std::move(bytes).value();
    const FoundEncoding found = findEncoding(t.m_raw);
    t.m_encoding = found.encoding;
    t.m_bodyStart = found.bomSize;

    // Two passes over the bytes, the first only counting, so that the index is allocated once at its size. The
    // bytes are all read by now (the progress stands at its end), but a cancel is still heard between two steps.
    const qint64 end = t.m_raw.size();
    const qint64 unit = isUtf16(t.m_encoding) ? 2 : 1;
    constexpr qint64 kStep = 1 << 22; // bytes between two checks for a cancel
    qint64 lines = 1;
    for (qint64 p = t.m_bodyStart; (p = findLf(t.m_raw, p, end, t.m_encoding)) < end; p += unit)
        ++lines;
    t.m_lines.reserve(size_t(lines));
    t.m_lines.push_back(t.m_bodyStart);
    qint64 nextCheck = kStep;
    for (qint64 p = t.m_bodyStart; (p = findLf(t.m_raw, p, end, t.m_encoding)) < end;) {
        p += unit;
        t.m_lines.push_back(p);
        if (progress != nullptr && p >= nextCheck) {
            nextCheck = p + kStep;
            if (!progress->step(end, end))
                return Error{0, Progress::cancelledText()};
        }
    }
    t.m_linesRead = t.lineCount();
    return t;
}

qsizetype DataFileText::lineEnd(qint64 start) const {
    const qint64 lf = findLf(m_raw, start, m_raw.size(), m_encoding);
    if (lf == m_raw.size())
        return lf;
    const qint64 unit = isUtf16(m_encoding) ? 2 : 1;
    if (lf - unit < start)
        return lf;
    const char* cr = m_raw.constData() + lf - unit;
    const bool isCr = !isUtf16(m_encoding)                  ? cr[0] == '\r'
                      : m_encoding == TextEncoding::Utf16LE ? (cr[0] == '\r' && cr[1] == 0)
                                                            : (cr[0] == 0 && cr[1] == '\r');
    return isCr ? lf - unit : lf;
}

QString DataFileText::decode(qint64 from, qint64 to) const {
    const QByteArrayView bytes(m_raw.constData() + from, to - from);
    switch (m_encoding) {
    case TextEncoding::Utf8:
        return QString::fromUtf8(bytes);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        QByteArray withMark = encodeText(QString(), m_encoding); // the mark tells decodeText the byte order
        withMark.append(bytes);
        return decodeText(withMark).text;
    }
    case TextEncoding::Windows1250:
        break;
    }
    return decodeWindows1250(bytes);
}

QByteArray DataFileText::encode(const QString& text) const {
    QByteArray bytes = encodeText(text, m_encoding);
    if (isUtf16(m_encoding))
        bytes.remove(0, 2); // the byte-order mark belongs only at the start of the file
    return bytes;
}

QString DataFileText::line(qsizetype i) const {
    const qint64 at = m_lines[size_t(i)];
    if (at < 0)
        return m_changed[size_t(-1 - at)].text;
    return decode(at, lineEnd(at));
}

qsizetype DataFileText::utf8SizeHint(qsizetype i) const {
    const qint64 at = m_lines[size_t(i)];
    if (at < 0)
        return m_changed[size_t(-1 - at)].text.size();
    const qsizetype bytes = lineEnd(at) - at;
    return isUtf16(m_encoding) ? bytes / 2 : bytes;
}

QString DataFileText::text() const {
    QString out;
    for (qsizetype i = 0; i < lineCount(); ++i) {
        if (i > 0)
            out.append(u'\n');
        out.append(line(i));
    }
    return out;
}

void DataFileText::setLine(qsizetype i, const QString& text) {
    if (line(i) == text)
        return;
    qint64& at = m_lines[size_t(i)];
    const qint64 before = at;
    const qint64 original = at >= 0 ? at : m_changed[size_t(-1 - at)].original;
    if (at < 0 && original >= 0 && decode(original, lineEnd(original)) == text) {
        at = original;
    } else {
        // A new entry each time, never the old one rewritten: a change to undo may point at the old one.
        m_changed.push_back({text, original});
        at = -qint64(m_changed.size());
    }
    done({Edit::Changed, i, 1, {before}});
}

void DataFileText::insertLine(qsizetype at, const QString& text) {
    insertLines(at, QStringList{text});
}

void DataFileText::insertLines(qsizetype at, const QStringList& texts) {
    if (texts.isEmpty())
        return;
    // The lines go into the index in one move, however many a paste brings.
    std::vector<qint64> added;
    added.reserve(size_t(texts.size()));
    for (const QString& text : texts) {
        m_changed.push_back({text, -1});
        added.push_back(-qint64(m_changed.size()));
    }
    m_lines.insert(m_lines.begin() + at, added.begin(), added.end());
    done({Edit::Inserted, at, texts.size(), {}});
}

void DataFileText::removeLines(qsizetype at, qsizetype count) {
    if (count <= 0)
        return;
    // The undo keeps the entries, a line's place in the bytes read, never its text. Every line removed (select
    // all, cut) hands the index over whole: nothing is copied.
    std::vector<qint64> removed;
    if (count == lineCount()) {
        removed.swap(m_lines);
    } else {
        removed.assign(m_lines.begin() + at, m_lines.begin() + at + count);
        m_lines.erase(m_lines.begin() + at, m_lines.begin() + at + count);
    }
    done({Edit::Removed, at, count, std::move(removed)});
    if (m_lines.empty()) // a text has at least its one, empty, line
        insertLine(0, QString());
}

void DataFileText::startChange() {
    if (m_changes.empty() || !m_changes.back().empty())
        m_changes.emplace_back();
}

void DataFileText::done(Done d) {
    if (m_changes.empty())
        m_changes.emplace_back();
    m_changes.back().push_back(std::move(d));
}

bool DataFileText::canUndo() const {
    return std::any_of(m_changes.begin(), m_changes.end(), [](const auto& change) { return !change.empty(); });
}

void DataFileText::undo(const std::function<void(const Edit& edit, const std::function<void()>& make)>& around) {
    while (!m_changes.empty() && m_changes.back().empty())
        m_changes.pop_back();
    if (m_changes.empty())
        return;
    std::vector<Done> change = std::move(m_changes.back());
    m_changes.pop_back();
    for (auto d = change.rbegin(); d != change.rend(); ++d) {
        const auto row = std::ptrdiff_t(d->row);
        switch (d->kind) {
        case Edit::Changed:
            around({Edit::Changed, d->row, 1}, [&] { m_lines[size_t(row)] = d->before.front(); });
            break;
        case Edit::Inserted:
            around({Edit::Removed, d->row, d->count},
                   [&] { m_lines.erase(m_lines.begin() + row, m_lines.begin() + row + std::ptrdiff_t(d->count)); });
            break;
        case Edit::Removed:
            around({Edit::Inserted, d->row, qsizetype(d->before.size())}, [&] {
                if (m_lines.empty())
                    m_lines.swap(d->before);
                else
                    m_lines.insert(m_lines.begin() + row, d->before.begin(), d->before.end());
            });
            break;
        }
    }
}

bool DataFileText::isModified() const {
    // Entries of lines read are their starts in the bytes, ascending; a line written is negative. The lines are
    // the lines read exactly when there are as many and they ascend.
    if (lineCount() != m_linesRead)
        return true;
    qint64 previous = -1;
    for (qint64 at : m_lines) {
        if (at <= previous)
            return true;
        previous = at;
    }
    return false;
}

QByteArray DataFileText::bytes() const {
    if (!isModified())
        return m_raw;
    const QByteArray lineEndBytes = encode(QStringLiteral("\r\n"));
    QByteArray out;
    out.reserve(m_raw.size() + qsizetype(m_lines.size()) * lineEndBytes.size());
    out.append(m_raw.constData(), m_bodyStart);
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (i > 0)
            out.append(lineEndBytes);
        const qint64 at = m_lines[i];
        if (at < 0)
            out.append(encode(m_changed[size_t(-1 - at)].text));
        else
            out.append(m_raw.constData() + at, lineEnd(at) - at);
    }
    return out;
}

Status DataFileText::save(const std::filesystem::path& file) const {
    return TextFiles::writeBytes(file, bytes());
}

} // namespace trv
