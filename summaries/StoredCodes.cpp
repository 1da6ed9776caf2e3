#include "summaries/StoredCodes.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace trv {

namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Codes compare as the code collections key them: in any letter case (ASCII letters; codes are digits and
// capitals in practice). The hash folds bit 0x20 of every byte, so texts equal in any letter case hash alike; eight
// bytes at a time, since a month's check hashes a million codes.
struct CaseInsensitiveHash {
    size_t operator()(std::string_view s) const noexcept {
        constexpr quint64 kFold = ~0x2020202020202020ull;
        quint64 h = 0x9E3779B97F4A7C15ull ^ s.size();
        size_t i = 0;
        for (; i + 8 <= s.size(); i += 8) {
            quint64 w;
            std::memcpy(&w, s.data() + i, 8);
            h = (h ^ (w & kFold)) * 0xBF58476D1CE4E5B9ull;
            h ^= h >> 31;
        }
        quint64 w = 0;
        std::memcpy(&w, s.data() + i, s.size() - i);
        h = (h ^ (w & kFold)) * 0x94D049BB133111EBull;
        return size_t(h ^ (h >> 29));
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

void StoredCodes::reserve(qint64 bytes) {
    // A statement record holds its code in about half of its bytes and takes at least 20 of them; a day-file
    // line is mostly code.
    const auto b = size_t(std::max<qint64>(bytes, 0));
    m_buffer.reserve(m_buffer.size() + b / 2);
    m_pending.reserve(m_pending.size() + b / 20);
}

void StoredCodes::add(int type, std::string_view text, quint32 file, qint32 value) {
    const size_t length = std::min<size_t>(text.size(), 0xFFFF);
    Code c;
    c.offset = quint32(m_buffer.size());
    c.length = quint16(length);
    c.type = quint16(type);
    c.file = file;
    c.value = value;
    m_buffer.append(text.substr(0, length));
    m_pending.push_back(c);
}

void StoredCodes::settle() const {
    if (m_pending.empty())
        return;
    std::vector<size_t> counts(m_codes.size(), 0);
    for (const Code& c : m_pending)
        ++counts[c.type];
    for (size_t t = 0; t < m_codes.size(); ++t)
        m_codes[t].reserve(m_codes[t].size() + counts[t]);
    for (const Code& c : m_pending)
        m_codes[c.type].push_back(c);
    std::vector<Code>().swap(m_pending);
}

QString StoredCodes::kod(const Code& c) const {
    const std::string_view t = text(c);
    return QString::fromUtf8(t.data(), qsizetype(t.size()));
}

qint64 StoredCodes::size() const {
    settle();
    qint64 n = 0;
    for (const auto& codes : m_codes)
        n += qint64(codes.size());
    return n;
}

namespace {

// The first reading of each code among `codes`, found with an open-addressing table of positions (a month holds a
// million codes: one allocation for the table instead of one per code). `visit(i, first)` is called for every
// code with the position of the first reading of its text (i itself for a first reading).
template <typename TextOf, typename Visit>
void firstReadings(const std::vector<StoredCodes::Code>& codes, TextOf textOf, Visit visit) {
    size_t capacity = 16;
    while (capacity < codes.size() * 2)
        capacity *= 2;
    // Each slot: position + 1 (0 is free) in the low half, the upper half of the hash in the high half, so that
    // most slots of other codes are passed over without reading their text.
    std::vector<quint64> table(capacity, 0);
    const CaseInsensitiveHash hash;
    const CaseInsensitiveEqual equal;
    for (size_t i = 0; i < codes.size(); ++i) {
        const std::string_view text = textOf(codes[i]);
        const size_t h = hash(text);
        const quint64 tag = quint64(h >> 32) << 32;
        size_t at = h & (capacity - 1);
        while (true) {
            const quint64 slot = table[at];
            if (slot == 0) {
                table[at] = tag | quint64(i + 1);
                visit(i, i);
                break;
            }
            const size_t other = size_t(quint32(slot)) - 1;
            if ((slot & 0xFFFFFFFF00000000ull) == tag && equal(textOf(codes[other]), text)) {
                visit(i, other);
                break;
            }
            at = (at + 1) & (capacity - 1);
        }
    }
}

} // namespace

void StoredCodes::keepFirstReadings() {
    settle();
    const auto textOf = [this](const Code& c) { return text(c); };
    for (auto& codes : m_codes) {
        std::vector<Code> kept;
        kept.reserve(codes.size());
        firstReadings(codes, textOf, [&](size_t i, size_t first) {
            if (i == first && codes[i].value != kNoRead)
                kept.push_back(codes[i]);
        });
        codes = std::move(kept);
    }
}

std::vector<StoredCodes::Repeat> StoredCodes::repeats(int type) const {
    settle();
    const auto& codes = m_codes[size_t(type)];
    std::vector<Repeat> found;
    firstReadings(
        codes, [this](const Code& c) { return text(c); },
        [&](size_t i, size_t first) {
            if (i != first)
                found.push_back({codes[i], codes[first]});
        });
    return found;
}

} // namespace trv
