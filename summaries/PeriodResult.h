#pragma once

#include "core/NominalTable.h"
#include "platform/Currency.h"
#include "summaries/PeriodState.h"

#include <QString>

#include <map>

namespace trv {

struct AppState;

// The one nominal table of a type's stored codes (NOREAD readings not counted): their values were computed, or
// booked at 0 after a message, as the codes were booked.
NominalTable nominalTable(const StoredCodes& codes, int type);

// The period result in rtbVyc (zobrazVysledek): the filter lines, per shown type its table of value, count and
// amount with its totals, and the totals over the shown types. In package mode the counts of the period's package
// files are taken off (`packages`, may be empty). Lines end CR LF; texts of section frmSoucVycObd.
QString zobrazVysledek(const AppState& state, const PeriodCollection& col, const PeriodCollection& packages,
                       const TypeChoice& choice, const QString& sm, const QString& oper);
// zobrazVysledekSkupin: the types by product group (customer switch 37), each group with its totals; the groups
// are numbered 1 to the number of types of `global` (the receipt's collection), whose names head the group
// footers.
QString zobrazVysledekSkupin(const AppState& state, const PeriodCollection& col, const PeriodCollection& packages,
                             const CColStrav& global, const QString& chosenName, const QString& sm,
                             const QString& oper);
// The duplicate listing of cmbDuplicity: per type each later reading the check set aside, with its file and the
// file of the first.
QString vypisDuplicit(const AppState& state, const PeriodCollection& col);

} // namespace trv
