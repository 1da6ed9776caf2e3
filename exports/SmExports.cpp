#include "exports/SmExports.h"

#include "core/SettingsLoader.h"
#include "core/StatementLine.h"
#include "exports/CbaBatch.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/FolderListing.h"
#include "platform/Progress.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

#include <optional>
#include <string_view>

namespace trv {

Status exportTesco(ExportContext& ctx, const SmSumsRequest& request) {
    auto folder = DejCestuDat(ctx.state.config);
    if (!folder.ok())
        return Status(Error{folder.error().number, folderErrorText(ctx.state.config, DataFolder::Dat, folder.error())});
    auto summed = sumPeriodPerSm(ctx, request, SmSumsVariant::Tesco);
    if (!summed.ok())
        return Status(summed.error());
    const auto sums = rowsOrNothing(ctx, std::move(summed).value());
    if (!sums)
        return Status::success();

    const QDate today = ctx.clock.today();
    const std::filesystem::path file =
        folder.value() / (today.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("strav.txt")).toStdU16String();
    const QString tab = QStringLiteral("\t");
    const QString rule = QStringLiteral("--------") + tab + QStringLiteral("----------");
    QStringList lines{QStringLiteral("Datum: ") + dateDMY(today), QString(),
                      QStringLiteral("Pokladna") + tab + QStringLiteral("Strav.spol."), rule};
    Currency total;
    for (const auto& row : sums->rows) {
        Currency rowTotal;
        for (const Currency& sum : row.sums)
            rowTotal += roundedTo2(sum);
        lines.append(row.sm + tab + tab + pointText(rowTotal));
        total += rowTotal;
    }
    lines.append(rule);
    lines.append(QStringLiteral("TOTAL") + tab + tab + pointText(roundedTo2(total)));
    if (Status written = TextFiles::writeLines(file, lines); !written.ok())
        return written;
    ctx.prompts.message(QStringLiteral("Exportní soubor ") + TextFiles::toQString(file) +
                            QStringLiteral(" byl úspěšně vytvořen"),
                        Prompts::Buttons::Ok, Prompts::Icon::Information);
    return Status::success();
}

Status exportPocetSM(ExportContext& ctx, const SmSumsRequest& request) {
    auto folder = DejCestuExportu(ctx.state.config);
    if (!folder.ok())
        return Status(
            Error{folder.error().number, folderErrorText(ctx.state.config, DataFolder::Exportu, folder.error())});
    // A separator that a written field can hold (a digit, the decimal comma, a minus sign) would make a file no
    // reader can split back: refused before anything is written.
    const QString s = DejOddelovacExportu(ctx.state.config);
    for (const QChar c : s) {
        if (c.isDigit() || c == u',' || c == u'-') {
            return Status::fail(
                QStringLiteral("Oddělovač „%1“ nelze v exportu počtů po střediscích použít: může stát i "
                               "uvnitř zapsaného pole. Změňte jej v konfiguraci (sekce Data, klíč "
                               "ExpTxtSeparator).")
                    .arg(s));
        }
    }
    auto summed = sumPeriodPerSm(ctx, request, SmSumsVariant::Counts);
    if (!summed.ok())
        return Status(summed.error());
    const auto sums = rowsOrNothing(ctx, std::move(summed).value());
    if (!sums)
        return Status::success();

    const std::filesystem::path file =
        folder.value() /
        (ctx.clock.today().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".exp")).toStdU16String();
    QStringList lines;
    for (const auto& row : sums->rows) {
        // The total is summed exactly and rounded once: rounding after each type drifts (95.5 + 95.5 gave 192).
        // sumPeriodPerSm has made sure that the total and its rounding fit the money type.
        Currency value;
        qint64 count = 0;
        for (size_t k = 0; k < row.sums.size(); ++k) {
            value += row.sums[k];
            count += row.counts[k];
        }
        QString line = row.sm + s + QString::number(value.rounded(0).units() / Currency::kUnitsPerWhole) + s +
                       QString::number(count);
        for (size_t k = 0; k < row.sums.size(); ++k)
            line += s + plainText(row.sums[k]) + s + QString::number(row.counts[k]);
        lines.append(line);
    }
    if (Status written = TextFiles::writeLines(file, lines); !written.ok())
        return written;
    ctx.prompts.message(ctx.text("expCBASoub1") + TextFiles::toQString(file) + ctx.text("expCBASoub2"),
                        Prompts::Buttons::Ok, Prompts::Icon::Information);
    return Status::success();
}

Status exportSlouceneVycetky(ExportContext& ctx, const SmSumsRequest& request, const QDate& dtDek) {
    auto folder = DejCestuDat(ctx.state.config);
    if (!folder.ok())
        return Status(Error{folder.error().number, folderErrorText(ctx.state.config, DataFolder::Dat, folder.error())});
    const std::filesystem::path merged = folder.value() / (dateYYMMDD(dtDek) + QStringLiteral(".vyc")).toStdU16String();
    const QString from = dateYYMMDD(request.dt1);
    const QString to = dateYYMMDD(request.dt2);
    const bool byHandOver = ctx.state.sw.gFDatumOdvodu && request.optDatumVyc;

    auto listed = FolderListing::list(folder.value(), QStringLiteral("*.vyc"));
    if (!listed.ok())
        return Status(listed.error());
    std::vector<std::filesystem::path> selected;
    for (const auto& entry : listed.value()) {
        const QString& name = entry.name;
        // The merged file's own name has ten characters: a merge never reads a merge back.
        if (name.size() <= 10 || !name.endsWith(QLatin1String(".vyc")))
            continue;
        QString date = left(name, 6);
        if (byHandOver) {
            // Stops before anything is written: the previous merged file stays as it was.
            if (!name.contains(u'-'))
                return Status::fail(ctx.text("Soubor") + name + ctx.text("NeobsDatum"));
            date = mid(name, 8, 6);
        }
        if (date < from || date > to)
            continue;
        selected.push_back(entry.path());
    }

    // Written as the lines stream past, a piece of one statement file held at a time, into a file that replaces the
    // old one only when complete: a failed read, a cancel or a failed write leaves the previous merged file as it was.
    qint64 count = 0;
    std::optional<Status> stopped; // why the lines stopped before the last file's end
    const qint64 total = qint64(selected.size());
    const auto goOn = [&](qint64 done) { return !ctx.progress || ctx.progress->step(done, total); };
    const Status written = TextFiles::writeLines(merged, [&](const TextFiles::LineSink& put) {
        qint64 filesRead = 0;
        for (const auto& path : selected) {
            if (!goOn(filesRead++)) {
                stopped = Status::fail(Progress::cancelledText());
                return false;
            }
            // Stored statement files are Windows-1250, and the merged file is written so. A large file tells its
            // file again after each piece: a cancel is heard within it.
            const qint64 at = filesRead - 1;
            const Status read = StatementLine::forEachLineOf(
                path,
                [&](std::string_view line) {
                    const std::string_view trimmed = StatementLine::trimmed(line);
                    if (trimmed.empty())
                        return;
                    ++count;
                    put(QString::fromUtf8(trimmed.data(), qsizetype(trimmed.size())));
                },
                [&] { return goOn(at); });
            if (!read.ok()) {
                stopped = read;
                return false;
            }
        }
        if (!goOn(total)) {
            stopped = Status::fail(Progress::cancelledText());
            return false;
        }
        return true;
    });
    if (stopped)
        return *stopped;
    if (!written.ok())
        return written;
    ctx.prompts.message(ctx.text("ByloVygener") + u' ' + QString::number(count) + ctx.text("ZaznamuAUloz") +
                            TextFiles::toQString(merged),
                        Prompts::Buttons::Ok, Prompts::Icon::Information);
    return Status::success();
}

Status cmdExportDel(ExportContext& ctx, const PeriodExportRequest& request) {
    const CustomerSwitches& sw = ctx.state.sw;
    Status result;
    if (sw.gFExportCBA)
        result = exportCbaVerex(ctx, request);
    else if (sw.gFExportTesco)
        result = exportTesco(ctx, request.period);
    else if (sw.gFExportExp)
        result = exportPocetSM(ctx, request.period);
    else
        result = exportSlouceneVycetky(ctx, request.period, request.dtDek);
    if (!result.ok())
        ctx.prompts.error(result.message());
    return result;
}

} // namespace trv
