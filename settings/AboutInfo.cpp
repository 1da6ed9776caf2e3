#include "settings/AboutInfo.h"

namespace trv {

QString textVerze(int major, int minor, int revision) {
    return QStringLiteral("Ver.: %1.%2.%3").arg(major).arg(minor).arg(revision);
}

} // namespace trv
