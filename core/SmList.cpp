#include "core/SmList.h"

#include <QRegularExpression>

namespace trv::SmList {

QStringList parse(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

bool contains(const QStringList& entries, const QString& sm) {
    const QString wanted = sm.trimmed();
    if (wanted.isEmpty())
        return false;
    for (const QString& e : entries) {
        if (e.compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool contains(const QString& text, const QString& sm) {
    return contains(parse(text), sm);
}

QString join(const QStringList& entries) {
    QString out;
    for (const QString& e : entries)
        out += e + u',';
    return out;
}

} // namespace trv::SmList
