#include "core/StatementLine.h"

namespace trv::StatementLine {

std::optional<QStringList> fields(const QString& line, const QString& separator) {
    if (line.trimmed().isEmpty())
        return std::nullopt;
    QStringList parts = separator.isEmpty() ? QStringList{line} : line.split(separator);
    for (QString& p : parts)
        p = p.trimmed();
    return parts;
}

std::optional<QStringList> fieldsWith(const QString& line, const QString& separator, int position) {
    auto f = fields(line, separator);
    if (!f || f->size() < position)
        return std::nullopt;
    return f;
}

} // namespace trv::StatementLine
