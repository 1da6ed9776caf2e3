#include "core/CColVycet.h"

namespace trv {

Status CColVycet::Add(Ptr obj, const QString& sKey)
{
    if (m_items.contains(sKey))
        return Status::fail(QStringLiteral("Řádek výčetky s hodnotou %1 už existuje.").arg(sKey));
    m_items.append(std::move(obj), sKey);
    return Status::success();
}

CColVycet::Ptr CColVycet::Item(const QString& key)
{
    if (Ptr found = m_items.item(key))
        return found;
    auto line = std::make_shared<CPolVycet>(key);
    m_items.append(line, key);
    return line;
}

} // namespace trv
