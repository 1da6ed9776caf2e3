#pragma once

#include "core/AppState.h"
#include "platform/Prompts.h"
#include "platform/Result.h"

#include <filesystem>

namespace trv {

class Clock;

// The start-up procedure over a program folder: fixes the configuration and language files, writes the
// default configuration on a first start (and tells the operator once), reads the NOREAD text and the
// customer switches, checks that the data folder the program cannot run without is configured, and reads
// the main window's settings. A failure has been shown to the operator when this returns; the program
// then does not start.
Status Main(AppState& state, const std::filesystem::path& programFolder, Prompts& prompts);

// Creates the run's voucher-type collection (gColStrav) and loads TypStrav.ini into it. A file that fails to
// load has its message shown and stops the start: running on with the types read before the fault would book
// the codes of the missing types by length to others. A file that yields no type is reported, and the
// program runs on (the settings can still be reached).
Status NactiTypyStravenek(AppState& state, Prompts& prompts, const Clock& clock);

} // namespace trv
