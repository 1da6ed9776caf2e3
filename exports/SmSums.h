#pragma once

#include "core/CColStrav.h"
#include "exports/ExportContext.h"
#include "exports/SmScan.h"
#include "platform/Currency.h"
#include "platform/DbfTable.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace trv {

// What the per-SM pipelines read of the period window.
struct SmSumsRequest {
    QDate dt1, dt2;           // the period, both days included
    QString txtSM;            // SM filter (SmList::Filter)
    bool optDatumVyc = false; // with switch 34: files are dated by the hand-over date after "-"
    bool chkNespojovatSM = false;
    qsizetype pieceSize = StatementLine::kPieceSize; // the scan's pieces (SmScanRequest)
};

enum class SmSumsVariant {
    Cba,    // the accounting batch: [CBA_EXPORT_VEREX] NeexportovatSM excluded, customer-mode names shortened
    Tesco,  // names as found, no exclusion
    Counts, // as Tesco, and a count column beside every sum column
};

// Sums and counts per voucher type of one statement file, or of one read-back row. Index k - 1 belongs to the
// type whose PoradiSpolecnosti is k.
using SmSumsRow = SmFileSums;

struct SmSums {
    std::shared_ptr<CColStrav> types; // a collection of the export's own, loaded from the definitions, no codes
    int columns = 0;                  // hod (and poc) columns of the scratch table
    SmScan scan;                      // one row per statement file taken, as the scratch table holds them
    std::vector<SmSumsRow> rows;      // read back per SM, or per SM, operator and order, ordered by them
};

// The scratch table file in the data folder.
inline const QString kScratchTableName = QStringLiteral("data.dbf");

// The period's statement files (.vyc directly in the current data folder) summed per file and per voucher type
// exactly by the one scan of the per-SM pipelines, the operator told of what it left out, then written to data.dbf
// of the data folder ([Data] Dir) field by field, and read back per SM (or per SM, operator and order). The
// window's own collection is not touched. Errors: those of the scan, a table that cannot be written.
Result<SmSums> sumPeriodPerSm(const ExportContext& ctx, const SmSumsRequest& request, SmSumsVariant variant);

// The sums when they hold rows; with no rows the operator is told that the conditions match nothing (nullopt then,
// and no error).
std::optional<SmSums> rowsOrNothing(ExportContext& ctx, SmSums sums);

// A value column of the scratch table: a number of 20 characters with 4 decimals, as the exports and the reports per
// SM write their sums.
DbfField scratchSumField(const QString& name);
// Whether a value column of the scratch table holds the sum: every amount of the money type but a negative one of
// -10^14 or below, whose text is a character too wide.
bool fitsScratchColumn(Currency sum);
// The message that ends the operation for a sum that does not; `where` names the file or the SM, and the type.
QString scratchColumnMisfitText(const QString& where);
// Whether each file's sums fit the scratch table's value columns (`columnName` names column k), checked before
// anything is written or told; else the message naming the first file and type that do not.
Status fileSumsFitScratchTable(const SmScan& scan, const std::function<QString(size_t)>& columnName);

// A value rounded to two decimals by its decimal text, half away from zero (as ZaokrouhliText).
Currency roundedTo2(Currency v);
// The shortest decimal text with "." ("1234.5", "980", "-3.25").
QString pointText(Currency v);

} // namespace trv
