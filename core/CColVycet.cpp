#include "core/CColVycet.h"

namespace trv {

Status CColVycet::Add(Ptr obj, const QString& sKey)
{
    const QString key = foldKey(sKey);
    if (!key.isEmpty()) {
        if (m_byKey.contains(key))
            return Status::fail(QStringLiteral("Řádek výčetky s hodnotou %1 už existuje.").arg(sKey));
        m_byKey.insert(key, obj);
    }
    m_items.push_back(std::move(obj));
    m_keys.push_back(key);
    return Status::success();
}

CColVycet::Ptr CColVycet::Item(qint64 index) const
{
    if (index < 1 || index > static_cast<qint64>(m_items.size()))
        return nullptr;
    return m_items[static_cast<size_t>(index - 1)];
}

CColVycet::Ptr CColVycet::Item(const QString& key)
{
    const QString folded = foldKey(key);
    if (Ptr found = m_byKey.value(folded))
        return found;
    auto line = std::make_shared<CPolVycet>(key);
    m_items.push_back(line);
    m_keys.push_back(folded);
    if (!folded.isEmpty())
        m_byKey.insert(folded, line);
    return line;
}

void CColVycet::removeAt(size_t i)
{
    if (!m_keys[i].isEmpty())
        m_byKey.remove(m_keys[i]);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
    m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(i));
}

bool CColVycet::Remove(qint64 index)
{
    if (index < 1 || index > static_cast<qint64>(m_items.size()))
        return false;
    removeAt(static_cast<size_t>(index - 1));
    return true;
}

bool CColVycet::Remove(const QString& key)
{
    const QString folded = foldKey(key);
    if (folded.isEmpty() || !m_byKey.contains(folded))
        return false;
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i] == folded) {
            removeAt(i);
            return true;
        }
    }
    return false;
}

} // namespace trv
