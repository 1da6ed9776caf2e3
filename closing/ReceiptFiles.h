#pragma once

#include "closing/ReceiptInfo.h"
#include "platform/Currency.h"
#include "platform/Result.h"
#include "platform/TextFiles.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace trv {

struct AppState;
class CColStrav;

// The files a closed receipt is saved in: the day data file, the statement file and the safe-bag list. Each is
// written whole through a temporary file that replaces the old one only when complete.

// True when the file exists and carries no write permission. The operator marked it so: it is neither
// rewritten nor deleted (the check does not rely on the user we run as, which may be allowed everything).
bool jenProCteni(const std::filesystem::path& file);

// Replaces the day data file with the codes of the receipt, one per line. A read-only file is refused.
Status zapisDenniSoubor(const std::filesystem::path& file, const CColStrav& types);

// The statement file of a day data file: its path with "vyc" in place of the last three characters.
std::filesystem::path cestaVycetky(const std::filesystem::path& dayFile);

// Appends the "###0.00" text of a value ("125,50").
void pripojHodnotu(QString& out, Currency value);

// The records of the statement file, one per code other than the NOREAD text, fields joined by the separator:
// depot mode (switch 28): depot, receipt date, envelope id, SM, type number, code, value, operator; else
// without the leading date (switch 11): receipt date, SM, type number, code, value, operator; otherwise the
// statement date gDatumVycetky in front of those. Each record is handed to `record` as it is made, so a statement
// of 50,000 codes is never held as a list. An error when a code cannot be valued; the records before it have then
// been handed on already.
Status zaznamyVycetky(const AppState& state, const CColStrav& types, const ReceiptInfo& receipt,
                      const QString& separator, const TextFiles::LineSink& record);

// Writes the safe-bag list of the receipt (every code, NOREAD readings included) into the folder under the name
// YYMMDDHHmmss.sfb of the time given, as zapisSeznamSafeBag does. Returns the file.
Result<std::filesystem::path> zapisSafeBag(const std::filesystem::path& folder, const CColStrav& types,
                                           const QDateTime& now);

} // namespace trv
