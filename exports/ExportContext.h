#pragma once

#include "core/AppState.h"

#include <QString>

namespace trv {

class Clock;
class Progress;
class Prompts;
class Shell;

// What every period export works with: the program's state and configuration, the operator's prompts, the
// shell that opens templates and starts the outside programs, the clock for the day export files carry, and the
// progress of the window that started the export.
struct ExportContext {
    AppState& state;
    Prompts& prompts;
    Shell& shell;
    const Clock& clock;
    // Told of every file the export reads; an export the operator cancels through it fails and writes nothing.
    // None without a window.
    Progress* progress = nullptr;

    // A text of the period window's section of the language file.
    QString text(const char* key) const {
        return state.config.DejText(QStringLiteral("frmSoucVycObd"), QString::fromLatin1(key));
    }
};

} // namespace trv
