#pragma once

#include "platform/Result.h"

#include <QString>

namespace trv {

struct AppState;

// The names of documents (the base names of day data files) and the last one of each document kind, kept in
// section Data of the configuration so that numbering survives a restart. A name ends in a run of decimal
// digits, its number; what precedes the run is never changed.

// The configuration key of the current document kind and the name assumed when the key is missing: credit note
// (LastDobr), holiday cheques (LastDovolena), gift vouchers (LastDarkove), universal (LastUni), by the first flag
// set in this order, else LastFile.
struct DruhDokladu {
    QString key;
    QString defaultName;
};
DruhDokladu druhDokladu(const AppState& state);

// The name with its number one higher. Leading zeros keep the width ("_0099" -> "_0100"); a number that outgrows
// its width gets one digit more ("999" -> "1000"), so no earlier name comes back. A name that does not end in a
// digit, the empty name included, comes back unchanged.
QString ZvysCislo(const QString& name);
// The name with its number one lower, keeping its width ("X_10" -> "X_09"); a number of zeros only has no lower
// number and stays, as does a name that does not end in a digit.
QString SnizCislo(const QString& name);

// Remembers the file name without its folder and without anything from its first "." on under the key of the
// current document kind. An error when the name is empty or the configuration cannot be written.
Status UlozPosledniSoubor(const AppState& state, const QString& fileName);
// Steps the remembered name of the current document kind back by one (the receipt was abandoned, its number is
// used again) and writes it back.
Status VratPosledniSoubor(const AppState& state);

} // namespace trv
