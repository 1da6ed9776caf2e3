#include "summaries/PeriodFileOps.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/SettingsLoader.h"
#include "platform/Progress.h"
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

Result<qint64> ulozStravenky(const PeriodCollection& col, const TypeChoice& choice, const fs::path& file,
                             Progress* progress) {
    const StoredCodes& codes = *col.codes;
    std::vector<const StoredCodes::List*> shown;
    qint64 total = 0;
    int index = 0;
    for (const auto& t : *col.types) {
        if (choice.shows(t->Nazev)) {
            shown.push_back(&codes.codes(index));
            total += qint64(shown.back()->size());
        }
        ++index;
    }
    // The progress is told every so many codes: often enough to keep the window painting and the cancel
    // answered, seldom enough to cost nothing beside the writing. The codes go to the writer as many lines at a
    // time, joined by CR LF (the writer ends the piece with the last one): the same bytes as a line at a time,
    // at a fraction of the calls.
    constexpr qint64 kStep = 1 << 12;
    qint64 count = 0;
    bool cancelled = false;
    const Status written = TextFiles::writeLines(
        file,
        [&](const TextFiles::LineSink& line) {
            const auto going = [&](qint64 done) {
                cancelled = progress && !progress->step(done, total);
                return !cancelled;
            };
            if (!going(0))
                return false;
            QString piece;
            qint64 inPiece = 0;
            const auto hand = [&] {
                if (inPiece > 0)
                    line(piece);
                piece.resize(0);
                inPiece = 0;
            };
            qint64 walked = 0;
            for (const StoredCodes::List* list : shown) {
                for (const auto& c : *list) {
                    // A NOREAD reading is exactly a code of the NOREAD text (the booking marks it so).
                    if (!codes.isNoRead(c)) {
                        if (inPiece++ > 0)
                            piece.append(u"\r\n");
                        codes.appendKod(c, piece);
                        ++count;
                    }
                    if (++walked % kStep == 0) {
                        hand();
                        if (!going(walked))
                            return false;
                    }
                }
            }
            hand();
            return going(total);
        },
        TextEncoding::Windows1250);
    if (cancelled)
        return Error{0, Progress::cancelledText()};
    if (!written.ok())
        return written.error();
    return count;
}

bool zruseno(const Error& error) {
    return error.message == Progress::cancelledText();
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
