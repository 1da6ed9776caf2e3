#include "settings/SmListFile.h"

#include "core/ConfigAccess.h"
#include "core/SmList.h"

namespace trv::SmListFile {

QStringList nacti(const Config& config) {
    // Read whole: a list cut at a buffer size would lose its last entries at the next save.
    return SmList::parse(config.ctiCestu(QStringLiteral("Data"), QStringLiteral("SM")).value_or(QString()));
}

Status uloz(const Config& config, const QStringList& entries) {
    return config.zapis(QStringLiteral("Data"), QStringLiteral("SM"), SmList::join(entries));
}

} // namespace trv::SmListFile
