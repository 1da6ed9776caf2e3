#include "receipt/CustomerTable.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/SettingsLoader.h"
#include "platform/DbfTable.h"
#include "platform/TextFiles.h"

namespace trv {

namespace {

const QString kTableFile = QStringLiteral("customer.dbf");

const std::array<QString, 6> kColumns{QStringLiteral("cislo"),  QStringLiteral("IC"),       QStringLiteral("nazev"),
                                      QStringLiteral("Adresa"), QStringLiteral("odpovida"), QStringLiteral("telefon")};
const std::array<int, 6> kWidths{10, 20, 30, 100, 30, 20};

QString partnerColumn(int k) {
    return QStringLiteral("cisloSpol%1").arg(k);
}

// A character field keeps no trailing blanks, so numbers are matched as the table can give them back.
QString stored(QString value) {
    while (!value.isEmpty() && value.back() == u' ')
        value.chop(1);
    return value;
}

std::array<QString, 6> customerFields(const CustomerRecord& r) {
    return {r.cislo, r.IC, r.nazev, r.Adresa, r.odpovida, r.telefon};
}

CustomerRecord fromRow(const DbfRecord& row, int partners) {
    CustomerRecord r;
    r.cislo = row.text(kColumns[0]);
    r.IC = row.text(kColumns[1]);
    r.nazev = row.text(kColumns[2]);
    r.Adresa = row.text(kColumns[3]);
    r.odpovida = row.text(kColumns[4]);
    r.telefon = row.text(kColumns[5]);
    for (int k = 1; k <= partners; ++k)
        r.cisloSpol[static_cast<size_t>(k - 1)] = row.text(partnerColumn(k));
    return r;
}

Status failure(const QString& operation, const Status& reason) {
    return Status::fail(QStringLiteral("%1: %2").arg(operation, reason.message()));
}

// The record's columns from `first` on (0 writes the number too), and the partner columns the layout has.
DbfFieldValues fieldValues(const CustomerRecord& record, size_t first, int partners) {
    DbfFieldValues values;
    const auto fields = customerFields(record);
    for (size_t i = first; i < kColumns.size(); ++i)
        values.emplace_back(kColumns[i], DbfValue::text(fields[i]));
    for (int k = 1; k <= partners; ++k)
        values.emplace_back(partnerColumn(k), DbfValue::text(record.cisloSpol[static_cast<size_t>(k - 1)]));
    return values;
}

Result<std::vector<int>> rowsOf(const DbfTable& table, const QString& cislo) {
    const QString number = stored(cislo);
    return table.find([&](const DbfRecord& r) { return r.text(kColumns[0]) == number; });
}

Status closeTable(DbfTable& table, const QString& operation) {
    if (const Status closed = table.close(); !closed)
        return failure(operation, closed);
    return Status::success();
}

} // namespace

CustomerTable::CustomerTable(const AppState& state) : m_state(state) {}

std::vector<DbfField> CustomerTable::layout(int pocetSpolecnosti) {
    std::vector<DbfField> fields;
    for (size_t i = 0; i < kColumns.size(); ++i)
        fields.push_back({kColumns[i], DbfFieldType::Character, kWidths[i], 0});
    for (int k = 1; k <= partnerColumns(pocetSpolecnosti); ++k)
        fields.push_back({partnerColumn(k), DbfFieldType::Character, 10, 0});
    return fields;
}

QString CustomerTable::listRow(const CustomerRecord& record) {
    return record.cislo + u'\t' + record.nazev + u'\t' + record.Adresa;
}

QString CustomerTable::numberOfRow(const QString& row) {
    return row.section(u'\t', 0, 0);
}

QString CustomerTable::numberRefusal(const QString& cislo) const {
    if (cislo.size() == m_state.gDelkaSM)
        return {};
    const QString section = QStringLiteral("frmZakaznik");
    return m_state.config.DejText(section, QStringLiteral("CisloZak")) + QString::number(m_state.gDelkaSM) +
           m_state.config.DejText(section, QStringLiteral("Znaku"));
}

void CustomerTable::zvol(AppState& state, const CustomerRecord& record) {
    state.gZakCislo = record.cislo;
    state.gZakIC = record.IC;
    state.gZakNazev = record.nazev;
    state.gZakAdresa = record.Adresa;
    state.gZakOdpovida = record.odpovida;
    state.gZakTelefon = record.telefon;
    for (size_t k = 1; k <= 8; ++k)
        state.gZakCisloSpol[k] = record.cisloSpol[k - 1];
}

int CustomerTable::pocetSpolecnosti() const {
    return m_state.gColStrav ? m_state.gColStrav->pocetSpolecnosti() : 0;
}

Result<std::filesystem::path> CustomerTable::file() const {
    const Result<std::filesystem::path> folder = DejCestuDat(m_state.config);
    if (!folder.ok())
        return folder.error();
    // A folder copied from another system may hold the table in any letter case: that table is the one.
    return TextFiles::findCaseInsensitive(folder.value(), kTableFile)
        .value_or(folder.value() / kTableFile.toStdU16String());
}

bool CustomerTable::exists() const {
    const auto path = file();
    return path.ok() && TextFiles::exists(path.value());
}

Status CustomerTable::create() const {
    const auto path = file();
    if (!path.ok())
        return Status(path.error());
    const auto table = DbfTable::create(path.value(), layout(pocetSpolecnosti()), DbfTable::IfExists::Replace);
    if (!table.ok())
        return Status(table.error());
    return Status::success();
}

Status CustomerTable::add(const CustomerRecord& record) const {
    const QString operation = QStringLiteral("Zákazníka %1 nelze přidat").arg(record.cislo);
    auto table = openTable(operation);
    if (!table.ok())
        return Status(table.error());
    const DbfFieldValues values = fieldValues(record, 0, partnerColumns(pocetSpolecnosti()));
    const auto added = table.value().append(values);
    if (!added.ok())
        return failure(operation, Status(added.error()));
    return closeTable(table.value(), operation);
}

Status CustomerTable::update(const CustomerRecord& record) const {
    const QString operation = QStringLiteral("Změny zákazníka %1 nelze uložit").arg(record.cislo);
    auto table = openTable(operation);
    if (!table.ok())
        return Status(table.error());
    const auto rows = rowsOf(table.value(), record.cislo);
    if (!rows.ok())
        return failure(operation, Status(rows.error()));
    const DbfFieldValues values = fieldValues(record, 1, partnerColumns(pocetSpolecnosti()));
    // Every row gets the same values: the first refusal comes before anything is written.
    for (int row : rows.value()) {
        if (const Status written = table.value().update(row, values); !written)
            return failure(operation, written);
    }
    return closeTable(table.value(), operation);
}

Status CustomerTable::remove(const QString& cislo) const {
    const QString operation = QStringLiteral("Zákazníka %1 nelze smazat").arg(cislo);
    auto table = openTable(operation);
    if (!table.ok())
        return Status(table.error());
    const auto rows = rowsOf(table.value(), cislo);
    if (!rows.ok())
        return failure(operation, Status(rows.error()));
    if (rows.value().empty())
        return Status::success();
    for (int row : rows.value()) {
        if (const Status removed = table.value().remove(row); !removed)
            return failure(operation, removed);
    }
    // Other readers of the table need not honour the deletion mark: the rows leave the file.
    if (const Status packed = table.value().pack(); !packed)
        return failure(operation, packed);
    return closeTable(table.value(), operation);
}

// A missing data folder is said as it is; a table that does not open is said with the operation.
Result<DbfTable> CustomerTable::openTable(const QString& operation) const {
    const auto path = file();
    if (!path.ok())
        return path.error();
    auto table = DbfTable::open(path.value());
    if (!table.ok())
        return failure(operation, Status(table.error())).error();
    return table;
}

Result<std::vector<CustomerRecord>> CustomerTable::list() const {
    const auto path = file();
    if (!path.ok())
        return path.error();
    const auto table = DbfTable::open(path.value(), DbfTable::Access::ReadOnly);
    if (!table.ok())
        return table.error();
    const auto rows = table.value().readAll();
    if (!rows.ok())
        return rows.error();
    // A table made under the other layout has other partner columns; missing ones read empty.
    const int partners = 8;
    std::vector<CustomerRecord> records;
    records.reserve(rows.value().size());
    for (const DbfRecord& row : rows.value())
        records.push_back(fromRow(row, partners));
    return records;
}

Result<std::vector<CustomerRecord>> CustomerTable::search(Column column, const QString& text) const {
    const auto all = list();
    if (!all.ok())
        return all.error();
    const QString wanted = text.trimmed();
    std::vector<CustomerRecord> found;
    for (const CustomerRecord& r : all.value()) {
        const QString value = customerFields(r)[static_cast<size_t>(column)];
        if (value.contains(wanted, Qt::CaseInsensitive))
            found.push_back(r);
    }
    return found;
}

Result<std::optional<CustomerRecord>> CustomerTable::find(const QString& cislo) const {
    const auto all = list();
    if (!all.ok())
        return all.error();
    const QString number = cislo.trimmed();
    for (const CustomerRecord& r : all.value()) {
        if (r.cislo == number)
            return std::optional<CustomerRecord>(r);
    }
    return std::optional<CustomerRecord>();
}

} // namespace trv
