#pragma once

#include "closing/ReceiptInfo.h"
#include "platform/Result.h"

#include <QDate>

namespace trv {

struct AppState;
class CColStrav;
class Printer;

// The printed check statement (and, in package mode, the package statement): the office's header, the cash
// desk (not in package mode), the customer lines in customer mode, the title, every company with its codes
// per nominal value and its totals, the totals over all companies and the date. Everything bold in the
// fixed-pitch font. Texts of section frmKontrVyc (the customer labels of frmZakaznik and frmUkonceniPr).
//
// The document is built in the printer and left open: the caller ends it. An error, with nothing printed,
// when a code cannot be valued.
Status tiskniKontrolniVycetku(Printer& printer, const AppState& state, const CColStrav& types,
                              const ReceiptInfo& receipt, const QDate& today);

} // namespace trv
