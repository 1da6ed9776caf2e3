#include "closing/ReceiptDayTotals.h"

#include "core/CColStrav.h"
#include "platform/DbfTable.h"

namespace trv {

Result<DayTotals::Row> souctyPrijmu(const CColStrav& types, qint64 pokladna, const QDate& den) {
    DayTotals::Row row;
    row.pokladni = pokladna;
    row.datum = den;
    for (const auto& t : types) {
        Currency* slot = row.castkaVydavatele(t->Nazev);
        if (!slot)
            continue;
        const auto total = t->hodnotaStravenek();
        if (!total.ok())
            return total.error();
        // Several types of one issuer all count towards its total.
        *slot += Currency::parse(total.value()).value_or(Currency());
    }
    return row;
}

Status pridejDoExpData(const std::filesystem::path& exportFolder, const DayTotals::Row& totals) {
    return DayTotals::zapisPresKopii(exportFolder, [&totals](DbfTable& dbf) -> Status {
        const auto found = DayTotals::najdiRadek(dbf, totals);
        if (!found.ok())
            return Status(found.error());
        if (!found.value()) {
            const auto added = dbf.append(DayTotals::hodnotyRadku(totals));
            if (!added.ok())
                return Status(added.error());
            return Status::success();
        }
        const int row = *found.value();
        const auto record = dbf.read(row);
        if (!record.ok())
            return Status(record.error());
        return dbf.update(row, DayTotals::prictiCastky(record.value(), totals));
    });
}

} // namespace trv
