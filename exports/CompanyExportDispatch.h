#pragma once

#include "exports/ExportContext.h"
#include "exports/IssuerLists.h"

#include <QDate>
#include <QString>

namespace trv {

class CColStrav;

// The name of the per-company text file of a period: "<dt1 YYMMDD><dt2 DD><prefix>", or with the short form
// ([Data] ExpSpolZkraceny) "<last digit of the year><MMDD><dt2 DD><first letter of the prefix>"; the prefix is
// the first three characters of the chosen type's name.
QString nazevSouboruSpolecnosti(const QString& typeText, const QDate& dt1, const QDate& dt2, bool zkraceny);

// The period window's export button: exports the chosen type of the computed period as the issuer lists its
// name and the customer switches select and, without switch 20, as the per-company text file of every code
// of the types whose names begin like the chosen one. `period` is the period's own collection as the last
// computation left it; null when no period is computed, which is refused with a message. The collection is
// only read. Every message and error is shown to the operator here; the result is for the caller's records.
Status cmdExport(ExportContext& ctx, const CColStrav* period, const ExportTypeChoice& choice, const QDate& dt1,
                 const QDate& dt2);

} // namespace trv
