#pragma once

#include "platform/Result.h"

#include <QString>

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

namespace trv {

struct AppState;
struct DbfField;
class DbfTable;

// One customer of the customer table: the values of the customer window's boxes, exactly as typed.
struct CustomerRecord {
    QString cislo;
    QString IC;
    QString nazev;
    QString Adresa;
    QString odpovida;
    QString telefon;
    std::array<QString, 8> cisloSpol; // partner code k + 1 at the voucher company in position k + 1

    bool operator==(const CustomerRecord&) const = default;
};

// The customer table `customer.dbf` of the data folder ([Data] Dir, read afresh by every operation). Its partner
// columns follow the number of voucher types of the receipt's collection: four columns below five types, eight
// from five on. Rows are read and written field by field through the dBASE layer, so a value reaches the table
// exactly as typed whatever characters it holds; a value longer than its column is refused naming the column and
// nothing is written. The table has no key: several rows may carry one number.
class CustomerTable {
public:
    explicit CustomerTable(const AppState& state);

    // The searchable columns, one per customer box.
    enum class Column { Cislo, IC, Nazev, Adresa, Odpovida, Telefon };

    static std::vector<DbfField> layout(int pocetSpolecnosti);
    // 4 or 8 partner-code columns for this many voucher types.
    static int partnerColumns(int pocetSpolecnosti) { return pocetSpolecnosti < 5 ? 4 : 8; }
    // The list row: number, TAB, name, TAB, address.
    static QString listRow(const CustomerRecord& record);
    // The number of a list row: the text before its first TAB.
    static QString numberOfRow(const QString& row);

    Result<std::filesystem::path> file() const;
    bool exists() const;

    // Drops the table (when there is one) and creates it empty under the current layout.
    Status create() const;
    // Adds a row. The partner codes past the layout's columns are not stored.
    Status add(const CustomerRecord& record) const;
    // Rewrites every row with the record's number (the number itself is never changed); none: nothing changes.
    Status update(const CustomerRecord& record) const;
    // Removes every row with this number.
    Status remove(const QString& cislo) const;

    // Every row in table order.
    Result<std::vector<CustomerRecord>> list() const;
    // The rows whose column contains `text` (blanks around it dropped), letter case ignored, Czech letters
    // included; a literal match: no character has a wildcard meaning.
    Result<std::vector<CustomerRecord>> search(Column column, const QString& text) const;
    // The first row with this number (blanks around it dropped); nullopt when none has it.
    Result<std::optional<CustomerRecord>> find(const QString& cislo) const;

    // The refusal of a new customer's number: its length (untrimmed) must be the SM length gDelkaSM; only the
    // length counts. Empty when it may be added.
    QString numberRefusal(const QString& cislo) const;

    // Makes the customer the chosen one (gZakCislo and the others), for the receipt and its statements.
    static void zvol(AppState& state, const CustomerRecord& record);

private:
    int pocetSpolecnosti() const;
    Result<DbfTable> openTable(const QString& operation) const;

    const AppState& m_state;
};

} // namespace trv
