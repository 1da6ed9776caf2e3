#include "summaries/PeriodFileOps.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/SettingsLoader.h"
#include "platform/TextFiles.h"

#include <system_error>

namespace fs = std::filesystem;

namespace trv {

Result<fs::path> souborStravenek(const AppState& state, const QDateTime& click) {
    const auto folder = DejCestuExportu(state.config);
    if (!folder.ok())
        return folder.error();
    return folder.value() /
           (click.toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral(".txt")).toStdU16String();
}

Result<qint64> ulozStravenky(const AppState& state, const PeriodCollection& col, const TypeChoice& choice,
                             const fs::path& file) {
    const StoredCodes& codes = *col.codes;
    QStringList lines;
    int index = 0;
    for (const auto& t : *col.types) {
        if (choice.shows(t->Nazev)) {
            for (const auto& c : codes.codes(index)) {
                const QString kod = codes.kod(c);
                if (!codes.isNoRead(c) && kod != state.gNoRead)
                    lines.append(kod);
            }
        }
        ++index;
    }
    const Status written = TextFiles::writeLines(file, lines, TextEncoding::Windows1250);
    if (!written.ok())
        return written.error();
    return qint64(lines.size());
}

QString zpravaUlozeno(qint64 count, const fs::path& file) {
    return QStringLiteral("Bylo uloženo ") + QString::number(count) + QStringLiteral(" stravenek do souboru ") +
           TextFiles::toQString(file) + QStringLiteral(".");
}

Status prejmenujSafeBag(const fs::path& folder) {
    const auto files = TextFiles::listFolder(folder);
    if (!files.ok())
        return files.error();
    QStringList failed;
    for (const fs::path& f : files.value()) {
        const QString name = TextFiles::toQString(f.filename());
        if (name.size() <= 10 || !name.endsWith(QStringLiteral(".sfb")))
            continue;
        fs::path target = f; // the name's own bytes, only the suffix changed
        target.replace_extension(".exp");
        std::error_code ec;
        if (fs::exists(target, ec)) {
            failed.append(
                QStringLiteral("%1 (soubor %2 už existuje)").arg(name, TextFiles::toQString(target.filename())));
            continue;
        }
        if (const Status moved = TextFiles::move(f, target); !moved.ok())
            failed.append(moved.message());
    }
    if (failed.isEmpty())
        return Status::success();
    return Status::fail(QStringLiteral("Soubory safe bagů ve složce %1 nebyly označeny jako převzaté: %2")
                            .arg(TextFiles::toQString(folder), failed.join(QStringLiteral("; "))));
}

} // namespace trv
