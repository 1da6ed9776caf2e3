#pragma once

#include "closing/ReceiptInfo.h"
#include "closing/StatementTally.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace trv {

struct AppState;
class CColStrav;
class Clock;
class Printer;
class Prompts;

// The statement of a receipt by product group (customer switch 37): every code of the receipt recognised again
// against the types of TypStravGroup.ini, each group type tallied per nominal value under the product (the
// receipt's voucher type at position groupType) it belongs to, with the product's totals and the totals over
// all products.

// In package mode the counts of the period's package collection are taken off: for the type at a position of
// that collection, its counts per nominal text. An empty function means no period has been computed, and
// nothing is taken off.
using PackageCounts = decltype(ClosingHooks::obdobiBaliky);

struct GroupTypeTally {
    QString name;
    CompanyTally tally; // counts may be negative after the package counts were taken off
};

struct ProductTally {
    QString name;
    std::vector<GroupTypeTally> types;
    Currency amount;
    qint64 count = 0;
};

struct GroupStatement {
    std::vector<ProductTally> products;
    Currency amount;
    qint64 count = 0;
};

// The tally of the receipt `types` by product group, for the product chosen by the name shown in the company
// combo (`chosenName`: a group type of that name chooses its product; any other text, all products). A code
// that no group type recognises is reported by the booking (with customer switch 43 through `errorLog`, the
// program's error-log window) and left out. An error when the group file cannot be loaded or a code cannot be
// valued.
Result<GroupStatement> sectiSkupiny(AppState& state, Prompts& prompts, const Clock& clock, const CColStrav& types,
                                    const QString& chosenName, const PackageCounts& packages,
                                    const std::function<void(const QString&)>& errorLog = {});

// zobrazVycetkuSkupin: the statement as the closing window shows it.
QString zobrazVycetkuSkupin(const AppState& state, const GroupStatement& statement);

// tiskniVycetkuSkupin: the statement printed; the document is left open for the caller to end.
void tiskniVycetkuSkupin(Printer& printer, const AppState& state, const GroupStatement& statement, const QDate& today);

} // namespace trv
