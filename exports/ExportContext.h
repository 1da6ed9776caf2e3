#pragma once

#include "core/AppState.h"

#include <QString>

namespace trv {

class Clock;
class Prompts;
class Shell;

// What every period export works with: the program's state and configuration, the operator's prompts, the
// shell that opens templates and starts the outside programs, and the clock for the day export files carry.
struct ExportContext {
    AppState& state;
    Prompts& prompts;
    Shell& shell;
    const Clock& clock;

    // A text of the period window's section of the language file.
    QString text(const char* key) const {
        return state.config.DejText(QStringLiteral("frmSoucVycObd"), QString::fromLatin1(key));
    }
};

} // namespace trv
