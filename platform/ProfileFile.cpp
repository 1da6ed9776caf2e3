#include "platform/ProfileFile.h"

#include "platform/IniDocument.h"
#include "platform/TextFiles.h"

namespace trv::ProfileFile {

QString read(const std::filesystem::path& file, const QString& section, const QString& key,
             const QString& defaultValue) {
    return read(file, section, key).value_or(defaultValue);
}

std::optional<QString> read(const std::filesystem::path& file, const QString& section, const QString& key) {
    // An unreadable file reads as a missing one, as the profile functions behave.
    const auto doc = IniDocument::load(file);
    if (!doc.ok())
        return std::nullopt;
    return doc.value().value(section, key);
}

Status write(const std::filesystem::path& file, const QString& section, const QString& key, const QString& value) {
    if (Status check = IniDocument::checkEntry(section, key, value); !check.ok()) {
        return Status::fail(
            QStringLiteral("Nelze zapsat do souboru %1: %2").arg(TextFiles::toQString(file), check.message()));
    }
    auto doc = IniDocument::load(file);
    if (!doc.ok())
        return Status(doc.error());
    doc.value().setValue(section, key, value);
    return doc.value().save(file);
}

} // namespace trv::ProfileFile
