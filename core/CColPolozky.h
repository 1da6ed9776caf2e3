#pragma once

#include "core/CPolozka.h"
#include "core/KeyedList.h"
#include "platform/Result.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <vector>

namespace trv {

// The codes of one voucher type in reading order. A code added under a key refuses a second code with the
// same key; keys compare in any letter case. Items are shared: one code may sit in several collections.
class CColPolozky {
public:
    using Ptr = std::shared_ptr<CPolozka>;

    // Codes refused by AddDuplicityCheck because their key was there already, in order of refusal.
    std::vector<Ptr> colDuplicity;

    // Appends obj, under sKey when it is not empty. A key already present leaves the collection unchanged;
    // the result says whether obj was added.
    bool Add(Ptr obj, const QString& sKey = {});
    // Appends obj under sKey. A key already present sends obj to colDuplicity and a line "<key>/t/t<dataFile>"
    // to the log file; an error only when that line cannot be written (obj is in colDuplicity then).
    Status AddDuplicityCheck(Ptr obj, const QString& sKey, const std::filesystem::path& duplicityLog);

    // The item at a 1-based position or under a key; null when there is none.
    Ptr Item(qint64 index) const { return m_items.item(index); }
    Ptr Item(const QString& key) const { return m_items.item(key); }
    qint32 count() const { return m_items.count(); }
    // False when there is no such position or key.
    bool Remove(qint64 index) { return m_items.remove(index); }
    bool Remove(const QString& key) { return m_items.remove(key); }
    // Removes the first code, in order, whose Kod equals kod exactly; false when there is none.
    bool Smaz(const QString& kod);

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    KeyedList<CPolozka> m_items;
};

} // namespace trv
