#include "core/ValueTable.h"

#include <atomic>

namespace trv {

namespace {
std::atomic<quint64> g_lastRevision{0};
}

bool ValueTable::add(const QString& key, const QString& value)
{
    if (m_index.contains(key))
        return false;
    m_index.insert(key, static_cast<qsizetype>(m_entries.size()));
    m_entries.emplace_back(key, value);
    m_revision = ++g_lastRevision;
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
