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
    // Changes with every change of the table, and differs between tables with different entries: what a value
    // remembered from the table checks that the table is still the one it was read from.
    quint64 revision() const { return m_revision; }

private:
    quint64 m_revision = 0;
    std::vector<std::pair<QString, QString>> m_entries;
    QHash<QString, qsizetype> m_index;
};

} // namespace trv
