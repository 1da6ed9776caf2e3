#pragma once

#include <QHash>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace trv {

// The value table of a voucher type: code part to value, both kept as the text of the table file.
// Keys compare exactly, letter case included; each key occurs once; entries keep the file's order.
class ValueTable {
public:
    // False, and the table unchanged, when the key is there already.
    bool add(const QString& key, const QString& value);
    std::optional<QString> value(const QString& key) const;
    bool contains(const QString& key) const { return m_index.contains(key); }
    qsizetype count() const { return static_cast<qsizetype>(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    const std::vector<std::pair<QString, QString>>& entries() const { return m_entries; }

private:
    std::vector<std::pair<QString, QString>> m_entries;
    QHash<QString, qsizetype> m_index;
};

} // namespace trv
