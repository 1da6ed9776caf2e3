#include "closing/ReceiptDayTotals.h"

#include "platform/DbfTable.h"

namespace trv {

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
