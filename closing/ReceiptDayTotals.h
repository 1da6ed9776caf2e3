#pragma once

#include "core/DayTotals.h"
#include "platform/Result.h"

#include <filesystem>

namespace trv {

// Writes the row of that cash desk and day in exp_data.dbf of the export folder, replacing the values it held,
// or appends the row; the table is created when missing. The table is changed in a copy that replaces it only
// when the row is written, so a failure leaves it as it was.
Status zapisDoExpData(const std::filesystem::path& exportFolder, const DayTotals::Row& row);

} // namespace trv
