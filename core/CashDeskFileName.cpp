#include "core/CashDeskFileName.h"

#include "platform/Conventions.h"

#include <QRegularExpression>

namespace trv {

std::optional<CashDeskFileName> CashDeskFileName::parse(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{6})([0-9]{3})_(.*)\\.txt$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const auto den = parseYYMMDD(match.captured(1));
    if (!den)
        return std::nullopt;
    return CashDeskFileName{match.captured(1), *den, match.captured(2), match.captured(3)};
}

} // namespace trv
