#pragma once

#include <QString>

namespace trv {

// The about box's version line: "Ver.: 3.2.186", plain numbers, no fourth number.
QString textVerze(int major, int minor, int revision);

// The maker's contact shown in the about box.
inline const QString kWebAdresa = QStringLiteral("https://www.trv-stravenky.cz");
inline const QString kMailAdresa = QStringLiteral("podpora@trv-stravenky.cz");

} // namespace trv
