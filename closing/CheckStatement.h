#pragma once

#include "platform/Result.h"

#include <QString>

namespace trv {

struct AppState;
class CColStrav;

// The check statement shown while a receipt is still being read (zobrazKontrolniVycetku): the package number
// in package mode, a summary per company with counted vouchers, then every company with its codes per nominal
// value, and the totals over all companies. Fixed-pitch text with CR LF line ends; texts of section
// frmKontrVyc. An error when a code cannot be valued.
Result<QString> zobrazKontrolniVycetku(const AppState& state, const CColStrav& types);

} // namespace trv
