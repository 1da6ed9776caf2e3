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

// CR LF, LF and a lone CR all end a line: files come from editors of every platform.
QStringList splitLines(const QString& text) {
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\n' && c != u'\r')
            continue;
        lines.append(text.sliced(from, i - from));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        from = i + 1;
    }
    if (from < n)
        lines.append(text.sliced(from)); // the final line end ends the last line, it does not start a new one
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
    for (const QString& line : splitLines(text))
        doc.appendLine(line);
    doc.m_encoding = encoding;
    return doc;
}

QString IniDocument::fold(const QString& name) {
    return trimBlanks(name).toCaseFolded();
}

void IniDocument::appendLine(const QString& line) {
    if (auto name = sectionNameOf(line)) {
        Section section;
        section.hasHeader = true;
        section.name = *name;
        section.lines.append(line);
        const QString folded = name->toCaseFolded();
        if (!m_sectionIndex.contains(folded))
            m_sectionIndex.insert(folded, m_sections.size()); // the first of duplicate sections wins
        m_sections.push_back(std::move(section));
        return;
    }
    if (m_sections.empty())
        m_sections.emplace_back(); // lines before the first header
    Section& section = m_sections.back();
    section.lines.append(line);
    if (auto entry = keyLineOf(line)) {
        const QString folded = entry->key.toCaseFolded();
        if (!section.first.contains(folded))
            section.first.insert(folded, static_cast<qsizetype>(section.entries.size()));
        section.entries.push_back({section.lines.size() - 1, std::move(*entry)});
    }
}

void IniDocument::Section::index() {
    entries.clear();
    first.clear();
    for (qsizetype i = hasHeader ? 1 : 0; i < lines.size(); ++i) {
        if (auto entry = keyLineOf(lines.at(i))) {
            const QString folded = entry->key.toCaseFolded();
            if (!first.contains(folded))
                first.insert(folded, static_cast<qsizetype>(entries.size()));
            entries.push_back({i, std::move(*entry)});
        }
    }
}

const IniDocument::Section* IniDocument::findSection(const QString& section) const {
    const auto it = m_sectionIndex.constFind(fold(section));
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

IniDocument::Section* IniDocument::findSection(const QString& section) {
    const auto it = m_sectionIndex.constFind(fold(section));
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const Section* s = findSection(section);
    if (!s)
        return std::nullopt;
    const auto it = s->first.constFind(fold(key));
    if (it == s->first.constEnd())
        return std::nullopt;
    return s->entries[static_cast<size_t>(*it)].kv.value;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString name = trimBlanks(key);
    Section* s = findSection(section);
    if (!s) {
        appendLine(u'[' + trimBlanks(section) + u']');
        appendLine(name + u'=' + value);
        return;
    }
    const auto it = s->first.constFind(name.toCaseFolded());
    if (it != s->first.constEnd()) {
        Entry& entry = s->entries[static_cast<size_t>(*it)];
        const QString line = entry.kv.key + u'=' + value; // an existing key keeps its spelling
        s->lines[entry.line] = line;
        entry.kv = *keyLineOf(line);
        return;
    }
    // After the section's last key, so that blank lines and comments closing the section stay below.
    const qsizetype insertAt = s->entries.empty() ? (s->hasHeader ? 1 : 0) : s->entries.back().line + 1;
    const QString line = name + u'=' + value;
    s->lines.insert(insertAt, line);
    if (auto entry = keyLineOf(line)) { // a name that cannot be a key (see checkEntry) is written, never found
        s->first.insert(name.toCaseFolded(), static_cast<qsizetype>(s->entries.size()));
        s->entries.push_back({insertAt, std::move(*entry)});
    }
}

bool IniDocument::removeKey(const QString& section, const QString& key) {
    Section* s = findSection(section);
    if (!s || !s->first.contains(fold(key)))
        return false;
    const QString folded = fold(key);
    for (auto it = s->entries.rbegin(); it != s->entries.rend(); ++it) {
        if (it->kv.key.toCaseFolded() == folded)
            s->lines.removeAt(it->line);
    }
    s->index();
    return true;
}

void IniDocument::removeKeys(const QString& section) {
    Section* s = findSection(section);
    if (!s)
        return;
    for (auto it = s->entries.rbegin(); it != s->entries.rend(); ++it)
        s->lines.removeAt(it->line);
    s->index();
}

QStringList IniDocument::sectionNames() const {
    QStringList names;
    for (const Section& s : m_sections) {
        if (s.hasHeader && m_sectionIndex.value(s.name.toCaseFolded()) == static_cast<size_t>(&s - m_sections.data()))
            names.append(s.name);
    }
    return names;
}

QStringList IniDocument::keyNames(const QString& section) const {
    QStringList names;
    for (const auto& [key, value] : entries(section))
        names.append(key);
    return names;
}

std::vector<std::pair<QString, QString>> IniDocument::entries(const QString& section) const {
    std::vector<std::pair<QString, QString>> result;
    const Section* s = findSection(section);
    if (!s)
        return result;
    result.reserve(static_cast<size_t>(s->first.size()));
    for (size_t i = 0; i < s->entries.size(); ++i) {
        const KeyLine& kv = s->entries[i].kv;
        if (s->first.value(kv.key.toCaseFolded()) == static_cast<qsizetype>(i))
            result.emplace_back(kv.key, kv.value);
    }
    return result;
}

bool IniDocument::hasSection(const QString& section) const {
    return findSection(section) != nullptr;
}

QString IniDocument::toText() const {
    QString text;
    for (const Section& s : m_sections) {
        for (const QString& line : s.lines) {
            text += line;
            text += QLatin1String("\r\n");
        }
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
