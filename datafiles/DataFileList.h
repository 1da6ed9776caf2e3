#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <vector>

namespace trv {

// The day data files of the browser's folder, in listing order, with the two keys the search reads from a
// name: the date part and the SM. The keys are cut once when the folder is read, so that finding and
// filtering a folder of a few hundred thousand files is a walk over ready texts.
class DataFileList {
public:
    enum class Key { Text, Datum, Sm };

    // What the operator searches for: the text of the key's box; for the text key, whether the whole name
    // (the text and ".txt") or a part of it.
    struct Query {
        Key key = Key::Text;
        QString text;
        bool wholeName = false;
    };

    DataFileList() = default;

    // The day data files of the folder (DayDataFiles::list), after the leftovers of a change of SM stopped part
    // way are removed (DataFileOps::odstranZbytky). The error names the folder.
    static Result<DataFileList> load(const std::filesystem::path& folder);

    const std::filesystem::path& folder() const { return m_folder; }
    const QStringList& names() const { return m_names; }
    qsizetype count() const { return m_names.size(); }
    std::filesystem::path path(qsizetype index) const;
    std::optional<qsizetype> indexOf(const QString& name) const;

    // Whether the name at the position matches; comparisons are case-sensitive.
    bool matches(qsizetype index, const Query& query) const;
    // The first match at or after `from` (the whole list from 0); nullopt when none.
    std::optional<qsizetype> find(const Query& query, qsizetype from = 0) const;
    // Every matching name, in list order.
    QStringList filter(const Query& query) const;

private:
    std::filesystem::path m_folder;
    QStringList m_names;
    // Each name's path as listed: a name that could not be decoded opens by its own bytes.
    std::vector<std::filesystem::path> m_paths;
    // The date part and the SM of each name as DayFileName::keys reads them; a cash-desk name has no SM,
    // a name without "_" neither.
    std::vector<QString> m_datum;
    std::vector<QString> m_sm;
    std::vector<bool> m_hasDatum;
    std::vector<bool> m_hasSm;
};

} // namespace trv
