#pragma once

#include "core/CColStrav.h"
#include "exports/ExportContext.h"
#include "platform/Currency.h"
#include "platform/Result.h"

#include <QString>

#include <memory>
#include <vector>

namespace trv {

// The entry chosen in the period window's type combo box: its text and its item data (0 for the all-types
// entry, else the type's place in the collection).
struct ExportTypeChoice {
    QString text;
    int itemData = 0;
};

// The types of the computed period an issuer list is written for: every type whose name equals the chosen text
// exactly, in collection order; none for the all-types entry. A period of a single type has no all-types entry
// and gives that type the mark 0 too: then the single type is the choice.
std::vector<CColStrav::StravPtr> chosenTypes(const CColStrav& period, const ExportTypeChoice& choice);

// One line of an issuer's list: a nominal value and how many codes of it the type holds.
struct NominalRow {
    Currency value;
    qint64 count = 0;
};
// The nominal values of the type's codes (NOREAD readings left out), ascending, from the one nominal table. An
// error when a code cannot be valued.
Result<std::vector<NominalRow>> issuerRows(const CStrav& type, const QString& noRead);

enum class Issuer { Vasa, Doxx, Edenred, Sodexo };

// The issuer's list as csv rows "value;count" in the per-company export folder, then the issuer's spreadsheet
// template opened, or with switch 42 the outside list program started with the issuer's parameter. More values
// than the form has rows: the rows written so far stay, the row-limit message is shown and nothing is opened.
Status exportujSupiskuCsv(ExportContext& ctx, const CColStrav& period, const ExportTypeChoice& choice, Issuer issuer);
// The issuer's list as html tables for the issuer's ods template, which is opened afterwards.
Status exportujSupiskuHtml(ExportContext& ctx, const CColStrav& period, const ExportTypeChoice& choice, Issuer issuer);
// The cheque list "supiska.csv" (value;count;total) and the establishment line "db.csv", then the type's form
// program started, or the operator told where the files are. An establishment field holding ";" or a line
// break would shift the fields of db.csv: it is refused by name and nothing is written.
Status exportujSupiskuCheque(ExportContext& ctx, const CColStrav& period, const ExportTypeChoice& choice);

} // namespace trv
