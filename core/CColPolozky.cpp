#include "core/CColPolozky.h"

#include "platform/TextFiles.h"

namespace trv {

bool CColPolozky::Add(Ptr obj, const QString& sKey)
{
    if (m_items.contains(sKey))
        return false;
    m_items.append(std::move(obj), sKey);
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

bool CColPolozky::Smaz(const QString& kod)
{
    return m_items.removeFirst([&kod](const CPolozka& code) { return code.Kod == kod; });
}

} // namespace trv
