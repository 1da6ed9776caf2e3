#pragma once

#include <QString>
#include <QStringList>

namespace trv {

// The SM list of [Data] SM and the SM filters typed in the windows: entries separated by "," and blanks.
// Every reader of such a list compares whole entries, never pieces of the text ("23" is not in "123,456").
namespace SmList {

// The entries, trimmed, in their order; empty pieces are dropped, so a last entry without a trailing comma
// counts as an entry.
QStringList parse(const QString& text);
// True when `sm` (trimmed) equals one entry, without regard to letter case.
bool contains(const QStringList& entries, const QString& sm);
bool contains(const QString& text, const QString& sm);
// The entries joined back in the stored form "a,b,c," (a trailing comma, as the list editor writes it).
QString join(const QStringList& entries);

} // namespace SmList
} // namespace trv
