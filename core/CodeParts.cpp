#include "core/CodeParts.h"

#include "platform/Conventions.h"

#include <limits>

namespace trv {

QString codePart(const QString& s, qint64 pos, qint64 len)
{
    if (pos < 1 || len < 1 || pos > s.size())
        return QString();
    return s.mid(static_cast<qsizetype>(pos - 1), static_cast<qsizetype>(len));
}

std::optional<qint32> asLong(QStringView text)
{
    const auto n = toInteger(text);
    if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(*n);
}

std::optional<int> digitAt(const QString& s, qint64 pos)
{
    if (pos < 1 || pos > s.size())
        return std::nullopt;
    const QChar c = s.at(static_cast<qsizetype>(pos - 1));
    if (c < u'0' || c > u'9')
        return std::nullopt;
    return c.unicode() - u'0';
}

} // namespace trv
