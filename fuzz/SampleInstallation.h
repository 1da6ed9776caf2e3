#pragma once

#include "FuzzFolder.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"

#include <QDateTime>

#include <filesystem>
#include <memory>
#include <system_error>

namespace trv::fuzz {

// The sample installation's configuration, texts and voucher types in the fuzz folder, loaded once per run, with
// the clock on a fixed day so that file names carry the same date every run.
struct SampleInstallation {
    SampleInstallation() : clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0))) {
        for (const char* name : {"TRV7300.ini", "TypStrav.ini", "hodnoty_beta.ini", "langCS.ini"}) {
            std::error_code ec;
            std::filesystem::copy_file(std::filesystem::path(TRV_SAMPLE_DIR) / name, folder() / name,
                                       std::filesystem::copy_options::overwrite_existing, ec);
        }
        state = AppState(folder());
        types = std::make_unique<CColStrav>(state, prompts, clock);
        if (!types->NactiINI().ok() || types->count() == 0)
            __builtin_trap(); // the sample installation must load
    }

    AppState state;
    ScriptedPrompts prompts{[](const QString&) {}};
    FixedClock clock;
    std::unique_ptr<CColStrav> types;
};

} // namespace trv::fuzz
