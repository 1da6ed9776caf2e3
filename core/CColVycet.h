#pragma once

#include "core/CPolVycet.h"
#include "core/KeyedList.h"
#include "platform/Result.h"

#include <QString>

#include <memory>
#include <vector>

namespace trv {

// The lines of one statement, keyed by nominal value, in the order they were first looked up or added.
// A statement is built by one Item(value) and one increment per code.
class CColVycet {
public:
    using Ptr = std::shared_ptr<CPolVycet>;

    // Appends obj, under sKey when it is not empty; an error when the key is there already.
    Status Add(Ptr obj, const QString& sKey = {});
    // The line at a 1-based position; null when there is none.
    Ptr Item(qint64 index) const { return m_items.item(index); }
    // The line of a nominal value; created with Pocet 0 and appended when it is not there yet.
    Ptr Item(const QString& key);
    qint32 count() const { return m_items.count(); }
    bool Remove(qint64 index) { return m_items.remove(index); }
    bool Remove(const QString& key) { return m_items.remove(key); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    KeyedList<CPolVycet> m_items;
};

} // namespace trv
