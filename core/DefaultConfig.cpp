#include "core/DefaultConfig.h"

#include "platform/IniDocument.h"
#include "platform/TextFiles.h"

namespace trv {

Status writeDefaultConfig(const std::filesystem::path& iniFile, const std::filesystem::path& programFolder,
                          const QString& baudRate) {
    // An unreadable file is reported, never replaced: it may hold an installation's settings.
    auto doc = IniDocument::load(iniFile);
    if (!doc.ok())
        return Status(doc.error());

    IniDocument& ini = doc.value();
    ini.setValue(QStringLiteral("Data"), QStringLiteral("Dir"), TextFiles::toQString(programFolder));
    ini.setValue(QStringLiteral("Comm"), QStringLiteral("Port"), QStringLiteral("COM1"));
    ini.setValue(QStringLiteral("Comm"), QStringLiteral("HShaking"), QStringLiteral("XOn/XOff"));
    ini.setValue(QStringLiteral("Comm"), QStringLiteral("BaudRate"), baudRate);
    ini.setValue(QStringLiteral("Comm"), QStringLiteral("Data bits"), QStringLiteral("8"));
    ini.setValue(QStringLiteral("Comm"), QStringLiteral("Stop bits"), QStringLiteral("1"));
    ini.setValue(QStringLiteral("Comm"), QStringLiteral("Parity"), QStringLiteral("None"));
    ini.setValue(QStringLiteral("User"), QStringLiteral("Mode"), QStringLiteral("STD"));
    return ini.save(iniFile);
}

Status VytvorVychoziKonfiguraci(const std::filesystem::path& iniFile, const std::filesystem::path& programFolder) {
    return writeDefaultConfig(iniFile, programFolder, kDefaultBaudRate);
}

Status PrepisVychoziKonfiguraci(const std::filesystem::path& iniFile, const std::filesystem::path& programFolder) {
    return writeDefaultConfig(iniFile, programFolder, kDefkonfBaudRate);
}

QString defaultConfigCreatedMessage() {
    return QStringLiteral("Proběhlo vytvoření výchozího konfiguračního souboru.\n"
                          "Pokud chcete provést změny v konfiguraci otevřete modul Servis.");
}

} // namespace trv
