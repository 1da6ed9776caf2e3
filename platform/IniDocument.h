#pragma once

#include "platform/Result.h"
#include "platform/TextCodec.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace trv {

/// An INI file held line by line, read and changed with the conventions of the Windows profile
/// functions: section and key names match in any letter case, blanks around a value are dropped, a
/// value wrapped in double quotes loses them, and the first of duplicate sections or keys wins.
/// Every line the document does not change (comments, blank lines, garbage) is written back as it was,
/// in the encoding the file was read in (a new file: Windows-1250), with CR LF line ends. The odd last byte of a
/// UTF-16 file (half a character) belongs to no line: it stays the file's last byte, after every line end.
class IniDocument {
public:
    IniDocument() = default;

    /// A missing file gives an empty document; a file that cannot be read gives an error.
    static Result<IniDocument> load(const std::filesystem::path& file);
    /// A document from text already in memory (lines split at CR LF, LF or a lone CR).
    static IniDocument fromText(QStringView text, TextEncoding encoding = TextEncoding::Windows1250);
    /// A document from Windows-1250 bytes, each line decoded as it is cut.
    static IniDocument fromWindows1250(QByteArrayView bytes);

    std::optional<QString> value(const QString& section, const QString& key) const;
    /// Creates the section and the key as needed and keeps every other line. An existing key keeps its
    /// spelling; a new key goes after the last key of its section, a new section at the end of the file.
    /// The names and the value must hold no line break, the key no '=' and the section no ']'
    /// (see checkEntry); anything else would be read back differently.
    void setValue(const QString& section, const QString& key, const QString& value);
    /// Removes the key (every copy of it in the section); false when it was not there.
    bool removeKey(const QString& section, const QString& key);
    /// Removes every key line of the section; its header, comments and other lines stay.
    void removeKeys(const QString& section);
    QStringList sectionNames() const;                   // in file order
    QStringList keyNames(const QString& section) const; // in file order
    /// The keys of the section with their values, in file order, the first of duplicate keys only.
    std::vector<std::pair<QString, QString>> entries(const QString& section) const;
    bool hasSection(const QString& section) const;

private:
    struct Section;

public:
    /// One section read many times: the section is found once, each key by one hash lookup. It points into the
    /// document and is valid until the document changes; a missing section gives a view with no keys.
    class SectionView {
    public:
        std::optional<QString> value(const QString& key) const;
        std::vector<std::pair<QString, QString>> entries() const; // as IniDocument::entries
    private:
        friend class IniDocument;
        explicit SectionView(const Section* section) : m_section(section) {}
        const Section* m_section;
    };
    SectionView section(const QString& section) const;

    /// Writes the whole document through a temporary file renamed over the old one.
    Status save(const std::filesystem::path& file) const;
    TextEncoding encoding() const;

    /// The document as it would be written (CR LF after each line).
    QString toText() const;

    /// An error when the entry cannot be written so that it reads back the same: an empty name, a line
    /// break anywhere, '=' in the key or ']' in the section.
    static Status checkEntry(const QString& section, const QString& key, const QString& value);

private:
    // Where the key and the value lie in their line: a line is kept once, as read, and a file of thousands of
    // keys makes no string of its own for every name and value.
    struct KeyLine {
        qint32 keyFrom = 0;   // trimmed, original spelling
        qint32 keyLength = 0;
        qint32 valueFrom = 0; // trimmed, quotes removed
        qint32 valueLength = 0;
    };
    struct Entry {
        qsizetype line; // index in the section's lines
        KeyLine kv;
        bool first = false; // the first line of its key in the section: the one that is read
    };
    // A section header and the lines up to the next header; the lines before the first header form a section
    // without a header that no name finds. Lookups go through the indexes, built once when the text is read
    // and kept up to date by every change, so a file of thousands of keys is read in one pass.
    struct Section {
        bool hasHeader = false;
        QString name;               // trimmed, as written
        QStringList lines;          // the header line first, when there is one
        std::vector<Entry> entries; // every key line, in file order
        // Hash of the folded key -> index in entries of its first line. Two keys of one hash (never seen in
        // practice) are told apart by comparing the names: the later one is then found by a scan.
        QHash<size_t, qsizetype> first;
        void index();
        void addEntry(qsizetype line, KeyLine kv);
        QStringView keyOf(const Entry& e) const;
        QStringView valueOf(const Entry& e) const;
        std::optional<qsizetype> findFirst(QStringView key) const; // the key trimmed, in any letter case
    };

    friend class IniSections;
    friend class IniKeys;
    static QString fold(const QString& name);
    const Section* findSection(const QString& section) const;
    Section* findSection(const QString& section);
    void appendLine(const QString& line);
    static std::optional<QString> sectionNameOf(const QString& line);
    static std::optional<KeyLine> keyLineOf(QStringView line);

    std::vector<Section> m_sections;
    QHash<QString, size_t> m_sectionIndex; // folded name -> the first section of that name
    TextEncoding m_encoding = TextEncoding::Windows1250;
    bool m_utf8Bom = false; // a UTF-8 file that began with a byte-order mark gets it back
    // The odd last byte of a UTF-16 file: in no line, and the file's last byte again after every write.
    std::optional<char> m_oddByte;
};

/// Key names read from many sections alike (the keys of a voucher type): trimmed and hashed once, as a section's
/// lookup would trim and hash them.
class IniKeys {
public:
    explicit IniKeys(const QStringList& names);
    qsizetype size() const { return static_cast<qsizetype>(m_names.size()); }

private:
    friend class IniSections;
    std::optional<qsizetype> find(QStringView key) const; // the key as written in a line, already trimmed
    std::vector<QString> m_names;
    std::vector<qsizetype> m_same;    // for each name, the first name that folds to the same (itself mostly)
    QHash<size_t, qsizetype> m_first; // hash of the folded name -> the first name of that hash
};

/// A file of many sections read once each, a section at a time (the voucher-type definitions): the file is kept as
/// read, its sections are found in one pass, and a section becomes a document only when asked, so reading
/// hundreds of sections one after another holds one parsed section at a time. A section reads exactly as in the
/// IniDocument of the whole file: the first of sections of one name, in any letter case.
class IniSections {
public:
    /// A missing file has no sections; a file that cannot be read gives an error.
    static Result<std::shared_ptr<const IniSections>> load(const std::filesystem::path& file);

    /// A document holding the section alone (its header and lines up to the next header); empty when missing.
    IniDocument section(const QString& name) const;
    /// The values of the keys in the section, in the order of the keys (nullopt for a key that is not there): what
    /// section(name).value(key) gives for each, read in one pass over the section's lines without a document.
    std::vector<std::optional<QString>> values(const QString& name, const IniKeys& keys) const;

private:
    // Windows-1250 files are kept as their bytes, others as their decoded text; a range is [from, to) in it.
    QByteArray m_bytes;
    QString m_text;
    TextEncoding m_encoding = TextEncoding::Windows1250;
    QHash<QString, std::pair<qsizetype, qsizetype>> m_ranges; // folded name -> the first section of that name
};

} // namespace trv
