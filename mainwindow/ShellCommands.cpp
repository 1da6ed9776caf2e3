#include "mainwindow/ShellCommands.h"

#include "core/ConfigAccess.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"

namespace trv {

void runTeamViewer(Shell& shell) {
    (void)shell.open(TextFiles::toPath(kRemoteSupportProgram));
}

void regLibrary(const Config& config, Shell& shell) {
    const QString file = config.ctiCestu(QStringLiteral("Data"), QStringLiteral("RegKnihovny")).value_or(QString());
    if (file.trimmed().isEmpty())
        return;
    (void)shell.open(TextFiles::toPath(file));
}

} // namespace trv
