#pragma once

#include "platform/Result.h"

#include <QString>

namespace trv {

// The number and the description of an error as the messages of the program show them after their own text:
// "<numberLabel>: <number>, <descriptionLabel>: <description>" ("Num: 60003, descr: …"). An error that has no
// number of its own (0) shows no number part, never "Num: 0": "<descriptionLabel>: <description>".
QString errorNumberAndDescription(const Error& error, const QString& numberLabel, const QString& descriptionLabel);
// The same with the number given as text (a database's own code); an empty text leaves the number part out.
QString errorNumberAndDescription(const QString& number, const QString& description, const QString& numberLabel,
                                  const QString& descriptionLabel);
// "Num: <number>" and the description after `separator` as the window's language text gives it (", popis: ",
// " descr: "); without a number the description follows the separator with its leading comma and blanks dropped.
QString errorNumberThenDescription(const Error& error, const QString& separator);

} // namespace trv
