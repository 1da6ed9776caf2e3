#include "core/SafeBagList.h"

#include "core/ConfigAccess.h"
#include "core/SettingsLoader.h"

namespace trv {

Result<std::filesystem::path> slozkaSafeBag(const Config& config) {
    if (!config.ctiCestu(QStringLiteral("Data"), QStringLiteral("DirSFB")).has_value())
        return config.programFolder();
    return DejCestuSFB(config);
}

Result<std::filesystem::path> zapisSeznamSafeBag(const std::filesystem::path& folder,
                                                 const std::function<bool(const TextFiles::LineSink&)>& produce,
                                                 const QDateTime& now) {
    QDateTime at = now;
    std::filesystem::path file;
    for (;;) {
        const QString stamp = at.toString(QStringLiteral("yyMMddHHmmss"));
        file = folder / TextFiles::toPath(stamp + QStringLiteral(".sfb"));
        const auto taken = folder / TextFiles::toPath(stamp + QStringLiteral(".exp"));
        if (!TextFiles::exists(file) && !TextFiles::exists(taken))
            break;
        at = at.addSecs(1);
    }
    if (Status written = TextFiles::writeLines(file, produce); !written.ok())
        return written.error();
    return file;
}

} // namespace trv
