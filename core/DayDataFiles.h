#pragma once

#include "platform/FolderListing.h"
#include "platform/Result.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <vector>

namespace trv {

// What a day data file is. The AS400 export writes its nominal summary `<stem>.TXT` beside the day file
// `<stem>.txt`; on a case-sensitive file system both exist side by side and a listing of "*.txt" in any letter
// case would take the summary for a receipt. Every listing of day files goes through these functions.
namespace DayDataFiles {

// True when every non-empty line has the nominal summary's form: `<stem>;` five digits `;` a nominal field.
// An empty file is not a summary.
bool hasSummaryLines(const QString& stem, const QStringList& lines);

// True for a nominal summary: a name ending ".TXT" in capitals beside a ".txt" day file of the same stem,
// or, alone, a ".TXT" file whose lines all have the summary's form.
bool isNominalSummary(const std::filesystem::path& file);

// True for a day data file: a regular file whose name ends ".txt" in any letter case and that is not a
// nominal summary.
bool isDayDataFile(const std::filesystem::path& file);

// The day data files of a folder, sorted by name case-insensitively. The error names the folder.
// Each with its path as listed (which opens a name of any bytes) and its decoded name.
Result<std::vector<FolderListing::Entry>> entries(const std::filesystem::path& folder);
Result<std::vector<std::filesystem::path>> list(const std::filesystem::path& folder);

// The nominal summary written beside this day data file, when one exists (deleting a day file deletes it too).
std::optional<std::filesystem::path> summaryOf(const std::filesystem::path& dayFile);

} // namespace DayDataFiles
} // namespace trv
