#include "exports/CbaBatch.h"

#include "core/SettingsLoader.h"
#include "exports/SmExports.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/SystemErrors.h"
#include "platform/TextFiles.h"

namespace trv {

const std::vector<DbfField>& cbaBatchFields() {
    static const std::vector<DbfField> fields = [] {
        const auto n = [](const char* name, int width, int decimals = 0) {
            return DbfField{QString::fromLatin1(name), DbfFieldType::Numeric, width, decimals};
        };
        const auto c = [](const char* name, int width) {
            return DbfField{QString::fromLatin1(name), DbfFieldType::Character, width, 0};
        };
        const auto d = [](const char* name) { return DbfField{QString::fromLatin1(name), DbfFieldType::Date, 8, 0}; };
        return std::vector<DbfField>{
            n("DD", 2),         n("CD", 10),        n("POL", 6),         d("DATUM"),         c("UCET", 10),
            c("HS", 10),        n("MD", 15, 2),     n("DAL", 15, 2),     n("CFAK", 10),      n("CF", 10),
            n("KODPU", 4),      n("PCBU", 4),       n("CBU", 4),         n("SS", 10),        d("SPL"),
            d("DSPL"),          c("TP", 2),         c("ZAK", 10),        c("OPER", 40),      n("PERPEN", 4),
            c("KODM", 3),       n("MDMENA", 15, 2), n("DMENA", 15, 2),   c("VV", 2),         c("DIC", 14),
            c("OSOB", 1),       n("CENA0", 15, 2),  n("CENA5", 15, 2),   n("CENA23", 15, 2), n("FLA23", 15, 2),
            c("SVYK", 1),       n("DAN5", 15, 2),   n("DAN23", 15, 2),   c("TUZEM", 1),      d("DATVYS"),
            d("DATVZP"),        c("CLO", 1),        n("DD2", 2),         n("CD2", 10),       d("DATZAP"),
            n("DCENA0", 15, 2), n("DCENA5", 15, 2), n("DCENA23", 15, 2), n("DFLA23", 15, 2), n("DDAN5", 15, 2),
            n("DDAN23", 15, 2), c("POLOZ", 10),     n("FLASE", 4),       c("TD", 2),         n("OPDOK", 10),
            c("POVPL", 1),      c("INTRA", 1)};
    }();
    return fields;
}

QString cbaWorkName(const QString& batchFile) {
    QString name = batchFile.trimmed();
    name.remove(u'.');
    return right(name, 5);
}

namespace {

// One row of the batch in the columns' order; fields not named here are zero, empty or the empty date.
DbfFieldValues batchRow(Currency cd, qint64 pol, const QDate& datum, const QString& ucet, const QString& hs,
                        Currency md, Currency dal, const QString& oper) {
    DbfFieldValues values;
    for (const DbfField& f : cbaBatchFields()) {
        DbfValue v;
        if (f.type == DbfFieldType::Numeric)
            v = DbfValue::integer(0);
        else if (f.type == DbfFieldType::Character)
            v = DbfValue::text(QString());
        values.emplace_back(f.name, v);
    }
    const auto set = [&](const char* name, DbfValue v) {
        for (auto& [field, value] : values) {
            if (field == QLatin1String(name))
                value = std::move(v);
        }
    };
    set("DD", DbfValue::integer(9));
    set("CD", DbfValue::number(cd));
    set("POL", DbfValue::integer(pol));
    set("DATUM", DbfValue::date(datum));
    set("UCET", DbfValue::text(ucet));
    set("HS", DbfValue::text(hs));
    set("MD", DbfValue::number(md));
    set("DAL", DbfValue::number(dal));
    set("OPER", DbfValue::text(oper));
    set("OSOB", DbfValue::text(QStringLiteral("N")));
    return values;
}

// A template may type a column otherwise than ours (a number kept as text): the value follows the column.
DbfFieldValues fitToTable(const DbfTable& table, DbfFieldValues values) {
    for (auto& [name, value] : values) {
        const int index = table.fieldIndex(name);
        if (index < 0 || value.isNull())
            continue;
        const DbfField& f = table.fields()[static_cast<size_t>(index)];
        if (f.type == DbfFieldType::Character && value.isNumber())
            value = DbfValue::text(pointText(*value.toCurrency()));
        else if (f.type == DbfFieldType::Numeric && value.isText())
            value = value.toText().isEmpty() ? DbfValue() : DbfValue::number(valCurrency(value.toText()));
    }
    return values;
}

} // namespace

Status exportCbaVerex(ExportContext& ctx, const PeriodExportRequest& request) {
    const QString cdText = request.txtCD.trimmed();
    if (cdText.isEmpty()) {
        ctx.prompts.message(ctx.text("ZadatCD"), Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return Status::success();
    }
    const std::optional<Currency> cd = Currency::parse(cdText);
    if (!cd) {
        ctx.prompts.message(ctx.text("CDNeniCislo") + u'"' + cdText + u'"', Prompts::Buttons::Ok,
                            Prompts::Icon::Critical);
        return Status::success();
    }
    const QString batchName = request.lblExpFile.trimmed();
    if (batchName.isEmpty())
        return Status::fail(ctx.text("ChybiNazevDavky"));
    auto folder = DejCestuDat(ctx.state.config);
    if (!folder.ok())
        return Status(Error{folder.error().number, folderErrorText(ctx.state.config, DataFolder::Dat, folder.error())});

    auto summed = sumPeriodPerSm(ctx, request.period, SmSumsVariant::Cba);
    if (!summed.ok())
        return Status(summed.error());
    auto withRows = rowsOrNothing(ctx, std::move(summed).value());
    if (!withRows)
        return Status::success();
    SmSums& sums = *withRows;

    const std::filesystem::path batch = folder.value() / batchName.toStdU16String();
    const std::filesystem::path work =
        folder.value() / (cbaWorkName(batchName) + QStringLiteral(".dbf")).toStdU16String();
    const std::optional<std::filesystem::path> templ = TextFiles::findCaseInsensitive(folder.value(), kCbaTemplateName);
    const QString oper = request.txtPoznOper.trimmed();
    const int m = sums.types->count();

    const Status written = [&]() -> Status {
        if (templ) {
            if (Status copied = TextFiles::copy(*templ, work, true); !copied.ok())
                return copied;
        }
        auto table = templ ? DbfTable::open(work, DbfTable::Access::ReadWrite)
                           : DbfTable::create(work, cbaBatchFields(), DbfTable::IfExists::Replace);
        if (!table.ok())
            return Status(table.error());
        qint64 pol = 0;
        for (const auto& row : sums.rows) {
            Currency total;
            for (int k = 1; k <= m; ++k) {
                const auto type = sums.types->Item(k);
                const Currency md = roundedTo2(row.sums[static_cast<size_t>(type->PoradiSpolecnosti - 1)]);
                total += md;
                auto added = table.value().append(fitToTable(
                    table.value(), batchRow(*cd, ++pol, request.period.dt2, type->CBAUcetMD, row.sm, md, {}, oper)));
                if (!added.ok())
                    return Status(added.error());
            }
            auto added = table.value().append(
                fitToTable(table.value(),
                           batchRow(*cd, ++pol, request.period.dt2, QStringLiteral("26101"), row.sm, {}, total, oper)));
            if (!added.ok())
                return Status(added.error());
        }
        return table.value().close();
    }();
    std::error_code ec;
    if (!written.ok()) {
        std::filesystem::remove(work, ec);
        return written;
    }
    // The rename replaces an older batch in one step: it is never deleted before the new one is in place.
    std::filesystem::rename(work, batch, ec);
    if (ec) {
        const QString reason = SystemErrors::describe(ec);
        std::filesystem::remove(work, ec);
        return Status::fail(QStringLiteral("Dávku %1 nelze uložit: %2").arg(TextFiles::toQString(batch), reason));
    }
    const QString section = QStringLiteral("CBA_EXPORT_VEREX");
    for (const auto& [key, value] : {std::pair{QStringLiteral("PoradiDavky"), request.txtPoradiDavky},
                                     std::pair{QStringLiteral("MesicDavky"), request.txtMesic},
                                     std::pair{QStringLiteral("RokDavky"), request.txtRok}}) {
        if (Status stored = ctx.state.config.zapis(section, key, value); !stored.ok())
            return stored;
    }
    ctx.prompts.message(ctx.text("expCBASoub1") + TextFiles::toQString(batch) + ctx.text("expCBASoub2"),
                        Prompts::Buttons::Ok, Prompts::Icon::Information);
    return Status::success();
}

} // namespace trv
