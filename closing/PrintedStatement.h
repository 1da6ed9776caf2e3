#pragma once

#include "closing/ReceiptInfo.h"
#include "closing/StatementTally.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace trv {

struct AppState;
class CColStrav;
class Printer;

// The printed statement of the closing window (tiskniVycetku) for the choice: the office's header, the SM or
// the customer block, one block per chosen company, the totals over all companies when all are chosen, and
// the date (in customer mode a stamp and signature field and the hand-over date). Everything bold in the
// fixed-pitch font; titles at 16 points underlined. Texts of section frmUkonceniPr, the EUR ones with
// customer switch 16.
//
// The document is built in the printer and left open: the caller ends it. False when nothing was printed (a
// company chosen in customer mode without any codes); an error when a code cannot be valued.
Result<bool> tiskniVycetku(Printer& printer, const AppState& state, const CColStrav& types, const ReceiptInfo& receipt,
                           const StatementChoice& choice, const QDate& today);

// The header of the printout: one line up to 60 characters, else split after the first comma (else blank) at
// or after character 60. Each line without its indent.
QStringList radkyHlavicky(const QString& header);

} // namespace trv
