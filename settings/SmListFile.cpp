#include "settings/SmListFile.h"

#include "core/ConfigAccess.h"
#include "core/SmList.h"

namespace trv::SmListFile {

QStringList nacti(const Config& config) {
    // Read whole: a list cut at a buffer size would lose its last entries at the next save.
    return SmList::parse(config.ctiCestu(QStringLiteral("Data"), QStringLiteral("SM")).value_or(QString()));
}

QString chybaZaznamu(const QString& sm) {
    for (const QChar c : sm) {
        if (c.isLetterOrNumber())
            continue;
        const QString name = c == u' ' ? QStringLiteral("mezeru") : QStringLiteral("znak „%1“").arg(c);
        return QStringLiteral("SM „%1“ obsahuje %2. SM smí obsahovat jen písmena a číslice.").arg(sm, name);
    }
    return {};
}

Status uloz(const Config& config, const QStringList& entries) {
    return config.zapis(QStringLiteral("Data"), QStringLiteral("SM"), SmList::join(entries));
}

} // namespace trv::SmListFile
