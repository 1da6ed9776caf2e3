#include "settings/ReaderMaintenance.h"

#include "platform/Shell.h"
#include "platform/TextFiles.h"

namespace trv {

std::optional<HlaseniMenuCtecky> otevriMenuCtecky(Shell& shell, const std::filesystem::path& workingFolder) {
    if (!TextFiles::findCaseInsensitive(workingFolder, QStringLiteral("Term.TRM")))
        return HlaseniMenuCtecky{QStringLiteral("Soubor Term.TRM nebyl nalezen."), Prompts::Icon::None};
    const std::optional<std::filesystem::path> program =
        TextFiles::findCaseInsensitive(workingFolder, QStringLiteral("Term_e.exe"));
    if (!program)
        return HlaseniMenuCtecky{QStringLiteral("Soubor Term_e.exe nebyl nalezen."), Prompts::Icon::None};
    if (Status st = shell.startProgram(*program, {QStringLiteral("Term.TRM")}, workingFolder); !st) {
        // The terminal program is a Windows program; elsewhere the shell says why it cannot run.
        return HlaseniMenuCtecky{
            QStringLiteral("Vyskytla se chyba: %1.\nPopis: %2").arg(st.error().number).arg(st.message()),
            Prompts::Icon::Critical};
    }
    return std::nullopt;
}

} // namespace trv
