#pragma once

#include "core/CColStrav.h"
#include "core/StatementLine.h"
#include "platform/Currency.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>
#include <vector>

namespace trv {

struct AppState;
class Progress;
class Prompts;

// What sets the per-SM pipelines apart. The exports of the period export button and the reports per SM read the
// period's statement files by one scan; each names its own row of this table.
struct SmScanVariant {
    enum class Columns {
        PerType, // one column per voucher type, by the type the code is recognised as
        Three,   // the fixed issuers by the type field: SODEXHO, CHEQUE DJ, TICKET
        Five,    // and EXI and the vouchers (counted in whole crowns)
    };
    enum class Value {
        Field,       // the value field after the code
        FieldOrEuro, // the value field, in EUR mode the code's own value
        Always,      // the code's own value
    };
    Columns columns;
    Value value;
    bool dropCustomerPrefix;  // customer mode (switch 27): the name loses its first two characters before every test
    bool excludeNeexportovat; // the SMs of [CBA_EXPORT_VEREX] NeexportovatSM are left out
};

// What the period window's controls say when a per-SM pipeline starts.
struct SmScanRequest {
    QDate dt1, dt2;           // the period, both days included
    QString txtSM;            // the SM filter (SmList::Filter)
    QString txtOper;          // the operator, in any letter case; empty takes every operator
    bool optDatumVyc = false; // with switch 34: files are dated by the hand-over date after "-"
    // Told of every file read (files read of files to read); a scan the operator cancels through it fails. None
    // without a window.
    Progress* progress = nullptr;
    // The bytes of a statement file read at a time (StatementLine::forEachPiece).
    qsizetype pieceSize = StatementLine::kPieceSize;
};

// One statement file taken: the parts of its name and its sums and counts per column (index k - 1 belongs to the
// type whose PoradiSpolecnosti is k, or to the k-th fixed issuer).
struct SmFileSums {
    QString sm;
    QString oper; // cut to three characters
    QString poradi;
    QString datum;
    std::vector<Currency> sums;
    std::vector<qint64> counts;
    QString file; // the statement file's name as the scan took it, for messages; empty in a row of several files
};

// The period's statement files reduced to one row each: only these rows are held, never the lines.
struct SmScan {
    std::vector<SmFileSums> files; // in name order
    // The parts last taken from a name, for the zero rows of the reports: the date of the last statement file looked
    // at, the operator and order of the last one within the period.
    QString lastDatum, lastOper, lastPoradi;
    qint64 skippedLines = 0;    // lines no type recognises, without the code and value fields, or with a value field
    QStringList skippedFiles;   // that is not an amount; the files that hold them
    QStringList filesWithoutSm; // statement files of the period whose name gives no SM: left out of the sums
    QString lastUnknown;        // "<file> Nerozpoznaná stravenka! : <code>" and CR LF, of the last such code
};

// The statement files (".vyc", at least 11 characters) directly in the current data folder, dated in the period
// (by the hand-over date with switch 34 and optDatumVyc), whose SM passes the filter and the exclusion and whose
// operator the request's, each summed per column. A name gives its SM as the period computation reads it
// (smAndOperator), its operator as its third "_"-part; the code field follows the record layout
// (statementCodeField). `types` recognises the codes of the per-type columns and gives their number (`columns`, at
// least its number of types); the fixed-issuer columns need none. A value field that is not wholly an amount
// (Currency::parse) skips its line. Errors: a name without the hand-over date while it selects (Soubor, the name,
// NeobsDatum), an unreadable file, a code whose own value cannot be computed where the variant values codes, a
// file's sum of a column that the money type cannot hold (the file and the column named), the operator's cancel
// (Progress::cancelledText()).
Result<SmScan> scanStatementFiles(AppState& state, Prompts& prompts, CColStrav* types, int columns,
                                  const SmScanRequest& request, const SmScanVariant& variant);

// The name of value column k (0-based) for messages: the voucher type whose PoradiSpolecnosti is k + 1, or the
// fixed issuer.
QString columnName(const CColStrav* types, SmScanVariant::Columns columns, int k);

// Tells the operator what the scan left out, before anything is written: the statement files whose name gives no
// SM in one message, the lines that could not be used in another, each naming the files.
void tellLeftOut(const AppState& state, Prompts& prompts, const SmScan& scan);

} // namespace trv
