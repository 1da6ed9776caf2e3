#include "closing/ReceiptDayTotals.h"

#include "platform/DbfTable.h"

namespace trv {

Status zapisDoExpData(const std::filesystem::path& exportFolder, const DayTotals::Row& row) {
    return DayTotals::zapisPresKopii(exportFolder, [&row](DbfTable& dbf) -> Status {
        const auto found = DayTotals::najdiRadek(dbf, row);
        if (!found.ok())
            return Status(found.error());
        if (!found.value()) {
            const auto added = dbf.append(DayTotals::hodnotyRadku(row));
            if (!added.ok())
                return Status(added.error());
            return Status::success();
        }
        return dbf.update(*found.value(), DayTotals::hodnotyRadku(row));
    });
}

} // namespace trv
