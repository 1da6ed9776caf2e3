#pragma once

#include "core/DayTotals.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>

#include <filesystem>

namespace trv {

class CColStrav;

// The receipt's share of the day totals kept in exp_data.dbf: the value of the codes of the four issuers (by
// the first three letters of the type's name, a later type of an issuer replacing an earlier one), for the
// cash desk and day of the receipt.
Result<DayTotals::Row> souctyPrijmu(const CColStrav& types, qint64 pokladna, const QDate& den);

// Adds the totals to the row of that cash desk and day in exp_data.dbf of the export folder, or appends the
// row; the table is created when missing. The table is changed in a copy that replaces it only when the row
// is written, so a failure leaves it as it was.
Status pridejDoExpData(const std::filesystem::path& exportFolder, const DayTotals::Row& totals);

} // namespace trv
