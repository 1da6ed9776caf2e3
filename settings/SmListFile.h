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
// Why an entry cannot be stored, naming the first character at fault; empty for a storable entry. An SM is
// letters and digits: the list splits at any other character, so "12 34" would come back as two SMs.
QString chybaZaznamu(const QString& sm);
// Writes the entries, each followed by ",".
Status uloz(const Config& config, const QStringList& entries);

} // namespace SmListFile
} // namespace trv
