#pragma once

#include "platform/Printer.h"
#include "summaries/PeriodState.h"

#include <QDate>
#include <QString>

namespace trv {

struct AppState;
class Clock;

// What the period print reads of the period window besides its computed period.
struct PeriodPrintChoice {
    QString rtbText;      // rtbVyc: a duplicate listing there is printed as it stands
    QString cmbStrav;     // the chosen entry's text
    bool allTypes = true; // its item data is 0
    QString sm;           // txtSM
    QString oper;         // txtOper
    QDate dtDek;
    QString fontName = QStringLiteral("Courier New");
};

// cmdPrint: the duplicate listing, or the computed period per voucher type and nominal value (tiskniObdobi), or
// with voucher-type groups (switch 37) per group (tiskniObdobiSkupin). Reads the window's state and changes
// nothing. True when the summary was printed (the window then says so); false for the listing.
bool tiskniPrehledObdobi(Printer& printer, const AppState& state, const Clock& clock, const PeriodState& period,
                         const PeriodPrintChoice& choice);

} // namespace trv
