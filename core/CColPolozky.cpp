#include "core/CColPolozky.h"

#include "platform/TextFiles.h"

namespace trv {

bool CColPolozky::Add(Ptr obj, const QString& sKey)
{
    if (sKey.isEmpty()) {
        m_items.push_back(std::move(obj));
        m_keys.emplace_back();
        return true;
    }
    const QString key = foldKey(sKey);
    if (m_byKey.contains(key))
        return false;
    m_byKey.insert(key, obj);
    m_items.push_back(std::move(obj));
    m_keys.push_back(key);
    return true;
}

Status CColPolozky::AddDuplicityCheck(Ptr obj, const QString& sKey, const std::filesystem::path& duplicityLog)
{
    if (Add(obj, sKey))
        return Status::success();
    colDuplicity.push_back(obj);
    // The log has always held the four characters "/t/t" between the code and the file, not tabs.
    return TextFiles::appendLine(duplicityLog, sKey + QStringLiteral("/t/t") + obj->dataFile,
                                 TextEncoding::Windows1250);
}

CColPolozky::Ptr CColPolozky::Item(qint64 index) const
{
    if (index < 1 || index > static_cast<qint64>(m_items.size()))
        return nullptr;
    return m_items[static_cast<size_t>(index - 1)];
}

CColPolozky::Ptr CColPolozky::Item(const QString& key) const
{
    return m_byKey.value(foldKey(key));
}

void CColPolozky::removeAt(size_t i)
{
    if (!m_keys[i].isEmpty())
        m_byKey.remove(m_keys[i]);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
    m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(i));
}

bool CColPolozky::Remove(qint64 index)
{
    if (index < 1 || index > static_cast<qint64>(m_items.size()))
        return false;
    removeAt(static_cast<size_t>(index - 1));
    return true;
}

bool CColPolozky::Remove(const QString& key)
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

bool CColPolozky::Smaz(const QString& kod)
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->Kod == kod) {
            removeAt(i);
            return true;
        }
    }
    return false;
}

} // namespace trv
