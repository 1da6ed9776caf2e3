#pragma once

#include "closing/ReceiptInfo.h"
#include "closing/StatementTally.h"
#include "platform/Result.h"

#include <QString>

namespace trv {

struct AppState;
class CColStrav;

// The statement shown in the closing window (zobrazVycetku): a summary per company, then per chosen company
// its codes per nominal value with the company's totals, and the totals over all companies when all are
// chosen. Fixed-pitch text, lines ended by CR LF (the last one of the all-companies choice has none). Texts of
// section frmUkonceniPr; customer lines in customer mode when one company is chosen. An error when a code
// cannot be valued.
Result<QString> zobrazVycetku(const AppState& state, const CColStrav& types, const ZvolenyZakaznik& zakaznik,
                              const StatementChoice& choice);

// The types a choice covers, in collection order.
std::vector<std::shared_ptr<class CStrav>> vybraneTypy(const CColStrav& types, const StatementChoice& choice);

} // namespace trv
