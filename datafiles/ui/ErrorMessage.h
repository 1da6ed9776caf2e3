#pragma once

#include "core/ErrorText.h"
#include "platform/Result.h"

#include <QString>

namespace trv {

// The data-file windows' message of a failed operation: the window's text, CR LF, the error's number and, after
// `descr` (", popis: "), its description; an error without a number has no "Num: " part.
inline QString errorMessage(const QString& text, const Error& error, const QString& descr) {
    return text + QStringLiteral("\r\n") + errorNumberThenDescription(error, descr);
}

} // namespace trv
