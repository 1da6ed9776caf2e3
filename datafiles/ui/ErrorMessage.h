#pragma once

#include "platform/Result.h"

#include <QString>

namespace trv {

// The data-file windows' message of a failed operation: the window's text, CR LF, "Num: " and the error's number,
// `descr` (", popis: ") and the description. An error without a number has no "Num: " part ("Num: 0" tells the
// operator nothing): the line then starts with `descr` without its leading comma and blanks.
inline QString errorMessage(const QString& text, const Error& error, const QString& descr) {
    QString out = text + QStringLiteral("\r\n");
    if (error.number != 0)
        return out + QStringLiteral("Num: ") + QString::number(error.number) + descr + error.message;
    qsizetype from = 0;
    while (from < descr.size() && (descr[from] == u',' || descr[from] == u' '))
        ++from;
    return out + descr.mid(from) + error.message;
}

} // namespace trv
