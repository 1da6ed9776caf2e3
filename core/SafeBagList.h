#pragma once

#include "platform/Result.h"
#include "platform/TextFiles.h"

#include <QDateTime>

#include <filesystem>
#include <functional>

namespace trv {

class Config;

// The safe-bag list: the saved form of a receipt in the collected safe-bag mode, every code one per line, named by
// the moment it is written. The period summary counts the lists of the safe-bag folder and marks them taken over.

// The folder of the lists: [Data] DirSFB, or without that key the program folder (the stand-in for the root of
// drive C).
Result<std::filesystem::path> slozkaSafeBag(const Config& config);

// Writes a list of the lines `produce` hands on into the folder under the name YYMMDDHHmmss.sfb of the time given.
// A list already written under that name, or already taken over by the period summary (.exp), is never replaced:
// the next second's name that is free is taken. Returns the file.
Result<std::filesystem::path> zapisSeznamSafeBag(const std::filesystem::path& folder,
                                                 const std::function<bool(const TextFiles::LineSink&)>& produce,
                                                 const QDateTime& now);

} // namespace trv
