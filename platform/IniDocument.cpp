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

// Names are nearly always ASCII, and in ASCII case folding only turns A-Z into a-z: done here, that spares the
// Unicode tables for every key of a file of thousands, and a name already folded is not copied at all.
QString foldCase(const QString& s) {
    qsizetype firstUpper = -1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s.at(i).unicode();
        if (c >= 0x80)
            return s.toCaseFolded();
        if (firstUpper < 0 && c >= u'A' && c <= u'Z')
            firstUpper = i;
    }
    if (firstUpper < 0)
        return s;
    QString folded = s;
    QChar* d = folded.data();
    for (qsizetype i = firstUpper; i < folded.size(); ++i) {
        if (d[i] >= u'A' && d[i] <= u'Z')
            d[i] = QChar(d[i].unicode() + (u'a' - u'A'));
    }
    return folded;
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

// CR LF, LF and a lone CR all end a line: files come from editors of every platform. Each line goes into the
// document as it is cut from the text.
IniDocument IniDocument::fromText(const QString& text, TextEncoding encoding) {
    IniDocument doc;
    const qsizetype n = text.size();
    const QChar* chars = text.constData();
    qsizetype from = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = chars[i];
        if (c != u'\n' && c != u'\r')
            continue;
        doc.appendLine(text.sliced(from, i - from));
        if (c == u'\r' && i + 1 < n && chars[i + 1] == u'\n')
            ++i;
        from = i + 1;
    }
    if (from < n)
        doc.appendLine(text.sliced(from)); // the final line end ends the last line, it does not start a new one
    doc.m_encoding = encoding;
    return doc;
}

QString IniDocument::fold(const QString& name) {
    const bool trimmed = name.isEmpty() || (!isBlank(name.front()) && !isBlank(name.back()));
    return foldCase(trimmed ? name : trimBlanks(name));
}

void IniDocument::appendLine(const QString& line) {
    if (auto name = sectionNameOf(line)) {
        Section section;
        section.hasHeader = true;
        section.name = *name;
        if (!m_sections.empty()) {
            // The sections of one file are mostly alike (the types of a definition file): room for as many
            // lines as the last one had spares growing each section step by step.
            const Section& previous = m_sections.back();
            section.lines.reserve(previous.lines.size());
            section.entries.reserve(previous.entries.size());
            section.first.reserve(previous.first.size());
        }
        section.lines.append(line);
        const QString folded = foldCase(*name);
        if (!m_sectionIndex.contains(folded))
            m_sectionIndex.insert(folded, m_sections.size()); // the first of duplicate sections wins
        m_sections.push_back(std::move(section));
        return;
    }
    if (m_sections.empty())
        m_sections.emplace_back(); // lines before the first header
    Section& section = m_sections.back();
    section.lines.append(line);
    if (auto entry = keyLineOf(line))
        section.addEntry(section.lines.size() - 1, std::move(*entry));
}

void IniDocument::Section::addEntry(qsizetype line, KeyLine kv) {
    const qsizetype at = static_cast<qsizetype>(entries.size());
    QString folded = foldCase(kv.key);
    const bool isFirst = !first.contains(folded); // the first of duplicate keys wins
    if (isFirst)
        first.insert(std::move(folded), at);
    entries.push_back({line, std::move(kv), isFirst});
}

void IniDocument::Section::index() {
    entries.clear();
    first.clear();
    for (qsizetype i = hasHeader ? 1 : 0; i < lines.size(); ++i) {
        if (auto entry = keyLineOf(lines.at(i)))
            addEntry(i, std::move(*entry));
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
    return this->section(section).value(key);
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString name = trimBlanks(key);
    Section* s = findSection(section);
    if (!s) {
        appendLine(u'[' + trimBlanks(section) + u']');
        appendLine(name + u'=' + value);
        return;
    }
    const auto it = s->first.constFind(foldCase(name));
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
        s->first.insert(foldCase(name), static_cast<qsizetype>(s->entries.size()));
        s->entries.push_back({insertAt, std::move(*entry), true});
    }
}

bool IniDocument::removeKey(const QString& section, const QString& key) {
    Section* s = findSection(section);
    if (!s || !s->first.contains(fold(key)))
        return false;
    const QString folded = fold(key);
    for (auto it = s->entries.rbegin(); it != s->entries.rend(); ++it) {
        if (foldCase(it->kv.key) == folded)
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
        if (s.hasHeader && m_sectionIndex.value(foldCase(s.name)) == static_cast<size_t>(&s - m_sections.data()))
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
    return this->section(section).entries();
}

IniDocument::SectionView IniDocument::section(const QString& section) const {
    return SectionView(findSection(section));
}

std::optional<QString> IniDocument::SectionView::value(const QString& key) const {
    if (!m_section)
        return std::nullopt;
    const auto it = m_section->first.constFind(fold(key));
    if (it == m_section->first.constEnd())
        return std::nullopt;
    return m_section->entries[static_cast<size_t>(*it)].kv.value;
}

std::vector<std::pair<QString, QString>> IniDocument::SectionView::entries() const {
    std::vector<std::pair<QString, QString>> result;
    if (!m_section)
        return result;
    result.reserve(static_cast<size_t>(m_section->first.size()));
    for (const Entry& entry : m_section->entries) {
        if (entry.first)
            result.emplace_back(entry.kv.key, entry.kv.value);
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
