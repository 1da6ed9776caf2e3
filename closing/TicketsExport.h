#pragma once

#include "closing/ReceiptInfo.h"
#include "platform/Result.h"
#include "platform/TicketsDatabase.h"

#include <QDate>
#include <QString>

#include <filesystem>
#include <vector>

namespace trv {

struct AppState;
class CColStrav;
class Config;

// The rows of the table `tickets` for a receipt of depot mode: one per code other than the NOREAD text, dated
// the day of the save. An error when a code cannot be valued.
Result<std::vector<TicketRow>> radkyTickets(const AppState& state, const CColStrav& types, const ReceiptInfo& receipt,
                                            const QDate& today);

// Creates the table, where TicketsLocation says it lives, when it is missing and inserts, in one transaction,
// the rows the table does not hold yet (TicketsDatabase::insertMissing): a receipt saved again never doubles its
// rows.
Status zapisTickets(const Config& config, const std::vector<TicketRow>& rows);

} // namespace trv
