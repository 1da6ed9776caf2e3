#pragma once

#include <QString>

namespace trv {

// The maintenance password that guards the settings window, the voucher-type editor and the default
// configuration. It is a login within the program, not a secret of the installation.
inline const QString kServisHeslo = QStringLiteral("vraskel");

// True when the typed text is the password exactly (no trimming, letter case counts). The comparison takes
// the same time wherever the texts differ, so the time of a refusal tells nothing of the password.
bool overServisHeslo(const QString& zadane);

} // namespace trv
