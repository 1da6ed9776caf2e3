#pragma once

#include "platform/Currency.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace trv {

/// The dBASE III field types the program's tables use.
enum class DbfFieldType : char {
    Character = 'C', ///< text, blank padded, Windows-1250
    Numeric = 'N',   ///< a number written as right-aligned decimal text
    Date = 'D',      ///< "YYYYMMDD"
    Logical = 'L',   ///< "T" / "F"
};

/// One column of a table. Names are at most 10 characters (letters, digits, "_", starting with a letter) and are
/// matched without regard to letter case. Date fields are 8 wide and logical fields 1 wide (a width of 0 means
/// that); a numeric field with decimals needs room for the point and a digit before it.
struct DbfField {
    QString name;
    DbfFieldType type = DbfFieldType::Character;
    int width = 0;
    int decimals = 0;

    friend bool operator==(const DbfField&, const DbfField&) = default;
};

/// The value of one field of one record. A null value is what a blank field holds.
class DbfValue {
public:
    DbfValue() = default;

    static DbfValue text(QString value) { return DbfValue(Storage(std::move(value))); }
    static DbfValue number(Currency value) { return DbfValue(Storage(value)); }
    static DbfValue integer(qint64 value) { return DbfValue(Storage(value)); }
    /// A null QDate gives a null value.
    static DbfValue date(QDate value) { return value.isValid() ? DbfValue(Storage(value)) : DbfValue(); }
    static DbfValue logical(bool value) { return DbfValue(Storage(value)); }

    bool isNull() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isText() const { return std::holds_alternative<QString>(m_value); }
    bool isNumber() const {
        return std::holds_alternative<Currency>(m_value) || std::holds_alternative<qint64>(m_value);
    }
    bool isDate() const { return std::holds_alternative<QDate>(m_value); }
    bool isLogical() const { return std::holds_alternative<bool>(m_value); }

    /// The text of a character field; empty for anything else.
    QString toText() const;
    /// A number as currency; nullopt when not a number or too large for the currency type.
    std::optional<Currency> toCurrency() const;
    /// A whole number; nullopt when not a number or when it has a fraction.
    std::optional<qint64> toInteger() const;
    /// A date; a null QDate for anything else.
    QDate toDate() const;
    std::optional<bool> toLogical() const;

    /// Values compare by content: the number 12 equals the currency 12.0000.
    friend bool operator==(const DbfValue& a, const DbfValue& b);

private:
    using Storage = std::variant<std::monostate, QString, Currency, qint64, QDate, bool>;
    explicit DbfValue(Storage value) : m_value(std::move(value)) {}

    Storage m_value;
};

/// Values to write, by field name (any letter case). Fields not named keep their value (update) or stay
/// blank (append).
using DbfFieldValues = std::vector<std::pair<QString, DbfValue>>;

/// One record read from a table.
class DbfRecord {
public:
    DbfRecord() = default;
    DbfRecord(std::shared_ptr<const std::vector<DbfField>> fields, std::vector<DbfValue> values, int row);

    /// The record's position in the table file (0-based, deleted records counted).
    int row() const { return m_row; }
    int size() const { return static_cast<int>(m_values.size()); }
    const DbfValue& value(int field) const;
    /// The value of the named field (any letter case); a null value when the table has no such field.
    const DbfValue& value(QStringView fieldName) const;

    QString text(QStringView fieldName) const { return value(fieldName).toText(); }
    std::optional<Currency> number(QStringView fieldName) const { return value(fieldName).toCurrency(); }
    std::optional<qint64> integer(QStringView fieldName) const { return value(fieldName).toInteger(); }
    QDate date(QStringView fieldName) const { return value(fieldName).toDate(); }
    std::optional<bool> logical(QStringView fieldName) const { return value(fieldName).toLogical(); }

private:
    std::shared_ptr<const std::vector<DbfField>> m_fields;
    std::vector<DbfValue> m_values;
    int m_row = -1;
};

/// A dBASE III table file (.dbf), read and written record by record.
///
/// Text is stored in Windows-1250, the encoding of the stored files and of the peers of existing installations;
/// new files say so in their header. Nothing is ever cut or rounded silently: a field name longer than dBASE
/// allows, a text longer than its field or with characters Windows-1250 lacks, and a number wider than its field
/// are reported as errors and nothing is written. (Numbers with more decimals than their field are rounded to the
/// field's decimals, a tie away from zero, as the amount's text would be.) Every write reaches the file before the call
/// returns. Pack and create replace the file through a temporary file in the same folder.
class DbfTable final {
public:
    enum class Access { ReadOnly, ReadWrite };
    enum class IfExists { Fail, Replace };

    /// Creates an empty table with these fields and opens it for reading and writing. With IfExists::Fail an
    /// existing file is an error; with IfExists::Replace the new empty table replaces it (as drop and create).
    static Result<DbfTable> create(const std::filesystem::path& file, const std::vector<DbfField>& fields,
                                   IfExists ifExists = IfExists::Fail);
    /// Opens an existing table. A file that is not a dBASE table gives an error naming the file.
    static Result<DbfTable> open(const std::filesystem::path& file, Access access = Access::ReadWrite);
    /// Checks a field list as create does, without creating anything.
    static Status checkFields(const std::vector<DbfField>& fields);

    DbfTable(DbfTable&& other) noexcept;
    DbfTable& operator=(DbfTable&& other) noexcept;
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;
    ~DbfTable();

    const std::filesystem::path& path() const { return m_path; }
    const std::vector<DbfField>& fields() const { return *m_fields; }
    /// Index of the named field (any letter case), or -1.
    int fieldIndex(QStringView name) const;
    bool isOpen() const { return m_handle != nullptr; }

    /// Records in the file, deleted ones included (row numbers run from 0 to recordCount() - 1).
    int recordCount() const;
    Result<bool> isDeleted(int row) const;
    /// Reads one record (also a deleted one).
    Result<DbfRecord> read(int row) const;
    /// All records that are not deleted, in file order.
    Result<std::vector<DbfRecord>> readAll() const;
    /// Row numbers of the records that are not deleted and match, in file order.
    Result<std::vector<int>> find(const std::function<bool(const DbfRecord&)>& matches) const;

    /// Adds a record; returns its row number. Every value is checked before anything is written.
    Result<int> append(const DbfFieldValues& values);
    /// Rewrites the named fields of one record; every value is checked before anything is written.
    Status update(int row, const DbfFieldValues& values);
    Status update(int row, QStringView fieldName, const DbfValue& value);
    /// Marks a record deleted; it stays in the file until pack().
    Status remove(int row);
    /// Rewrites the file without its deleted records. Row numbers change.
    Status pack();
    /// Writes what is pending and closes the file; the table is unusable afterwards.
    Status close();

private:
    struct Handle; // the open shapelib handle; closing it writes what is pending

    DbfTable(std::filesystem::path path, std::unique_ptr<Handle> handle,
             std::shared_ptr<const std::vector<DbfField>> fields, std::vector<int> offsets, int recordLength,
             Access access);

    Status checkWritable(const QString& operation) const;
    Status checkRow(int row, const QString& operation) const;
    Result<QByteArray> rawRecord(int row) const;
    Result<DbfRecord> decode(int row, const QByteArray& raw) const;
    Status encodeInto(QByteArray& raw, const DbfFieldValues& values) const;
    Status writeRaw(int row, const QByteArray& raw, const QString& operation);

    std::filesystem::path m_path;
    std::unique_ptr<Handle> m_handle;
    std::shared_ptr<const std::vector<DbfField>> m_fields;
    std::vector<int> m_offsets;
    int m_recordLength = 0;
    Access m_access = Access::ReadOnly;
};

} // namespace trv
