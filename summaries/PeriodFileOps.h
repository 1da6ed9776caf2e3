#pragma once

#include "platform/Result.h"
#include "summaries/PeriodState.h"

#include <QDateTime>
#include <QString>

#include <filesystem>

namespace trv {

struct AppState;
class Progress;

// The ticket list of cmdSaveTicketsAs: the file in the export folder named after the moment of the click
// ("YYYYMMDD_HHmmss.txt").
Result<std::filesystem::path> souborStravenek(const AppState& state, const QDateTime& click);

// Writes the codes of the shown types of the loaded collection, one per line in the order held (NOREAD readings
// never), into the file as they are walked: no list of them is made, and the file replaces the old one only when
// complete. The progress, when there is one, is told the codes written of the codes to write; a cancel leaves
// the old file as it was and fails with Progress::cancelledText(). The number of codes written.
Result<qint64> ulozStravenky(const PeriodCollection& col, const TypeChoice& choice, const std::filesystem::path& file,
                             Progress* progress = nullptr);
// Whether an operation failed because the operator cancelled it.
bool zruseno(const Error& error);
// The message after a saved list: "Bylo uloženo <n> stravenek do souboru <file>."
QString zpravaUlozeno(qint64 count, const std::filesystem::path& file);

// cmdEnd in collected safe-bag mode: every safe-bag file (".sfb", a name longer than 10 characters) of the
// folder is renamed to ".exp", marking it taken over. A file whose ".exp" name is taken, or that cannot be
// renamed, keeps its name; the error lists them and the others are renamed all the same.
Status prejmenujSafeBag(const std::filesystem::path& folder);

} // namespace trv
