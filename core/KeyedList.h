#pragma once

#include <QHash>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

namespace trv {

// Shared items in the order they were added, each under an optional key; keys compare in any letter case and
// an item without a key is found by position only. Positions are 1-based, as the collections built on it
// have always counted.
template <typename T> class KeyedList {
public:
    using Ptr = std::shared_ptr<T>;

    // Whether an item sits under the key; never for the empty key.
    bool contains(const QString& key) const { return m_byKey.contains(fold(key)); }
    // Appends obj under key, or without a key when it is empty. The caller has made sure the key is free.
    void append(Ptr obj, const QString& key) {
        const QString folded = fold(key);
        if (!folded.isEmpty())
            m_byKey.insert(folded, obj);
        m_items.push_back(std::move(obj));
        m_keys.push_back(folded);
    }

    // The item at a 1-based position or under a key; null when there is none.
    Ptr item(qint64 index) const {
        if (index < 1 || index > static_cast<qint64>(m_items.size()))
            return nullptr;
        return m_items[static_cast<size_t>(index - 1)];
    }
    Ptr item(const QString& key) const { return m_byKey.value(fold(key)); }
    qint32 count() const { return static_cast<qint32>(m_items.size()); }

    // False when there is no such position or key.
    bool remove(qint64 index) {
        if (index < 1 || index > static_cast<qint64>(m_items.size()))
            return false;
        removeAt(static_cast<size_t>(index - 1));
        return true;
    }
    bool remove(const QString& key) {
        const QString folded = fold(key);
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
    // Removes the first item, in order, that `matches`; false when there is none.
    template <typename Matches> bool removeFirst(Matches matches) {
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (matches(*m_items[i])) {
                removeAt(i);
                return true;
            }
        }
        return false;
    }

    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

private:
    static QString fold(const QString& key) { return key.toCaseFolded(); }

    void removeAt(size_t i) {
        if (!m_keys[i].isEmpty())
            m_byKey.remove(m_keys[i]);
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
        m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(i));
    }

    std::vector<Ptr> m_items;
    std::vector<QString> m_keys; // folded key of each item, empty when it has none
    QHash<QString, Ptr> m_byKey;
};

} // namespace trv
