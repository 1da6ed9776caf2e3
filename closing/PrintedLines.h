#pragma once

#include "closing/StatementFields.h"

#include <QString>

namespace trv {

struct CompanyTally;
class Printer;

namespace statement {

// The start of every printed statement: bold Courier New, three empty lines, then the body's size.
void zacniTisk(Printer& printer, double bodySize);

// The text underlined after blanks that are not: an underline running out into the margin reads as a stray
// rule. The underline is left as it was.
void printUnderlined(Printer& printer, const QString& lead, const QString& text);

// A company's lines of the printout: the underlined title, an empty line, a line per nominal value, the rule of
// `ruleWidth` underscores and an empty line; every line after `indent`.
void tiskniNominaly(Printer& printer, const QString& indent, const QString& title, const CompanyTally& tally,
                    const NominalFields& fields, int ruleWidth);

} // namespace statement

} // namespace trv
