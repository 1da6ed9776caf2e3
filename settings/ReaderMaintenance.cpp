#include "settings/ReaderMaintenance.h"

#include "platform/Shell.h"
#include "platform/TextFiles.h"

namespace trv {

std::optional<HlaseniMenuCtecky> otevriMenuCtecky(Shell& shell, const std::filesystem::path& workingFolder) {
    // The folder searched follows the fixed text, so the operator knows where the file was missed.
    const QString ve = QStringLiteral("\nHledáno ve složce: ") + TextFiles::toQString(workingFolder);
    if (!TextFiles::findCaseInsensitive(workingFolder, QStringLiteral("Term.TRM")))
        return HlaseniMenuCtecky{QStringLiteral("Soubor Term.TRM nebyl nalezen.") + ve, Prompts::Icon::None};
    const std::optional<std::filesystem::path> program =
        TextFiles::findCaseInsensitive(workingFolder, QStringLiteral("Term_e.exe"));
    if (!program)
        return HlaseniMenuCtecky{QStringLiteral("Soubor Term_e.exe nebyl nalezen.") + ve, Prompts::Icon::None};
    if (Status st = shell.startProgram(*program, {QStringLiteral("Term.TRM")}, workingFolder); !st) {
        // The terminal program is a Windows program; elsewhere the shell says why it cannot run. A system error
        // number would tell the operator nothing: the reason is told in words.
        return HlaseniMenuCtecky{QStringLiteral("Menu čtečky nelze otevřít.\nPopis: ") + st.message(),
                                 Prompts::Icon::Critical};
    }
    return std::nullopt;
}

} // namespace trv
