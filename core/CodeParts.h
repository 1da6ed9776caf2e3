#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace trv {

// Parts of a code and their numbers, read the way voucher codes have always been read: positions are
// 1-based; a part that runs past the end of the code is what is there (possibly nothing); a position below 1
// or a length below 1 gives the empty part.
QString codePart(const QString& s, qint64 pos, qint64 len);
// The text as a 32-bit whole number (blanks around and a sign allowed); nullopt for anything else, the empty
// text included, and for a number out of the 32-bit range.
std::optional<qint32> asLong(QStringView text);
// The digit at a 1-based position; nullopt when the position is outside the code or holds no digit.
std::optional<int> digitAt(const QString& s, qint64 pos);

} // namespace trv
