#include "core/ValueTable.h"

namespace trv {

bool ValueTable::add(const QString& key, const QString& value)
{
    if (m_index.contains(key))
        return false;
    m_index.insert(key, static_cast<qsizetype>(m_entries.size()));
    m_entries.emplace_back(key, value);
    return true;
}

std::optional<QString> ValueTable::value(const QString& key) const
{
    const auto it = m_index.constFind(key);
    if (it == m_index.constEnd())
        return std::nullopt;
    return m_entries[static_cast<size_t>(*it)].second;
}

} // namespace trv
