#include "platform/IniDocument.h"

#include "platform/TextFiles.h"

namespace trv {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

QString trimBlanks(QStringView s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isBlank(s[from]))
        ++from;
    while (to > from && isBlank(s[to - 1]))
        --to;
    return s.sliced(from, to - from).toString();
}

bool sameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

QStringList splitLines(const QString& text) {
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the final line end ends the last line, it does not start a new one
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace

std::optional<QString> IniDocument::sectionNameOf(const QString& line) {
    const QString trimmed = trimBlanks(line);
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return std::nullopt; // no closing bracket: not a header, the line is kept as it is
    return trimBlanks(QStringView(trimmed).sliced(1, close - 1));
}

std::optional<IniDocument::KeyLine> IniDocument::keyLineOf(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    const QString key = trimBlanks(QStringView(line).first(eq));
    if (key.isEmpty() || key.startsWith(u';') || key.startsWith(u'['))
        return std::nullopt;
    QString value = trimBlanks(QStringView(line).sliced(eq + 1));
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.sliced(1, value.size() - 2);
    return KeyLine{key, value};
}

Result<IniDocument> IniDocument::load(const std::filesystem::path& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return IniDocument(); // a missing profile file reads as empty, as the profile functions do

    auto bytes = TextFiles::readBytes(file);
    if (!bytes.ok())
        return bytes.error();
    const DecodedText decoded = decodeText(bytes.value());
    IniDocument doc = fromText(decoded.text, decoded.encoding);
    doc.m_utf8Bom = decoded.encoding == TextEncoding::Utf8 && bytes.value().startsWith("\xEF\xBB\xBF");
    return doc;
}

IniDocument IniDocument::fromText(const QString& text, TextEncoding encoding) {
    IniDocument doc;
    doc.m_lines = splitLines(text);
    doc.m_encoding = encoding;
    return doc;
}

std::optional<qsizetype> IniDocument::sectionLine(const QString& section) const {
    const QString wanted = trimBlanks(section);
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionNameOf(m_lines.at(i));
        if (name && sameName(*name, wanted))
            return i; // the first of duplicate sections wins
    }
    return std::nullopt;
}

qsizetype IniDocument::sectionEnd(qsizetype headerLine) const {
    for (qsizetype i = headerLine + 1; i < m_lines.size(); ++i) {
        if (sectionNameOf(m_lines.at(i)))
            return i;
    }
    return m_lines.size();
}

std::optional<qsizetype> IniDocument::keyLine(const QString& section, const QString& key) const {
    const auto header = sectionLine(section);
    if (!header)
        return std::nullopt;
    const QString wanted = trimBlanks(key);
    const qsizetype end = sectionEnd(*header);
    for (qsizetype i = *header + 1; i < end; ++i) {
        const auto entry = keyLineOf(m_lines.at(i));
        if (entry && sameName(entry->key, wanted))
            return i;
    }
    return std::nullopt;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const auto line = keyLine(section, key);
    if (!line)
        return std::nullopt;
    return keyLineOf(m_lines.at(*line))->value;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString name = trimBlanks(key);
    if (const auto line = keyLine(section, key)) {
        const QString spelling = keyLineOf(m_lines.at(*line))->key;
        m_lines[*line] = spelling + u'=' + value;
        return;
    }
    const auto header = sectionLine(section);
    if (!header) {
        m_lines.append(u'[' + trimBlanks(section) + u']');
        m_lines.append(name + u'=' + value);
        return;
    }
    // After the section's last key, so that blank lines and comments closing the section stay below.
    qsizetype insertAt = *header + 1;
    const qsizetype end = sectionEnd(*header);
    for (qsizetype i = *header + 1; i < end; ++i) {
        if (keyLineOf(m_lines.at(i)))
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, name + u'=' + value);
}

bool IniDocument::removeKey(const QString& section, const QString& key) {
    bool removed = false;
    while (const auto line = keyLine(section, key)) {
        m_lines.removeAt(*line);
        removed = true;
    }
    return removed;
}

QStringList IniDocument::sectionNames() const {
    QStringList names;
    for (const QString& line : m_lines) {
        const auto name = sectionNameOf(line);
        if (name && !names.contains(*name, Qt::CaseInsensitive))
            names.append(*name);
    }
    return names;
}

QStringList IniDocument::keyNames(const QString& section) const {
    QStringList names;
    const auto header = sectionLine(section);
    if (!header)
        return names;
    const qsizetype end = sectionEnd(*header);
    for (qsizetype i = *header + 1; i < end; ++i) {
        const auto entry = keyLineOf(m_lines.at(i));
        if (entry && !names.contains(entry->key, Qt::CaseInsensitive))
            names.append(entry->key);
    }
    return names;
}

bool IniDocument::hasSection(const QString& section) const {
    return sectionLine(section).has_value();
}

QString IniDocument::toText() const {
    QString text;
    for (const QString& line : m_lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

Status IniDocument::save(const std::filesystem::path& file) const {
    QByteArray bytes = m_utf8Bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    bytes += encodeText(toText(), m_encoding);
    return TextFiles::writeBytes(file, bytes);
}

TextEncoding IniDocument::encoding() const {
    return m_encoding;
}

Status IniDocument::checkEntry(const QString& section, const QString& key, const QString& value) {
    const auto hasLineBreak = [](const QString& s) { return s.contains(u'\n') || s.contains(u'\r'); };
    const QString s = trimBlanks(section);
    const QString k = trimBlanks(key);
    if (s.isEmpty() || s.contains(u']') || hasLineBreak(section))
        return Status::fail(QStringLiteral("Neplatný název sekce \"%1\".").arg(section));
    if (k.isEmpty() || k.contains(u'=') || k.startsWith(u'[') || k.startsWith(u';') || hasLineBreak(key))
        return Status::fail(QStringLiteral("Neplatný název klíče \"%1\".").arg(key));
    if (hasLineBreak(value))
        return Status::fail(QStringLiteral("Hodnota klíče %1 nesmí obsahovat konec řádku.").arg(key));
    return Status::success();
}

} // namespace trv
