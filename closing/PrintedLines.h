#pragma once

#include "closing/StatementFields.h"

#include <QString>

namespace trv {

struct CompanyTally;
class Printer;

namespace statement {

// The start of every printed statement: bold Courier New, three empty lines, then the body's size.
void zacniTisk(Printer& printer, double bodySize);

// A company's lines of the printout: the underlined title, an empty line, a line per nominal value, the rule of
// `ruleWidth` underscores and an empty line; every line after `indent`.
void tiskniNominaly(Printer& printer, const QString& indent, const QString& title, const CompanyTally& tally,
                    const NominalFields& fields, int ruleWidth);

} // namespace statement

} // namespace trv
