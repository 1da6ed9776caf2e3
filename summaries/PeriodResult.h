#pragma once

#include "core/NominalTable.h"
#include "platform/Currency.h"
#include "platform/Result.h"
#include "summaries/PeriodState.h"

#include <QString>

#include <map>

namespace trv {

struct AppState;

// The one nominal table of a type's stored codes (NOREAD readings not counted): their values were computed, or
// booked at 0 after a message, as the codes were booked.
NominalTable nominalTable(const StoredCodes& codes, int type);

// Whether every amount the period result, the day summary and their prints form of a loaded collection fits the
// money type: a value times its count, a type's total, a group's and the grand total, of any choice of types, the
// package codes taken off. The codes' values are added up type by type, each type's in reading order, those above
// zero apart from those below it (every such amount lies between the two sums); the first code that takes a sum
// out of range names its file and its type (or "součet všech typů") in the error (sumOutOfRangeText).
Status sumsFit(const PeriodCollection& col, const PeriodCollection& packages);

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
