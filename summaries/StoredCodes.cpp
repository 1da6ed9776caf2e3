#include "summaries/StoredCodes.h"

#include <unordered_set>

namespace trv {

namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Codes compare as the code collections key them: in any letter case (ASCII letters; codes are digits and
// capitals in practice).
struct CaseInsensitiveHash {
    size_t operator()(std::string_view s) const noexcept {
        size_t h = 1469598103934665603ull;
        for (char c : s) {
            h ^= static_cast<unsigned char>(upper(c));
            h *= 1099511628211ull;
        }
        return h;
    }
};

struct CaseInsensitiveEqual {
    bool operator()(std::string_view a, std::string_view b) const noexcept {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (upper(a[i]) != upper(b[i]))
                return false;
        }
        return true;
    }
};

} // namespace

StoredCodes::StoredCodes(int typeCount) : m_codes(size_t(std::max(typeCount, 0))) {}

quint32 StoredCodes::addFile(const QString& name) {
    m_files.push_back(name);
    return quint32(m_files.size() - 1);
}

qint32 StoredCodes::valueIndex(Currency value) {
    for (size_t i = 0; i < m_values.size(); ++i) {
        if (m_values[i] == value)
            return qint32(i);
    }
    m_values.push_back(value);
    return qint32(m_values.size() - 1);
}

void StoredCodes::add(int type, std::string_view text, quint32 file, qint32 value) {
    Code c;
    c.offset = quint32(m_buffer.size());
    c.length = quint32(text.size());
    c.file = file;
    c.value = value;
    m_buffer.append(text);
    m_codes[size_t(type)].push_back(c);
}

QString StoredCodes::kod(const Code& c) const {
    const std::string_view t = text(c);
    return QString::fromUtf8(t.data(), qsizetype(t.size()));
}

qint64 StoredCodes::size() const {
    qint64 n = 0;
    for (const auto& codes : m_codes)
        n += qint64(codes.size());
    return n;
}

void StoredCodes::keepFirstReadings() {
    for (auto& codes : m_codes) {
        std::unordered_set<std::string_view, CaseInsensitiveHash, CaseInsensitiveEqual> seen;
        seen.reserve(codes.size());
        std::vector<Code> kept;
        kept.reserve(codes.size());
        for (const Code& c : codes) {
            if (c.value != kNoRead && seen.insert(text(c)).second)
                kept.push_back(c);
        }
        codes = std::move(kept);
    }
}

std::vector<StoredCodes::Repeat> StoredCodes::repeats(int type) const {
    std::unordered_map<std::string_view, size_t, CaseInsensitiveHash, CaseInsensitiveEqual> first;
    const auto& codes = m_codes[size_t(type)];
    first.reserve(codes.size());
    std::vector<Repeat> found;
    for (size_t i = 0; i < codes.size(); ++i) {
        const auto [at, added] = first.emplace(text(codes[i]), i);
        if (!added)
            found.push_back({codes[i], codes[at->second]});
    }
    return found;
}

} // namespace trv
