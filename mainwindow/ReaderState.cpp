#include "mainwindow/ReaderState.h"

#include "core/ConfigAccess.h"
#include "platform/Conventions.h"

#include <limits>
#include <optional>

namespace trv {

namespace {

// The leading whole number of a text: blanks, a sign and digits; nullopt without digits.
std::optional<qint64> leadingInteger(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    const qsizetype digitsFrom = i;
    qint64 value = 0;
    while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9') {
        if (value < std::numeric_limits<qint64>::max() / 10)
            value = value * 10 + (text.at(i).unicode() - u'0');
        ++i;
    }
    if (i == digitsFrom)
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

qint32 nactiTypScaneru(const Config& config) {
    const std::optional<QString> value = config.ctiSentinel(QStringLiteral("Comm"), QStringLiteral("TypScaneru"));
    if (!value)
        return -1;
    const qint64 number = leadingInteger(*value).value_or(0);
    if (number > std::numeric_limits<qint32>::max() || number < std::numeric_limits<qint32>::min())
        return 0;
    return static_cast<qint32>(number);
}

} // namespace trv
