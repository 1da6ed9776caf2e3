#pragma once

#include "core/CPolVycet.h"
#include "platform/Result.h"

#include <QHash>
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
    Ptr Item(qint64 index) const;
    // The line of a nominal value; created with Pocet 0 and appended when it is not there yet.
    Ptr Item(const QString& key);
    qint32 count() const { return static_cast<qint32>(m_items.size()); }
    bool Remove(qint64 index);
    bool Remove(const QString& key);

    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

private:
    void removeAt(size_t i);
    static QString foldKey(const QString& key) { return key.toCaseFolded(); }

    std::vector<Ptr> m_items;
    std::vector<QString> m_keys; // folded key of each line, empty when it has none
    QHash<QString, Ptr> m_byKey;
};

} // namespace trv
