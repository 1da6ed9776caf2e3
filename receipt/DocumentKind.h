#pragma once

#include <QString>

namespace trv {

struct AppState;

// The document kind a receipt is started for, chosen or typed in the combo box of the receipt-start dialogs.
// The kind decides which number series of [Data] the document takes (LastFile, LastDobr, LastDovolena,
// LastDarkove, LastUni) and enters the value rules of the codes.
inline const QString kDruhFaktura = QStringLiteral("Faktura");
inline const QString kDruhDobropis = QStringLiteral("Dobropis");
inline const QString kDruhDovolena = QStringLiteral("Dovolena");
inline const QString kDruhDarkove = QStringLiteral("Dárkové");
inline const QString kDruhUni = QStringLiteral("Uni");

// Sets the document-kind switches of a receipt being started: every switch is cleared first, so that a kind
// chosen for an earlier receipt of the run never carries over, then the switch of the kind the text names is
// set. The text must match a kind exactly, letter case included; "Faktura" and any other text leave all off.
void nastavDruhDokladu(AppState& state, const QString& typSeku);

} // namespace trv
