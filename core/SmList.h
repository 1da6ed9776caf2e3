#pragma once

#include <QString>
#include <QStringList>

namespace trv {

// The SM lists ([Data] SM, [CBA_EXPORT_VEREX] NeexportovatSM) and the SM filters typed in the windows. An SM is
// made of letters and digits, so any other character separates entries: every notation a stored configuration
// may hold ("101,205", "101;205", "101 205") reads the same. Every reader of such a list compares whole entries,
// never pieces of the text ("23" is not in "123,456").
namespace SmList {

// The entries in their order; empty pieces are dropped, so a last entry without a trailing comma counts as an
// entry.
QStringList parse(const QString& text);
// True when `sm` (trimmed) equals one entry, without regard to letter case.
bool contains(const QStringList& entries, const QString& sm);
bool contains(const QString& text, const QString& sm);
// The entries joined back in the stored form "a,b,c," (a trailing comma, as the list editor writes it).
QString join(const QStringList& entries);

// The SM filter of a window (txtSM). A text that names no SM (empty, or blanks only) takes every SM, wherever
// the filter is read: the period computation, the reports and the exports treat " " as they treat "".
class Filter {
public:
    explicit Filter(const QString& text) : m_entries(parse(text)) {}
    bool takesAll() const { return m_entries.isEmpty(); }
    bool accepts(const QString& sm) const { return takesAll() || contains(m_entries, sm); }

private:
    QStringList m_entries;
};

} // namespace SmList
} // namespace trv
