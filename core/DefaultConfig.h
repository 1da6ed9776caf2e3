#pragma once

#include "platform/Result.h"

#include <QString>

#include <filesystem>

namespace trv {

// The default configuration: eight keys that let the program start on a fresh installation
// (data folder = program folder, reader on COM1).
inline const QString kDefaultBaudRate = QStringLiteral("38400");
// The maintenance command writes the same keys with the slower line that older readers need.
inline const QString kDefkonfBaudRate = QStringLiteral("19200");

// Writes the eight default keys, in their order, into the configuration file: creates the file when it
// does not exist, otherwise changes only these keys and keeps every other line. The file is replaced in
// one step, so a failure leaves it as it was.
Status writeDefaultConfig(const std::filesystem::path& iniFile, const std::filesystem::path& programFolder,
                          const QString& baudRate = kDefaultBaudRate);

// The default file of a first start (baud rate 38400).
Status VytvorVychoziKonfiguraci(const std::filesystem::path& iniFile, const std::filesystem::path& programFolder);
// The menu command's rewrite of the eight keys over an existing file (baud rate 19200).
Status PrepisVychoziKonfiguraci(const std::filesystem::path& iniFile, const std::filesystem::path& programFolder);

// The information the operator gets once, after the default file was created.
QString defaultConfigCreatedMessage();

} // namespace trv
