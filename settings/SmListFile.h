#pragma once

#include "platform/Result.h"

#include <QStringList>

namespace trv {

class Config;

// The list of valid SMs in [Data] SM, as the SM list editor reads and writes it.
namespace SmListFile {

// The entries in stored order; a missing key gives an empty list, and a last entry without a trailing comma
// is an entry.
QStringList nacti(const Config& config);
// Writes the entries, each followed by ",".
Status uloz(const Config& config, const QStringList& entries);

} // namespace SmListFile
} // namespace trv
