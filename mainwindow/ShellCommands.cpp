#include "mainwindow/ShellCommands.h"

#include "core/ConfigAccess.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"

namespace trv {

void runTeamViewer(Shell& shell, Prompts& prompts) {
    if (Status st = shell.open(TextFiles::toPath(kRemoteSupportProgram)); !st)
        prompts.error(st.message());
}

void regLibrary(const Config& config, Shell& shell, Prompts& prompts) {
    const QString file = config.ctiCestu(QStringLiteral("Data"), QStringLiteral("RegKnihovny")).value_or(QString());
    // A menu item that can do nothing says why, naming the setting that would give it its file.
    if (file.trimmed().isEmpty()) {
        prompts.info(config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("RegKnihovnyChybi")));
        return;
    }
    if (Status st = shell.open(TextFiles::toPath(file)); !st)
        prompts.error(st.message());
}

} // namespace trv
