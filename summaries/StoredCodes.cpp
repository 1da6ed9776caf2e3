#include "summaries/StoredCodes.h"

#include <algorithm>
#include <cstring>

namespace trv {

namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Codes compare as the code collections key them: in any letter case (ASCII letters; codes are digits and
// capitals in practice). The hash of a text folds bit 0x20 of every byte, so texts equal in any letter case hash
// alike; packed digits, which have no letter case, are hashed whole. Eight bytes at a time, since a month's check
// hashes millions of codes.
template <quint64 kFold> struct StoredHash {
    size_t operator()(std::string_view s) const noexcept {
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

// Whether a code is stored two digits a byte: digits only, as nearly every code is.
bool allDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// How far ahead of the codes a large month's pages are asked for, and in what steps.
constexpr size_t kAskAhead = size_t(8) << 20;
constexpr size_t kAskStep = size_t(4) << 20;

} // namespace

StoredCodes::Code* StoredCodes::newBlock() {
    constexpr size_t kBlockBytes = List::kBlock * sizeof(Code);
    if (!m_largeRegions) {
        // Uninitialised heap memory: a small store touches only the pages its codes are written to.
        m_smallBlocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockBytes));
        return reinterpret_cast<Code*>(m_smallBlocks.back().get());
    }
    if (m_regions.empty() || m_regionUsed + kBlockBytes > m_regions.back().size()) {
        m_regions.push_back(m_spareRegion.size() > 0 ? std::move(m_spareRegion)
                                                     : LargeMemory(kRegionBlocks * kBlockBytes));
        m_spareRegion = LargeMemory();
        m_regionUsed = 0;
        m_regionAsked = std::min(kAskStep, m_regions.back().size());
    }
    LargeMemory& region = m_regions.back();
    Code* block = reinterpret_cast<Code*>(region.data() + m_regionUsed);
    m_regionUsed += kBlockBytes;
    if (m_regionUsed + kAskAhead > m_regionAsked) {
        if (m_regionAsked < region.size()) {
            const size_t n = std::min(kAskStep, region.size() - m_regionAsked);
            m_ahead.request(region.data() + m_regionAsked, n);
            m_regionAsked += n;
        } else if (m_spareRegion.size() == 0) {
            m_spareRegion = LargeMemory(kRegionBlocks * kBlockBytes);
            m_ahead.request(m_spareRegion.data(), kAskStep);
        }
    }
    return block;
}

void StoredCodes::push(int type, const Code& c) {
    List& list = m_codes[size_t(type)];
    const size_t n = list.m_size;
    if ((n & (List::kBlock - 1)) == 0 && (n >> List::kBlockBits) == list.m_blocks.size())
        list.m_blocks.push_back(newBlock());
    list.m_blocks[n >> List::kBlockBits][n & (List::kBlock - 1)] = c;
    list.m_size = n + 1;
}

void StoredCodes::replaceText(size_t bytes) {
    m_ahead.settle();
    LargeMemory room(bytes);
    if (m_textSize > 0)
        std::memcpy(room.data(), m_text.data(), m_textSize);
    m_text = std::move(room);
    m_textAsked = m_textSize;
}

void StoredCodes::appendText(const char* bytes, size_t n) {
    if (m_textSize + n > m_text.size())
        replaceText(std::max({m_text.size() * 2, m_textSize + n, size_t(4096)}));
    std::memcpy(m_text.data() + m_textSize, bytes, n);
    m_textSize += n;
    if (m_largeRegions && m_textSize + kAskAhead > m_textAsked && m_textAsked < m_text.size()) {
        const size_t ask = std::min(kAskStep, m_text.size() - m_textAsked);
        m_ahead.request(m_text.data() + m_textAsked, ask);
        m_textAsked += ask;
    }
}

StoredCodes::StoredCodes(int typeCount)
    : m_codes(size_t(std::clamp(typeCount, 0, kMaxTypes + 1))), m_valueCounts(m_codes.size()) {}

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
    // (Room reserved and not used costs no memory: the pages are never touched, but for the few megabytes a
    // large month's are taken ahead of its codes.)
    const auto b = size_t(std::max<qint64>(bytes, 0));
    if (m_textSize + b / 2 > m_text.size())
        replaceText(m_textSize + b / 2);
    // A month of at least a region's worth of codes takes its blocks from large regions.
    if (b / 20 >= kRegionBlocks * List::kBlock)
        m_largeRegions = true;
}

void StoredCodes::add(int type, std::string_view text, quint32 file, qint32 value) {
    if (type < 0 || size_t(type) >= m_codes.size())
        return;
    const size_t length = std::min(text.size(), kMaxLength);
    text = text.substr(0, length);
    Code c;
    c.offset = quint32(m_textSize);
    c.lengthHigh = quint32(length >> 8);
    c.lengthLow = quint32(length & 0xFF);
    c.file = file;
    c.value = value;
    if (allDigits(text)) {
        c.packedDigits = 1;
        // Packed beside and appended: the buffer's new bytes are written once, not cleared first.
        char packed[64];
        while (!text.empty()) {
            const size_t n = std::min(text.size(), 2 * sizeof(packed));
            char* out = packed;
            size_t i = 0;
            for (; i + 1 < n; i += 2)
                *out++ = char(((text[i] - '0') << 4) | (text[i + 1] - '0'));
            if (i < n)
                *out++ = char((text[i] - '0') << 4);
            appendText(packed, size_t(out - packed));
            text.remove_prefix(n);
        }
    } else {
        appendText(text.data(), text.size());
    }
    push(type, c);
    if (value != kNoRead) {
        std::vector<qint64>& counts = m_valueCounts[size_t(type)];
        if (size_t(value) >= counts.size())
            counts.resize(std::max(size_t(value) + 1, m_values.size()), 0);
        ++counts[size_t(value)];
    }
}

QString StoredCodes::kod(const Code& c) const {
    QString out;
    appendKod(c, out);
    return out;
}

void StoredCodes::appendKod(const Code& c, QString& out) const {
    const std::string_view t = stored(c);
    if (!c.packedDigits) {
        out.append(QString::fromUtf8(t.data(), qsizetype(t.size())));
        return;
    }
    const size_t length = c.length();
    const qsizetype at = out.size();
    out.resize(at + qsizetype(length));
    QChar* dst = out.data() + at;
    const auto* in = reinterpret_cast<const unsigned char*>(t.data());
    size_t i = 0;
    for (; i + 1 < length; i += 2, ++in) {
        dst[i] = QChar(u'0' + (*in >> 4));
        dst[i + 1] = QChar(u'0' + (*in & 0x0F));
    }
    if (i < length)
        dst[i] = QChar(u'0' + (*in >> 4));
}

qint64 StoredCodes::size() const {
    qint64 n = 0;
    for (const auto& codes : m_codes)
        n += qint64(codes.size());
    return n;
}

namespace {

// Codes fewer than this have their positions in 24 bits of 32-bit slots.
constexpr size_t kShortPositions = (size_t(1) << 24) - 1;

// The slots of the table for `n` codes: a power of two, at least twice as many.
size_t tableCapacity(size_t n) {
    size_t capacity = 16;
    while (capacity < n * 2)
        capacity *= 2;
    return capacity;
}

// The first `bytes` of `memory` cleared, the memory replaced by a larger region when it is smaller: one table
// serves every type of a check in turn, rather than each type taking fresh pages from the system for its own.
char* clearedTable(LargeMemory& memory, size_t bytes) {
    if (memory.size() < bytes)
        memory = LargeMemory(bytes);
    else
        std::memset(memory.data(), 0, bytes);
    return memory.data();
}

// The first reading of each code among `codes`, found with an open-addressing table of positions (a month holds
// millions of codes: one allocation for the table instead of one per code). `visit(i, first)` is called for every
// code with the position of the first reading of its text (i itself for a first reading).
// Each slot holds position + 1 (0 is free) in its low kPositionBits and the top bits of the hash above them, so
// that most slots of other codes are passed over without reading their text. Slots are 32 bits while positions
// fit in 24 of them (a type's month of codes: the table is then half the size, and more of it stays in the
// cache), 64 bits beyond. `going` is asked every kGoingEvery codes; false stops the search (false returned).
constexpr size_t kGoingEvery = size_t(1) << 16;
template <typename Slot, int kPositionBits, typename Hash, typename Equal, typename TextOf, typename Visit>
bool firstReadingsIn(const StoredCodes::List& codes, LargeMemory& tableMemory, Hash hash, Equal equal, TextOf textOf,
                     Visit visit, const StoredCodes::Going& going) {
    constexpr int kSlotBits = int(sizeof(Slot) * 8);
    constexpr Slot kPositionMask = (Slot(1) << kPositionBits) - 1;
    const size_t capacity = tableCapacity(codes.size());
    Slot* const table = reinterpret_cast<Slot*>(clearedTable(tableMemory, capacity * sizeof(Slot)));
    // The codes are hashed a few ahead of their look-up and their slots fetched meanwhile: a large type's table
    // outgrows the cache, and each look-up would otherwise wait for memory in turn.
    constexpr size_t kAhead = 16;
    size_t ahead[kAhead];
    const auto hashAt = [&](size_t i) {
        const size_t h = hash(codes[i], textOf(codes[i]));
        __builtin_prefetch(&table[h & (capacity - 1)]);
        return h;
    };
    for (size_t i = 0; i < std::min(kAhead, codes.size()); ++i)
        ahead[i] = hashAt(i);
    for (size_t i = 0; i < codes.size(); ++i) {
        if (going && i % kGoingEvery == kGoingEvery - 1 && !going())
            return false;
        const std::string_view text = textOf(codes[i]);
        const size_t h = ahead[i % kAhead];
        if (i + kAhead < codes.size())
            ahead[i % kAhead] = hashAt(i + kAhead);
        const Slot tag = Slot(quint64(h) >> (64 - (kSlotBits - kPositionBits))) << kPositionBits;
        size_t at = h & (capacity - 1);
        while (true) {
            const Slot slot = table[at];
            if (slot == 0) {
                table[at] = tag | Slot(i + 1);
                visit(i, i);
                break;
            }
            const size_t other = size_t(slot & kPositionMask) - 1;
            if ((slot & ~kPositionMask) == tag && equal(codes[other], textOf(codes[other]), codes[i], text)) {
                visit(i, other);
                break;
            }
            at = (at + 1) & (capacity - 1);
        }
    }
    return true;
}

template <typename TextOf, typename Visit>
bool firstReadings(const StoredCodes::List& codes, LargeMemory& table, TextOf textOf, Visit visit,
                   const StoredCodes::Going& going) {
    using Code = StoredCodes::Code;
    const StoredHash<~0x2020202020202020ull> textHash;
    const StoredHash<~0ull> digitsHash;
    const auto hash = [&](const Code& c, std::string_view text) {
        return c.packedDigits ? digitsHash(text) ^ (size_t(c.length()) * 0x9E3779B97F4A7C15ull) : textHash(text);
    };
    const CaseInsensitiveEqual textEqual;
    const auto equal = [&](const Code& a, std::string_view aText, const Code& b, std::string_view bText) {
        if (a.packedDigits != b.packedDigits || a.length() != b.length())
            return false;
        return a.packedDigits ? aText == bText : textEqual(aText, bText);
    };
    if (codes.size() < kShortPositions)
        return firstReadingsIn<quint32, 24>(codes, table, hash, equal, textOf, visit, going);
    return firstReadingsIn<quint64, 32>(codes, table, hash, equal, textOf, visit, going);
}

} // namespace

bool StoredCodes::keepFirstReadings(const Going& going) {
    return keepFirst(true, false, going);
}

bool StoredCodes::setAsideRepeats(const Going& going) {
    return keepFirst(false, true, going);
}

const std::vector<StoredCodes::Repeat>& StoredCodes::setAside(int type) const {
    static const std::vector<Repeat> none;
    return size_t(type) < m_setAside.size() ? m_setAside[size_t(type)] : none;
}

bool StoredCodes::keepFirst(bool dropNoRead, bool setAside, const Going& going) {
    const auto textOf = [this](const Code& c) { return stored(c); };
    // The table for the largest type, taken once.
    size_t largest = 0;
    for (const auto& codes : m_codes)
        largest = std::max(largest, codes.size());
    LargeMemory table(tableCapacity(largest) * (largest < kShortPositions ? sizeof(quint32) : sizeof(quint64)));
    if (setAside)
        m_setAside.assign(m_codes.size(), {});
    for (size_t t = 0; t < m_codes.size(); ++t) {
        List& codes = m_codes[t];
        // Marked first and thinned in place after: a month's codes are never held twice.
        std::vector<bool> keep(codes.size(), false);
        const bool found = firstReadings(
            codes, table, textOf,
            [&](size_t i, size_t first) {
                keep[i] = i == first && !(dropNoRead && codes[i].value == kNoRead);
                if (setAside && i != first)
                    m_setAside[t].push_back({codes[i], codes[first]});
            },
            going);
        if (!found)
            return false;
        std::vector<qint64>& counts = m_valueCounts[t];
        const size_t read = codes.size();
        size_t kept = 0;
        for (size_t i = 0; i < codes.size(); ++i) {
            if (keep[i])
                codes[kept++] = codes[i];
            else if (codes[i].value != kNoRead)
                --counts[size_t(codes[i].value)];
        }
        // The blocks past the kept codes stay with the store, unused, until it goes.
        codes.m_size = kept;
        // A large type's thinning is asked about as well; the small ones' take no time.
        if (going && read >= kGoingEvery && !going())
            return false;
    }
    return true;
}

} // namespace trv
