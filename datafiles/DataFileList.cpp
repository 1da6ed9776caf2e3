#include "datafiles/DataFileList.h"

#include "core/DayDataFiles.h"
#include "core/DayFileName.h"
#include "datafiles/DataFileOps.h"
#include "platform/TextFiles.h"

namespace trv {

namespace {

const QString kTxt = QStringLiteral(".txt");

} // namespace

Result<DataFileList> DataFileList::load(const std::filesystem::path& folder) {
    // The browser shows the folder as the operator will work on it: without what a change of SM stopped part
    // way left behind.
    DataFileOps::odstranZbytky(folder);
    auto files = DayDataFiles::entries(folder);
    if (!files.ok())
        return files.error();
    DataFileList list;
    list.m_folder = folder;
    const auto n = files.value().size();
    list.m_names.reserve(qsizetype(n));
    list.m_datum.resize(n);
    list.m_sm.resize(n);
    list.m_hasDatum.resize(n);
    list.m_hasSm.resize(n);
    list.m_paths.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        QString name = std::move(files.value()[i].name);
        list.m_paths.push_back(files.value()[i].path());
        const DayFileName::Keys keys = DayFileName::keys(name);
        list.m_hasDatum[i] = keys.datum.has_value();
        list.m_datum[i] = keys.datum.value_or(QString());
        list.m_hasSm[i] = keys.sm.has_value();
        list.m_sm[i] = keys.sm.value_or(QString());
        list.m_names.append(std::move(name));
    }
    return list;
}

std::filesystem::path DataFileList::path(qsizetype index) const {
    return m_paths.at(size_t(index));
}

std::optional<qsizetype> DataFileList::indexOf(const QString& name) const {
    const qsizetype i = m_names.indexOf(name);
    if (i < 0)
        return std::nullopt;
    return i;
}

bool DataFileList::matches(qsizetype index, const Query& query) const {
    const auto i = size_t(index);
    switch (query.key) {
    case Key::Text: {
        const QString& name = m_names.at(index);
        if (!query.wholeName)
            return name.contains(query.text, Qt::CaseSensitive);
        return name.size() == query.text.size() + kTxt.size() && name.startsWith(query.text) && name.endsWith(kTxt);
    }
    case Key::Datum:
        return m_hasDatum[i] && m_datum[i] == query.text;
    case Key::Sm:
        return m_hasSm[i] && m_sm[i] == query.text;
    }
    return false;
}

std::optional<qsizetype> DataFileList::find(const Query& query, qsizetype from) const {
    for (qsizetype i = std::max<qsizetype>(from, 0); i < count(); ++i) {
        if (matches(i, query))
            return i;
    }
    return std::nullopt;
}

QStringList DataFileList::filter(const Query& query) const {
    QStringList found;
    for (qsizetype i = 0; i < count(); ++i) {
        if (matches(i, query))
            found.append(m_names.at(i));
    }
    return found;
}

} // namespace trv
