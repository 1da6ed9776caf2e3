#include "platform/IniDocument.h"

#include "platform/TextFiles.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <type_traits>
#include <utility>

namespace trv {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

QStringView trimmedView(QStringView s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isBlank(s[from]))
        ++from;
    while (to > from && isBlank(s[to - 1]))
        --to;
    return s.sliced(from, to - from);
}

QString trimBlanks(QStringView s) {
    return trimmedView(s).toString();
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

bool isAscii(QStringView s) {
    for (const QChar c : s) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

char16_t lowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// The hash of the name as folded, without making the folded copy for the ASCII names nearly all files have.
size_t foldedHash(QStringView name) {
    QString folded;
    if (!isAscii(name)) {
        folded = name.toString().toCaseFolded(); // the same hash as an ASCII spelling of the same folded name
        name = folded;
    }
    size_t h = 14695981039346656037ull;
    for (const QChar c : name) {
        h ^= lowerAscii(c.unicode());
        h *= 1099511628211ull;
    }
    return h;
}

bool sameFolded(QStringView a, QStringView b) {
    if (a.size() == b.size()) {
        // Up to the first character outside ASCII both fold letter by letter, so a difference there is final;
        // past it a character may fold to several and the whole names are folded.
        qsizetype i = 0;
        for (; i < a.size(); ++i) {
            const char16_t ca = a[i].unicode();
            const char16_t cb = b[i].unicode();
            if (ca >= 0x80 || cb >= 0x80)
                break;
            if (lowerAscii(ca) != lowerAscii(cb))
                return false;
        }
        if (i == a.size())
            return true;
    } else if (isAscii(a) && isAscii(b)) {
        return false;
    }
    return a.toString().toCaseFolded() == b.toString().toCaseFolded();
}

QChar charAt(QByteArrayView line, qsizetype i) {
    return QChar(char16_t(static_cast<unsigned char>(line[i])));
}

QChar charAt(QStringView line, qsizetype i) {
    return line[i];
}

// Calls line(from, length) for each line of the characters or bytes, as TextFiles::forEachLine cuts them: CR LF,
// LF and a lone CR all end a line, and the final line end starts no new one.
template <typename Char, typename Line> void forEachLine(const Char* chars, qsizetype n, Line line) {
    using Unit = std::conditional_t<sizeof(Char) == 1, char, char16_t>;
    const auto* units = reinterpret_cast<const Unit*>(chars);
    TextFiles::forEachLine(std::basic_string_view<Unit>(units, size_t(n)), [&](std::basic_string_view<Unit> l) {
        line(qsizetype(l.data() - units), qsizetype(l.size()));
    });
}

// A UTF-16 file of an odd number of bytes ends in half a character, which decodes to the last character of its
// text (decodeText keeps such a byte as a character of its own). Left in the text it would stick to the last line
// (its value, or a line of its own that a write ends with CR LF, shifting every character after it by one byte):
// it is taken out, and put back after the last line when the file is written.
std::optional<char> takeOddByte(const QByteArray& raw, DecodedText& decoded) {
    const bool utf16 = decoded.encoding == TextEncoding::Utf16LE || decoded.encoding == TextEncoding::Utf16BE;
    if (!utf16 || raw.size() % 2 == 0 || decoded.text.isEmpty())
        return std::nullopt;
    decoded.text.chop(1);
    return raw.back();
}

} // namespace

std::optional<QString> IniDocument::sectionNameOf(const QString& line) {
    // Nearly every line is a key or a comment: only a line whose first character but blanks is '[' is looked at.
    const QStringView trimmed = trimmedView(line);
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return std::nullopt; // no closing bracket: not a header, the line is kept as it is
    return trimBlanks(trimmed.sliced(1, close - 1));
}

std::optional<IniDocument::KeyLine> IniDocument::keyLineOf(QStringView line) {
    // The places are kept in 32 bits: a line of 2 G characters or more is kept as text, never read as a key.
    if (line.size() > std::numeric_limits<qint32>::max())
        return std::nullopt;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    const QStringView whole = line;
    const QStringView key = trimmedView(whole.first(eq));
    if (key.isEmpty() || key.startsWith(u';') || key.startsWith(u'['))
        return std::nullopt;
    QStringView value = trimmedView(whole.sliced(eq + 1));
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.sliced(1, value.size() - 2);
    return KeyLine{static_cast<qint32>(key.data() - whole.data()), static_cast<qint32>(key.size()),
                   static_cast<qint32>(value.data() - whole.data()), static_cast<qint32>(value.size())};
}

Result<IniDocument> IniDocument::load(const std::filesystem::path& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return IniDocument(); // a missing profile file reads as empty, as the profile functions do

    auto bytes = TextFiles::readBytes(file);
    if (!bytes.ok())
        return bytes.error();
    const QByteArray& raw = bytes.value();
    if (findEncoding(raw).encoding == TextEncoding::Windows1250)
        return fromWindows1250(raw);
    DecodedText decoded = decodeText(raw);
    const std::optional<char> oddByte = takeOddByte(raw, decoded);
    IniDocument doc = fromText(decoded.text, decoded.encoding);
    doc.m_utf8Bom = decoded.encoding == TextEncoding::Utf8 && raw.startsWith("\xEF\xBB\xBF");
    doc.m_oddByte = oddByte;
    return doc;
}

// Each line goes into the document as it is cut from the text.
IniDocument IniDocument::fromText(QStringView text, TextEncoding encoding) {
    IniDocument doc;
    forEachLine(text.data(), text.size(),
                [&](qsizetype from, qsizetype length) { doc.appendLine(text.sliced(from, length).toString()); });
    doc.m_encoding = encoding;
    return doc;
}

// One byte per character: the lines are cut from the bytes and decoded one by one, as decodeText would decode
// them, without a decoded copy of the whole file first.
IniDocument IniDocument::fromWindows1250(QByteArrayView bytes) {
    IniDocument doc;
    forEachLine(bytes.data(), bytes.size(), [&](qsizetype from, qsizetype length) {
        const QByteArrayView line = bytes.sliced(from, length);
        doc.appendLine(decodeWindows1250(line));
    });
    doc.m_encoding = TextEncoding::Windows1250;
    return doc;
}

Result<std::shared_ptr<const IniSections>> IniSections::load(const std::filesystem::path& file) {
    auto sections = std::make_shared<IniSections>();
    std::error_code ec;
    if (std::filesystem::status(file, ec).type() == std::filesystem::file_type::not_found)
        return std::shared_ptr<const IniSections>(std::move(sections));
    auto bytes = TextFiles::readBytes(file);
    if (!bytes.ok())
        return bytes.error();
    const FoundEncoding found = findEncoding(bytes.value());
    sections->m_encoding = found.encoding;
    if (found.encoding == TextEncoding::Windows1250) {
        sections->m_bytes = std::move(bytes.value());
    } else {
        DecodedText decoded = decodeText(bytes.value());
        takeOddByte(bytes.value(), decoded); // read as the whole file's document reads it
        sections->m_text = std::move(decoded.text);
    }

    // A header is a line whose first character but blanks is '[': only such lines are decoded and looked at.
    qsizetype open = -1; // the start of the section being passed, when it is the first of its name
    QString openName;
    const auto close = [&](qsizetype end) {
        if (open >= 0)
            sections->m_ranges.insert(openName, {open, end});
        open = -1;
    };
    const auto scan = [&](auto all, auto decode) {
        forEachLine(all.data(), all.size(), [&](qsizetype from, qsizetype length) {
            const auto line = all.sliced(from, length);
            qsizetype first = 0;
            while (first < length && isBlank(charAt(line, first)))
                ++first;
            if (first == length || charAt(line, first) != u'[')
                return;
            const std::optional<QString> name = IniDocument::sectionNameOf(decode(line));
            if (!name)
                return;
            close(from);
            const QString folded = IniDocument::fold(*name);
            if (!sections->m_ranges.contains(folded)) {
                open = from;
                openName = folded;
            }
        });
        close(all.size());
    };
    if (found.encoding == TextEncoding::Windows1250)
        scan(QByteArrayView(sections->m_bytes), [](QByteArrayView line) { return decodeWindows1250(line); });
    else
        scan(QStringView(sections->m_text), [](QStringView line) { return line.toString(); });
    return std::shared_ptr<const IniSections>(std::move(sections));
}

IniDocument IniSections::section(const QString& name) const {
    const auto it = m_ranges.constFind(IniDocument::fold(name));
    if (it == m_ranges.constEnd())
        return IniDocument();
    const auto [from, to] = *it;
    if (m_encoding == TextEncoding::Windows1250)
        return IniDocument::fromWindows1250(QByteArrayView(m_bytes).sliced(from, to - from));
    return IniDocument::fromText(QStringView(m_text).sliced(from, to - from), m_encoding);
}

std::vector<std::optional<QString>> IniSections::values(const QString& name, const IniKeys& keys) const {
    std::vector<std::optional<QString>> found(static_cast<size_t>(keys.size()));
    const auto it = m_ranges.constFind(IniDocument::fold(name));
    if (it == m_ranges.constEnd())
        return found;
    const auto [from, to] = *it;
    // One byte per character: the section decoded at once reads as its lines decoded one by one.
    const QString decoded = m_encoding == TextEncoding::Windows1250
                                ? decodeWindows1250(QByteArrayView(m_bytes).sliced(from, to - from))
                                : QString();
    const QStringView text =
        m_encoding == TextEncoding::Windows1250 ? QStringView(decoded) : QStringView(m_text).sliced(from, to - from);
    bool header = true; // the range begins with the section's own header; no other header lies in it
    qsizetype next = 0; // the keys are mostly asked for in the order the section lists them
    forEachLine(text.data(), text.size(), [&](qsizetype lineFrom, qsizetype length) {
        if (std::exchange(header, false))
            return;
        const QStringView line = text.sliced(lineFrom, length);
        const std::optional<IniDocument::KeyLine> kv = IniDocument::keyLineOf(line);
        if (!kv)
            return;
        const QStringView key = line.sliced(kv->keyFrom, kv->keyLength);
        std::optional<qsizetype> at;
        if (next < keys.size() && sameFolded(keys.m_names[static_cast<size_t>(next)], key))
            at = next;
        else
            at = keys.find(key);
        if (!at)
            return;
        next = *at + 1;
        std::optional<QString>& slot = found[static_cast<size_t>(keys.m_same[static_cast<size_t>(*at)])];
        if (!slot) // the first of duplicate keys wins
            slot = line.sliced(kv->valueFrom, kv->valueLength).toString();
    });
    for (size_t i = 0; i < found.size(); ++i) // a name asked for twice
        found[i] = found[static_cast<size_t>(keys.m_same[i])];
    return found;
}

IniKeys::IniKeys(const QStringList& names) {
    for (const QString& name : names) {
        m_names.push_back(trimBlanks(name));
        const size_t h = foldedHash(m_names.back());
        if (!m_first.contains(h))
            m_first.insert(h, static_cast<qsizetype>(m_names.size()) - 1);
        m_same.push_back(find(m_names.back()).value_or(static_cast<qsizetype>(m_names.size()) - 1));
    }
}

std::optional<qsizetype> IniKeys::find(QStringView key) const {
    const auto it = m_first.constFind(foldedHash(key));
    if (it == m_first.constEnd())
        return std::nullopt;
    if (sameFolded(m_names[static_cast<size_t>(*it)], key))
        return *it;
    for (size_t i = 0; i < m_names.size(); ++i) { // another name of the same hash
        if (sameFolded(m_names[i], key))
            return static_cast<qsizetype>(i);
    }
    return std::nullopt;
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

QStringView IniDocument::Section::keyOf(const Entry& e) const {
    return QStringView(lines.at(e.line)).sliced(e.kv.keyFrom, e.kv.keyLength);
}

QStringView IniDocument::Section::valueOf(const Entry& e) const {
    return QStringView(lines.at(e.line)).sliced(e.kv.valueFrom, e.kv.valueLength);
}

std::optional<qsizetype> IniDocument::Section::findFirst(QStringView key) const {
    const QStringView name = trimmedView(key);
    const auto it = first.constFind(foldedHash(name));
    if (it == first.constEnd())
        return std::nullopt;
    if (sameFolded(keyOf(entries[static_cast<size_t>(*it)]), name))
        return *it;
    for (size_t i = 0; i < entries.size(); ++i) { // another key of the same hash
        if (entries[i].first && sameFolded(keyOf(entries[i]), name))
            return static_cast<qsizetype>(i);
    }
    return std::nullopt;
}

void IniDocument::Section::addEntry(qsizetype line, KeyLine kv) {
    const qsizetype at = static_cast<qsizetype>(entries.size());
    entries.push_back({line, kv, false});
    Entry& entry = entries.back();
    const QStringView key = keyOf(entry);
    const size_t h = foldedHash(key);
    const auto it = first.constFind(h);
    if (it == first.constEnd()) {
        first.insert(h, at);
        entry.first = true;
    } else if (!sameFolded(keyOf(entries[static_cast<size_t>(*it)]), key)) {
        // the first of duplicate keys wins
        entry.first =
            std::none_of(entries.begin(), entries.end() - 1, [&](const Entry& e) { return sameFolded(keyOf(e), key); });
    }
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
    if (const auto at = s->findFirst(name)) {
        Entry& entry = s->entries[static_cast<size_t>(*at)];
        const QString line = s->keyOf(entry).toString() + u'=' + value; // an existing key keeps its spelling
        s->lines[entry.line] = line;
        entry.kv = *keyLineOf(line);
        return;
    }
    // After the section's last key, so that blank lines and comments closing the section stay below.
    const qsizetype insertAt = s->entries.empty() ? (s->hasHeader ? 1 : 0) : s->entries.back().line + 1;
    const QString line = name + u'=' + value;
    s->lines.insert(insertAt, line);
    if (auto entry = keyLineOf(line)) { // a name that cannot be a key (see checkEntry) is written, never found
        s->addEntry(insertAt, *entry);
    }
}

bool IniDocument::removeKey(const QString& section, const QString& key) {
    Section* s = findSection(section);
    if (!s || !s->findFirst(key))
        return false;
    const QStringView name = trimmedView(key);
    for (auto it = s->entries.rbegin(); it != s->entries.rend(); ++it) {
        if (sameFolded(s->keyOf(*it), name))
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
    const auto at = m_section->findFirst(key);
    if (!at)
        return std::nullopt;
    return m_section->valueOf(m_section->entries[static_cast<size_t>(*at)]).toString();
}

std::vector<std::pair<QString, QString>> IniDocument::SectionView::entries() const {
    std::vector<std::pair<QString, QString>> result;
    if (!m_section)
        return result;
    result.reserve(static_cast<size_t>(m_section->first.size()));
    for (const Entry& entry : m_section->entries) {
        if (entry.first)
            result.emplace_back(m_section->keyOf(entry).toString(), m_section->valueOf(entry).toString());
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
    if (m_oddByte)
        bytes += *m_oddByte;
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
