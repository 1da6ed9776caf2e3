#include "platform/ui/DesktopShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace trv {

namespace {

QString pathText(const std::filesystem::path& p) {
    return QDir::toNativeSeparators(QString::fromStdU16String(p.u16string()));
}

Status openLocal(const std::filesystem::path& target, const QString& what) {
    const QFileInfo info(QString::fromStdU16String(target.u16string()));
    if (!info.exists()) {
        return Status::fail(QStringLiteral("%1 %2 neexistuje.").arg(what, pathText(target)));
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()))) {
        return Status::fail(
            QStringLiteral("%1 %2 nelze otevřít: systém pro něj nemá žádný program.").arg(what, pathText(target)));
    }
    return {};
}

} // namespace

Status DesktopShell::openDocument(const std::filesystem::path& file) {
    return openLocal(file, QStringLiteral("Soubor"));
}

Status DesktopShell::openFolder(const std::filesystem::path& folder) {
    return openLocal(folder, QStringLiteral("Složka"));
}

Status DesktopShell::openUrl(const QUrl& url) {
    if (!QDesktopServices::openUrl(url)) {
        return Status::fail(
            QStringLiteral("Adresu %1 nelze otevřít: systém pro ni nemá žádný program.").arg(url.toString()));
    }
    return {};
}

Status DesktopShell::startProgram(const std::filesystem::path& program, const QStringList& arguments,
                                  const std::filesystem::path& workingFolder) {
    // The common causes are told in Czech before the system is asked; what it says after that is the detail.
    const QFileInfo info(QString::fromStdU16String(program.u16string()));
    if (!info.exists())
        return Status::fail(QStringLiteral("Program %1 nelze spustit: soubor neexistuje.").arg(pathText(program)));
    if (!info.isExecutable()) {
        return Status::fail(
            QStringLiteral("Program %1 nelze spustit: soubor nemá právo ke spuštění.").arg(pathText(program)));
    }
    QProcess process;
    process.setProgram(QString::fromStdU16String(program.u16string()));
    process.setArguments(arguments);
    if (!workingFolder.empty()) {
        process.setWorkingDirectory(QString::fromStdU16String(workingFolder.u16string()));
    }
    if (!process.startDetached()) {
        return Status::fail(QStringLiteral("Program %1 nelze spustit: systém jej nedokázal spustit, například protože "
                                           "to není program pro tento systém (%2).")
                                .arg(pathText(program), process.errorString()));
    }
    return {};
}

} // namespace trv
