#pragma once

#include "core/AppState.h"
#include "platform/Prompts.h"
#include "platform/Result.h"

#include <filesystem>

namespace trv {

// The start-up procedure over a program folder: fixes the configuration and language files, writes the
// default configuration on a first start (and tells the operator once), reads the NOREAD text and the
// customer switches, checks that the data folder the program cannot run without is configured, and reads
// the main window's settings. A failure has been shown to the operator when this returns; the program
// then does not start.
Status Main(AppState& state, const std::filesystem::path& programFolder, Prompts& prompts);

} // namespace trv
