#pragma once

#include "platform/Currency.h"
#include "platform/LargeMemory.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

// The codes a summary reads from stored files, per voucher type, held compactly: a month of an office is about
// a million codes, a month of a large installation ten million, too many for one object per code. A code is its
// text in one shared buffer, the file it came from and its face value, in 12 bytes; NOREAD readings are kept as
// such (under the first type, as the booking puts them). A code of digits only (nearly every code) is stored two
// digits a byte, any other code as its UTF-8 text.
class StoredCodes {
public:
    // The type is the list a code is in, so a code does not carry it. The fields are as wide as a period can
    // need: 4 GB of code text, 16 million files, 8 million face values, codes of up to 32,767 characters.
    struct Code {
        quint32 offset = 0;         // of the stored text in the buffer; the order the codes were read in
        quint32 file : 24 = 0;      // index into files()
        quint32 lengthHigh : 7 = 0; // see length()
        quint32 packedDigits : 1 = 0;
        qint32 value : 24 = 0; // index into values(), or kNoRead
        quint32 lengthLow : 8 = 0;
        // Characters of the code (UTF-8 bytes of a code not all digits).
        quint32 length() const { return (quint32(lengthHigh) << 8) | lengthLow; }
    };
    // The codes of one type in reading order, held in blocks of a fixed size: a list that grows never copies the
    // codes it holds (a large installation's month of one type is a hundred megabytes, which a list grown by
    // doubling would copy over and over and hold twice while it does).
    class List {
    public:
        static constexpr int kBlockBits = 14;
        static constexpr size_t kBlock = size_t(1) << kBlockBits;

        class const_iterator {
        public:
            using iterator_category = std::forward_iterator_tag;
            using value_type = Code;
            using difference_type = std::ptrdiff_t;
            using pointer = const Code*;
            using reference = const Code&;
            const_iterator() = default;
            const_iterator(const List* list, size_t i) : m_list(list), m_i(i) {}
            const Code& operator*() const { return (*m_list)[m_i]; }
            const Code* operator->() const { return &(*m_list)[m_i]; }
            const_iterator& operator++() {
                ++m_i;
                return *this;
            }
            const_iterator operator++(int) {
                const_iterator was = *this;
                ++m_i;
                return was;
            }
            bool operator==(const const_iterator& o) const { return m_i == o.m_i; }

        private:
            const List* m_list = nullptr;
            size_t m_i = 0;
        };

        size_t size() const { return m_size; }
        bool empty() const { return m_size == 0; }
        const Code& operator[](size_t i) const { return m_blocks[i >> kBlockBits][i & (kBlock - 1)]; }
        Code& operator[](size_t i) { return m_blocks[i >> kBlockBits][i & (kBlock - 1)]; }
        const_iterator begin() const { return {this, 0}; }
        const_iterator end() const { return {this, m_size}; }

    private:
        friend class StoredCodes;
        // The blocks are the store's (see StoredCodes::newBlock), written code by code.
        std::vector<Code*> m_blocks;
        size_t m_size = 0;
    };

    static constexpr size_t kMaxLength = 0x7FFF;
    static constexpr int kMaxTypes = 0x7FFF;
    static constexpr qint32 kNoRead = -1;

    explicit StoredCodes(int typeCount = 0);
    StoredCodes(const StoredCodes&) = delete;
    StoredCodes& operator=(const StoredCodes&) = delete;

    int typeCount() const { return int(m_codes.size()); }
    // Registers a file the codes come from; the index the codes of that file carry.
    quint32 addFile(const QString& name);
    const QString& fileName(quint32 file) const { return m_files[file]; }
    // The index of a face value in values(), added when new.
    qint32 valueIndex(Currency value);
    const std::vector<Currency>& values() const { return m_values; }

    // Room for the codes of files of this many bytes, so that a month's load does not copy its buffers over.
    void reserve(qint64 bytes);
    // Appends a code to the 0-based type (a code longer than kMaxLength characters is cut there; types past
    // kMaxTypes are not held).
    void add(int type, std::string_view text, quint32 file, qint32 value);
    // The codes of the 0-based type in reading order.
    const List& codes(int type) const { return m_codes[size_t(type)]; }
    // The code's text as it was added (UTF-8).
    QString kod(const Code& c) const;
    // The same text appended to `out`: a list of millions of codes written one after another makes no string of
    // each.
    void appendKod(const Code& c, QString& out) const;
    // The code's bytes as held: its UTF-8 text, or two digits a byte for a code of digits only.
    std::string_view stored(const Code& c) const {
        return std::string_view(m_text.data() + c.offset, c.packedDigits ? (c.length() + 1u) / 2 : c.length());
    }
    bool isNoRead(const Code& c) const { return c.value == kNoRead; }
    Currency value(const Code& c) const { return c.value == kNoRead ? Currency() : m_values[size_t(c.value)]; }
    qint64 size() const;
    // How many codes of the 0-based type hold each face value (index into values(); NOREAD readings are not
    // counted), kept as the codes come and go: a month's tally and its range check read these, not the codes.
    // Shorter than values() where the last values have no code of the type.
    const std::vector<qint64>& valueCounts(int type) const { return m_valueCounts[size_t(type)]; }

    // Asked every so many codes while the repeats are sought: a month's filter runs for a good part of a second,
    // in which the window must keep answering. False stops the filter, which then tells so; the types it had not
    // finished keep every reading, and the codes are fit for nothing but to be dropped.
    using Going = std::function<bool()>;
    // vyhodNoread: every type keeps the first reading of each distinct code (codes compare in any letter case,
    // as the code collections key them) and no NOREAD reading. False when `going` stopped it.
    bool keepFirstReadings(const Going& going = {});
    // A later reading of a code with its first one.
    struct Repeat {
        Code again;
        Code first;
    };
    // The duplicate check's split: every type keeps the first reading of each distinct code (a NOREAD reading
    // too: repeated NOREAD readings are repeats like any other), and its later readings are set aside with their
    // first ones (setAside), so that what is counted afterwards counts each code once. False when `going` stopped
    // it.
    bool setAsideRepeats(const Going& going = {});
    // The readings setAsideRepeats took from the type, in reading order; none before it ran.
    const std::vector<Repeat>& setAside(int type) const;

private:
    void push(int type, const Code& c);
    Code* newBlock();
    void appendText(const char* bytes, size_t n);
    void replaceText(size_t bytes);
    // Thins every type to the first reading of each code, NOREAD readings dropped with `dropNoRead`; the later
    // readings go to m_setAside with `setAside`.
    bool keepFirst(bool dropNoRead, bool setAside, const Going& going);

    // The codes' texts one after another, m_textSize bytes of m_text.
    LargeMemory m_text;
    size_t m_textSize = 0;
    std::vector<List> m_codes;
    std::vector<std::vector<qint64>> m_valueCounts; // see valueCounts()
    // The blocks of the lists: one from the heap at a time until the store is told to expect a large month, then
    // carved from regions of many blocks in large pages.
    static constexpr size_t kRegionBlocks = 64;
    bool m_largeRegions = false;
    std::vector<std::unique_ptr<char[]>> m_smallBlocks;
    std::vector<LargeMemory> m_regions;
    size_t m_regionUsed = 0;
    // A large month's pages are taken ahead of the codes: up to m_textAsked of the texts, m_regionAsked of the
    // last region, and a spare region before the last one is full. After the regions, so that it stops before
    // they go.
    size_t m_textAsked = 0;
    size_t m_regionAsked = 0;
    LargeMemory m_spareRegion;
    PagesAhead m_ahead;
    std::vector<QString> m_files;
    std::vector<Currency> m_values;
    std::vector<std::vector<Repeat>> m_setAside;
};
static_assert(sizeof(StoredCodes::Code) == 12);

} // namespace trv
