#pragma once

#include "platform/Result.h"

#include <QString>

#include <filesystem>
#include <optional>

namespace trv {

/// Reading and writing one key of an INI file, as the Windows profile functions do.
namespace ProfileFile {

/// The key's value, or the default when the file, the section or the key is missing or the file cannot
/// be read. The value is never cut here: callers that keep a buffer size cut it themselves.
QString read(const std::filesystem::path& file, const QString& section, const QString& key,
             const QString& defaultValue);
/// The key's value, or nullopt when the file, the section or the key is missing or unreadable.
std::optional<QString> read(const std::filesystem::path& file, const QString& section, const QString& key);

/// Writes one key: creates the file, the section and the key as needed and keeps every other line.
Status write(const std::filesystem::path& file, const QString& section, const QString& key, const QString& value);

} // namespace ProfileFile
} // namespace trv
