#include "core/DayTotals.h"

#include "core/CashDeskFileName.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/DayDataFiles.h"
#include "core/SettingsLoader.h"
#include "core/WorkingCopy.h"
#include "platform/Conventions.h"
#include "platform/TextFiles.h"

#include <array>

namespace trv {

namespace {

const QString kTableName = QStringLiteral("exp_data.dbf");
const QString kPokladni = QStringLiteral("pokladni");
const QString kDatum = QStringLiteral("datum");
const QString kCHe = QStringLiteral("hodn_CHe");
const QString kSod = QStringLiteral("hodn_Sod");
const QString kExi = QStringLiteral("hodn_Exi");
const QString kTic = QStringLiteral("hodn_Tic");

QString dayText(const QDate& day) {
    return day.toString(QStringLiteral("yyyyMMdd"));
}

} // namespace

DayTotals::DayTotals(AppState& state, Prompts& prompts, const Clock& clock, ReaderControl& reader)
    : m_state(state), m_prompts(prompts), m_clock(clock), m_reader(reader) {}

const std::vector<DbfField>& DayTotals::sloupce() {
    static const std::vector<DbfField> fields{
        {kPokladni, DbfFieldType::Numeric, 10, 0}, {kDatum, DbfFieldType::Character, 8, 0},
        {kCHe, DbfFieldType::Numeric, 15, 2},      {kSod, DbfFieldType::Numeric, 15, 2},
        {kExi, DbfFieldType::Numeric, 15, 2},      {kTic, DbfFieldType::Numeric, 15, 2},
    };
    return fields;
}

std::filesystem::path DayTotals::souborTabulky(const std::filesystem::path& exportFolder) {
    if (auto found = TextFiles::findCaseInsensitive(exportFolder, kTableName))
        return *found;
    return exportFolder / TextFiles::toPath(kTableName);
}

std::optional<QString> DayTotals::pokladnaZNazvu(const QString& fileName, const QString& datum) {
    // A receipt started by cash desk is named date, cash desk, "_", order: there the cash desk follows the date.
    if (const auto named = CashDeskFileName::parse(fileName))
        return named->datum == datum ? std::optional<QString>(named->pokladna) : std::nullopt;
    // date, cash desk, ".txt": the cash desk must stand between the two, as three digits.
    if (datum.size() != 6 || fileName.size() < 13 || !fileName.startsWith(datum) ||
        !fileName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        return std::nullopt;
    const QString desk = fileName.mid(fileName.size() - 7, 3);
    for (const QChar c : desk) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return desk;
}

Status DayTotals::nactiDatovySoubor(Booking& booking, const std::filesystem::path& file, QStringList& nerozpoznane) {
    const auto lines = TextFiles::readLines(file);
    if (!lines.ok())
        return Status(lines.error());
    for (const QString& line : lines.value()) {
        const auto booked = booking.PridejUlozenyKod(line, 1, file);
        if (!booked.ok())
            nerozpoznane.append(booked.message());
    }
    return Status::success();
}

Result<std::vector<DayTotals::Row>> DayTotals::spoctiDen(const QString& datum) {
    const auto day = parseYYMMDD(datum);
    if (!day)
        return Error{0, QStringLiteral("Denní součty do exp_data: \"%1\" není datum ve tvaru RRMMDD.").arg(datum)};
    const auto dataFolder = DejCestuDat(m_state.config);
    if (!dataFolder.ok())
        return dataFolder.error();
    // Day data files only: the AS400 nominal summary beside a day file has the same stem.
    const auto files = DayDataFiles::list(dataFolder.value());
    if (!files.ok())
        return files.error();

    std::map<QString, std::vector<std::filesystem::path>> byDesk;
    for (const auto& file : files.value()) {
        if (const auto desk = pokladnaZNazvu(TextFiles::toQString(file.filename()), datum))
            byDesk[*desk].push_back(file);
    }

    std::vector<Row> rows;
    if (byDesk.empty())
        return rows;
    // A collection of this run's own: the receipt held by the program stays as it is. It is loaded once, so
    // that a definition problem the load reports (a missing value table) is reported once, not per cash desk.
    CColStrav types(m_state, m_prompts, m_clock);
    if (Status loaded = types.NactiINI(); !loaded.ok())
        return loaded.error();
    Booking booking(m_state, types, m_prompts, m_reader);
    QStringList nerozpoznane;
    for (const auto& [desk, deskFiles] : byDesk) {
        booking.VymazBuf();
        for (const auto& file : deskFiles) {
            if (Status read = nactiDatovySoubor(booking, file, nerozpoznane); !read.ok())
                return read.error();
        }

        auto row = soucty(types, desk.toLongLong(), *day);
        if (!row.ok())
            return Error{0, QStringLiteral("Denní součty pokladny %1 za %2: %3").arg(desk, datum, row.message())};
        rows.push_back(row.value());
    }
    // No reader runs over stored files: nothing to stop, one message for the whole day.
    booking.ohlasNerozpoznane(nerozpoznane, false);
    return rows;
}

Result<DayTotals::Row> DayTotals::soucty(const CColStrav& types, qint64 pokladna, const QDate& den) {
    Row row;
    row.pokladni = pokladna;
    row.datum = den;
    for (const auto& t : types) {
        Currency* slot = row.castkaVydavatele(t->Nazev);
        if (!slot)
            continue;
        // The total as the statement shows it, to two decimals. Several types of one issuer add up: the row
        // holds what the issuer owes, not what its last type took in.
        const auto total = t->hodnotaStravenek();
        if (!total.ok())
            return total.error();
        *slot += Currency::parse(total.value()).value_or(Currency());
    }
    return row;
}

Status DayTotals::ExportDoreviz(const QString& datum) {
    const auto exportFolder = DejCestuExportu(m_state.config);
    if (!exportFolder.ok())
        return Status(exportFolder.error());
    // Everything is read and valued before the table is touched: a failure leaves its rows as they were.
    const auto rows = spoctiDen(datum);
    if (!rows.ok())
        return Status(rows.error());

    return zapisPresKopii(exportFolder.value(), [&rows](DbfTable& dbf) -> Status {
        for (const Row& row : rows.value()) {
            const auto existing = najdiRadek(dbf, row);
            if (!existing.ok())
                return Status(existing.error());
            if (!existing.value()) {
                const auto added = dbf.append(hodnotyRadku(row));
                if (!added.ok())
                    return Status(added.error());
            } else if (Status updated = dbf.update(*existing.value(), hodnotyRadku(row)); !updated.ok()) {
                return updated;
            }
        }
        return Status::success();
    });
}

Currency* DayTotals::Row::castkaVydavatele(const QString& typeName) {
    const QString prefix = typeName.left(3).toUpper();
    return prefix == QLatin1String("CHE")   ? &hodnCHe
           : prefix == QLatin1String("SOD") ? &hodnSod
           : prefix == QLatin1String("EXI") ? &hodnExi
           : prefix == QLatin1String("TIC") ? &hodnTic
                                            : nullptr;
}

DbfFieldValues DayTotals::hodnotyRadku(const Row& row) {
    return {
        {kPokladni, DbfValue::integer(row.pokladni)}, {kDatum, DbfValue::text(dayText(row.datum))},
        {kCHe, DbfValue::number(row.hodnCHe)},        {kSod, DbfValue::number(row.hodnSod)},
        {kExi, DbfValue::number(row.hodnExi)},        {kTic, DbfValue::number(row.hodnTic)},
    };
}

DbfFieldValues DayTotals::prictiCastky(const DbfRecord& record, const Row& add) {
    const auto sum = [&](const QString& field, Currency value) {
        return DbfValue::number(record.number(field).value_or(Currency()) + value);
    };
    return {
        {kCHe, sum(kCHe, add.hodnCHe)},
        {kSod, sum(kSod, add.hodnSod)},
        {kExi, sum(kExi, add.hodnExi)},
        {kTic, sum(kTic, add.hodnTic)},
    };
}

Result<std::optional<int>> DayTotals::najdiRadek(const DbfTable& dbf, const Row& row) {
    const QString day = dayText(row.datum);
    const auto found = dbf.find(
        [&](const DbfRecord& r) { return r.integer(kPokladni) == row.pokladni && r.text(kDatum).trimmed() == day; });
    if (!found.ok())
        return found.error();
    if (found.value().empty())
        return std::optional<int>();
    return std::optional<int>(found.value().front());
}

Status DayTotals::zapisPresKopii(const std::filesystem::path& exportFolder,
                                 const std::function<Status(DbfTable&)>& write) {
    const std::filesystem::path file = souborTabulky(exportFolder);
    const std::filesystem::path work = WorkingCopy::of(file);
    const bool exists = TextFiles::exists(file);
    if (exists) {
        if (Status copied = TextFiles::copy(file, work, true); !copied.ok())
            return copied;
    }
    const Status written = [&]() -> Status {
        auto table = exists ? DbfTable::open(work, DbfTable::Access::ReadWrite)
                            : DbfTable::create(work, sloupce(), DbfTable::IfExists::Replace);
        if (!table.ok())
            return Status(table.error());
        DbfTable& dbf = table.value();
        for (const auto& field : sloupce()) {
            if (dbf.fieldIndex(field.name) < 0) {
                return Status::fail(QStringLiteral("Tabulka %1 nemá sloupec %2: denní součty do ní nelze zapsat.")
                                        .arg(TextFiles::toQString(file), field.name));
            }
        }
        if (Status done = write(dbf); !done.ok())
            return done;
        return dbf.close();
    }();
    return WorkingCopy::putInPlace(work, file, written);
}

} // namespace trv
