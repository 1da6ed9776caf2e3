#include "closing/TicketsExport.h"

#include "closing/ValuedCodes.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/TicketsLocation.h"

namespace trv {

Result<std::vector<TicketRow>> radkyTickets(const AppState& state, const CColStrav& types, const ReceiptInfo& receipt,
                                            const QDate& today) {
    std::vector<TicketRow> rows;
    const Status valued = proKazdyOcenenyKod(types, state.gNoRead, [&](const ValuedCode& c) {
        TicketRow row;
        row.depo = receipt.gDepo;
        row.dat = today;
        row.identObalky = receipt.gIdentObalky;
        row.identFa = receipt.gIdentFA;
        row.ticketType = QString::number(c.typeNumber);
        row.code = c.code.Kod;
        row.value = c.value;
        row.operatorName = receipt.gOperator;
        rows.push_back(row);
    });
    if (!valued.ok())
        return valued.error();
    return rows;
}

Status zapisTickets(const Config& config, const std::vector<TicketRow>& rows) {
    Result<std::unique_ptr<TicketsDatabase>> db = openTicketsDatabase(config);
    if (!db.ok())
        return Status(db.error());
    if (Status created = db.value()->createTableIfMissing(); !created.ok())
        return created;
    return db.value()->insertMissing(rows);
}

} // namespace trv
