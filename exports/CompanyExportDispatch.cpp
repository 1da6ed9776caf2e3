#include "exports/CompanyExportDispatch.h"

#include "core/CColStrav.h"
#include "core/CompanyExport.h"
#include "core/SettingsLoader.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

namespace trv {

QString nazevSouboruSpolecnosti(const QString& typeText, const QDate& dt1, const QDate& dt2, bool zkraceny) {
    const QString prefix = left(typeText, 3);
    const QString day2 = dt2.toString(QStringLiteral("dd"));
    if (zkraceny)
        return right(dt1.toString(QStringLiteral("yy")), 1) + dt1.toString(QStringLiteral("MMdd")) + day2 +
               left(prefix, 1);
    return dateYYMMDD(dt1) + day2 + prefix;
}

namespace {

Status perCompanyTextFile(ExportContext& ctx, const CColStrav& period, const QString& typeText, const QDate& dt1,
                          const QDate& dt2) {
    auto folder = DejCestuExpSpol(ctx.state.config);
    if (!folder.ok())
        return Status(
            Error{folder.error().number, folderErrorText(ctx.state.config, DataFolder::ExpSpol, folder.error())});
    const std::filesystem::path file =
        folder.value() /
        (nazevSouboruSpolecnosti(typeText, dt1, dt2, ctx.state.gExpSpolZkraceny) + QStringLiteral(".txt"))
            .toStdU16String();
    if (Status written = TextFiles::writeLines(file, ExportProSpolecnosti(left(typeText, 3), period)); !written.ok())
        return written;
    ctx.prompts.message(ctx.text("Soubor") + TextFiles::toQString(file) + ctx.text("BylUlozen"));
    return Status::success();
}

} // namespace

Status cmdExport(ExportContext& ctx, const CColStrav* period, const ExportTypeChoice& choice, const QDate& dt1,
                 const QDate& dt2) {
    if (period == nullptr) {
        // Writing the codes of a period nobody computed would give an empty file reported as saved.
        ctx.prompts.message(ctx.text("ObdobiNespocitano"), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return Status::fail(ctx.text("ObdobiNespocitano"));
    }
    const CustomerSwitches& sw = ctx.state.sw;
    const QString name = choice.text.toUpper();
    const auto holds = [&](const char* word) { return name.contains(QLatin1String(word)); };
    const auto list = [&](Issuer issuer) -> Status {
        return sw.gFExportHtml ? exportujSupiskuHtml(ctx, *period, choice, issuer)
                               : exportujSupiskuCsv(ctx, *period, choice, issuer);
    };
    // Each selected export runs even when an earlier one failed: the operator hears of every failure.
    Status result;
    const auto run = [&](const Status& s) {
        if (!s.ok()) {
            ctx.prompts.error(s.message());
            if (result.ok())
                result = s;
        }
    };
    if (sw.gFExportSeznamu) {
        if (holds("CHE"))
            run(exportujSupiskuCheque(ctx, *period, choice));
        if (sw.gFExpVasa && holds("VAS"))
            run(list(Issuer::Vasa));
        if (sw.gFExpDoxx && holds("DOXX"))
            run(list(Issuer::Doxx));
        if (sw.gFExpEdenred && (holds("EDENRED") || holds("TICKET")))
            run(list(Issuer::Edenred));
        if (sw.gFExpSodexo && holds("SODEX"))
            run(list(Issuer::Sodexo));
        return result;
    }
    if (sw.gFExpVasa && holds("VAS"))
        run(list(Issuer::Vasa));
    if (sw.gFExpDoxx && holds("DOXX"))
        run(list(Issuer::Doxx));
    if (sw.gFExpEdenred && (holds("RED") || holds("TICKET")))
        run(list(Issuer::Edenred));
    if (sw.gFExpSodexo && holds("SODE"))
        run(list(Issuer::Sodexo));
    run(perCompanyTextFile(ctx, *period, choice.text, dt1, dt2));
    return result;
}

} // namespace trv
