#pragma once

#include "platform/Currency.h"
#include "platform/Result.h"

#include <QString>

#include <map>

namespace trv {

class CStrav;
class Prompts;

// The codes of a voucher type counted per face value, in ascending order of value: the one tally behind the
// statements, the issuer lists, the period and data-file summaries and their prints.
using NominalTable = std::map<Currency, qint64>;

// The codes of the type other than the NOREAD text, each at its face value (CPolozka::DejHodnotu). A code whose
// value cannot be computed stops the tally with its error: a statement or a list must not leave a code out.
Result<NominalTable> nominalTable(const CStrav& type, const QString& noRead);

// The same tally for a summary: a code whose value cannot be computed counts at 0, and the operator is told
// (once per message), as the summaries book the codes of stored files.
NominalTable nominalTableAtZero(const CStrav& type, const QString& noRead, Prompts& prompts);

} // namespace trv
