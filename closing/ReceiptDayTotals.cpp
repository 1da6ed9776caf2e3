#include "closing/ReceiptDayTotals.h"

#include "core/CColStrav.h"
#include "platform/DbfTable.h"
#include "platform/TextFiles.h"

namespace trv {

namespace {

const QString kPokladni = QStringLiteral("pokladni");
const QString kDatum = QStringLiteral("datum");
const QString kCHe = QStringLiteral("hodn_CHe");
const QString kSod = QStringLiteral("hodn_Sod");
const QString kExi = QStringLiteral("hodn_Exi");
const QString kTic = QStringLiteral("hodn_Tic");

Status pridejRadek(const std::filesystem::path& work, bool exists, const std::filesystem::path& file,
                   const DayTotals::Row& totals) {
    auto table = exists ? DbfTable::open(work, DbfTable::Access::ReadWrite)
                        : DbfTable::create(work, DayTotals::sloupce(), DbfTable::IfExists::Replace);
    if (!table.ok())
        return Status(table.error());
    DbfTable& dbf = table.value();
    for (const auto& field : DayTotals::sloupce()) {
        if (dbf.fieldIndex(field.name) < 0) {
            return Status::fail(QStringLiteral("Tabulka %1 nemá sloupec %2: denní součty do ní nelze zapsat.")
                                    .arg(TextFiles::toQString(file), field.name));
        }
    }
    const QString day = totals.datum.toString(QStringLiteral("yyyyMMdd"));
    const auto found = dbf.find(
        [&](const DbfRecord& r) { return r.integer(kPokladni) == totals.pokladni && r.text(kDatum).trimmed() == day; });
    if (!found.ok())
        return Status(found.error());
    if (found.value().empty()) {
        const auto added = dbf.append({
            {kPokladni, DbfValue::integer(totals.pokladni)},
            {kDatum, DbfValue::text(day)},
            {kCHe, DbfValue::number(totals.hodnCHe)},
            {kSod, DbfValue::number(totals.hodnSod)},
            {kExi, DbfValue::number(totals.hodnExi)},
            {kTic, DbfValue::number(totals.hodnTic)},
        });
        if (!added.ok())
            return Status(added.error());
    } else {
        const int row = found.value().front();
        const auto record = dbf.read(row);
        if (!record.ok())
            return Status(record.error());
        const auto sum = [&](const QString& field, Currency add) {
            return DbfValue::number(record.value().number(field).value_or(Currency()) + add);
        };
        const Status updated = dbf.update(row, {
                                                   {kCHe, sum(kCHe, totals.hodnCHe)},
                                                   {kSod, sum(kSod, totals.hodnSod)},
                                                   {kExi, sum(kExi, totals.hodnExi)},
                                                   {kTic, sum(kTic, totals.hodnTic)},
                                               });
        if (!updated.ok())
            return updated;
    }
    return dbf.close();
}

} // namespace

Result<DayTotals::Row> souctyPrijmu(const CColStrav& types, qint64 pokladna, const QDate& den) {
    DayTotals::Row row;
    row.pokladni = pokladna;
    row.datum = den;
    for (const auto& t : types) {
        const QString prefix = t->Nazev.left(3).toUpper();
        Currency* slot = prefix == QLatin1String("CHE")   ? &row.hodnCHe
                         : prefix == QLatin1String("SOD") ? &row.hodnSod
                         : prefix == QLatin1String("EXI") ? &row.hodnExi
                         : prefix == QLatin1String("TIC") ? &row.hodnTic
                                                          : nullptr;
        if (!slot)
            continue;
        const auto total = t->hodnotaStravenek();
        if (!total.ok())
            return total.error();
        *slot = Currency::parse(total.value()).value_or(Currency());
    }
    return row;
}

Status pridejDoExpData(const std::filesystem::path& exportFolder, const DayTotals::Row& totals) {
    const std::filesystem::path file = DayTotals::souborTabulky(exportFolder);
    std::filesystem::path work = file;
    work += ".zapis";
    const bool exists = TextFiles::exists(file);
    if (exists) {
        if (Status copied = TextFiles::copy(file, work, true); !copied.ok())
            return copied;
    }
    const Status written = pridejRadek(work, exists, file, totals);
    std::error_code ec;
    if (!written.ok()) {
        std::filesystem::remove(work, ec);
        QString message = written.message();
        message.replace(TextFiles::toQString(work), TextFiles::toQString(file));
        return Status(Error{written.error().number, message});
    }
    std::filesystem::rename(work, file, ec);
    if (ec) {
        const QString reason = QString::fromStdString(ec.message());
        std::filesystem::remove(work, ec);
        return Status::fail(QStringLiteral("Nelze uložit tabulku %1: %2").arg(TextFiles::toQString(file), reason));
    }
    return Status::success();
}

} // namespace trv
