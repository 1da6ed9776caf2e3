#include "exports/SmSums.h"

#include "core/CPolozka.h"
#include "core/SettingsLoader.h"
#include "core/SmList.h"
#include "core/StatementLine.h"
#include "core/WorkingCopy.h"
#include "platform/Conventions.h"
#include "platform/DbfTable.h"
#include "platform/Prompts.h"
#include "platform/FolderListing.h"
#include "platform/TextFiles.h"

#include <map>
#include <tuple>

namespace trv {

Currency roundedTo2(Currency v) {
    constexpr qint64 step = 100; // ten-thousandths in one hundredth
    const qint64 u = v.units();
    const qint64 rest = u % step;
    qint64 base = u - rest;
    if (rest >= step / 2)
        base += step;
    else if (rest <= -step / 2)
        base -= step;
    return Currency::fromUnits(base);
}

QString pointText(Currency v) {
    return plainText(v).replace(u',', u'.');
}

Result<Currency> storedCodeValue(const CColStrav::StravPtr& type, const QString& code, const QString& valueField,
                                 bool euro) {
    if (!euro)
        return valCurrency(valueField);
    CPolozka item;
    item.Kod = code;
    item.setTypS(type);
    return item.DejHodnotu();
}

namespace {

Result<std::shared_ptr<CColStrav>> loadTypes(const ExportContext& ctx) {
    auto types = std::make_shared<CColStrav>(ctx.state, ctx.prompts, ctx.clock);
    const Status loaded = ctx.state.sw.gFSkupiny ? types->NactiINIGroup() : types->NactiINI();
    if (!loaded.ok())
        return loaded.error();
    return types;
}

struct FileParts {
    QString date;
    QString sm;
    QString oper;
    QString poradi;
};

Status writeScratchTable(const std::filesystem::path& file, const SmSums& sums, bool withCounts) {
    qsizetype smWidth = 4, operWidth = 3, poradiWidth = 3;
    for (const auto& row : sums.files) {
        smWidth = std::max(smWidth, row.sm.size());
        operWidth = std::max(operWidth, row.oper.size());
        poradiWidth = std::max(poradiWidth, row.poradi.size());
    }
    std::vector<DbfField> fields{{QStringLiteral("sm"), DbfFieldType::Character, static_cast<int>(smWidth), 0}};
    for (int i = 1; i <= sums.columns; ++i) {
        fields.push_back({QStringLiteral("hod%1").arg(i), DbfFieldType::Numeric, 20, 4});
        if (withCounts)
            fields.push_back({QStringLiteral("poc%1").arg(i), DbfFieldType::Numeric, 11, 0});
    }
    fields.push_back({QStringLiteral("operator"), DbfFieldType::Character, static_cast<int>(operWidth), 0});
    fields.push_back({QStringLiteral("poradi"), DbfFieldType::Character, static_cast<int>(poradiWidth), 0});

    const std::filesystem::path work = WorkingCopy::of(file);
    const Status written = [&]() -> Status {
        auto table = DbfTable::create(work, fields, DbfTable::IfExists::Replace);
        if (!table.ok())
            return Status(table.error());
        for (const auto& row : sums.files) {
            DbfFieldValues values{{QStringLiteral("sm"), DbfValue::text(row.sm)}};
            for (int i = 1; i <= sums.columns; ++i) {
                const size_t k = static_cast<size_t>(i - 1);
                values.emplace_back(QStringLiteral("hod%1").arg(i), DbfValue::number(row.sums[k]));
                if (withCounts)
                    values.emplace_back(QStringLiteral("poc%1").arg(i), DbfValue::integer(row.counts[k]));
            }
            values.emplace_back(QStringLiteral("operator"), DbfValue::text(row.oper));
            values.emplace_back(QStringLiteral("poradi"), DbfValue::text(row.poradi));
            if (auto appended = table.value().append(values); !appended.ok())
                return Status(appended.error());
        }
        return table.value().close();
    }();
    return WorkingCopy::putInPlace(work, file, written);
}

} // namespace

std::optional<SmSums> rowsOrNothing(ExportContext& ctx, SmSums sums) {
    if (sums.skippedLines > 0) {
        ctx.prompts.message(ctx.text("NezapocteneRadky") + QString::number(sums.skippedLines) +
                                ctx.text("VPrvnimSouboru") + sums.firstSkippedFile,
                            Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    }
    if (sums.rows.empty()) {
        ctx.prompts.message(ctx.text("ZadPodmNevyhovuje"), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return std::nullopt;
    }
    return sums;
}

Result<SmSums> sumPeriodPerSm(const ExportContext& ctx, const SmSumsRequest& request, SmSumsVariant variant) {
    const AppState& state = ctx.state;
    const CustomerSwitches& sw = state.sw;
    auto dataFolder = DejCestuDat(state.config);
    if (!dataFolder.ok())
        return Error{dataFolder.error().number, folderErrorText(state.config, DataFolder::Dat, dataFolder.error())};
    auto types = loadTypes(ctx);
    if (!types.ok())
        return types.error();

    SmSums out;
    out.types = types.value();
    int slotCount = out.types->count();
    for (const auto& type : *out.types)
        slotCount = std::max<int>(slotCount, type->PoradiSpolecnosti);
    // The table has a column for every type of the program's collection as well, so that no slot lacks one.
    if (state.gColStrav && variant != SmSumsVariant::Counts)
        slotCount = std::max(slotCount, state.gColStrav->pocetSpolecnosti());
    out.columns = slotCount;

    // The excluded list can be longer than an ordinary value: read it whole.
    const QStringList excluded =
        variant == SmSumsVariant::Cba
            ? SmList::parse(state.config.ctiCestu(QStringLiteral("CBA_EXPORT_VEREX"), QStringLiteral("NeexportovatSM"))
                                .value_or(QString()))
            : QStringList();
    const QStringList smFilter = SmList::parse(request.txtSM);
    const QString from = dateYYMMDD(request.dt1);
    const QString to = dateYYMMDD(request.dt2);
    const QString separator = DejOddelovacExportu(state.config);
    const int codeIndex = sw.gFVycBezData ? 3 : 4;
    const bool byHandOver = sw.gFDatumOdvodu && request.optDatumVyc;

    auto listed = FolderListing::list(state.gDatovyAdresar, QStringLiteral("*.vyc"));
    if (!listed.ok())
        return listed.error();
    for (const auto& [path, listedName] : listed.value()) {
        // A byte of the name that could not be decoded goes into the table as '?', as any character the table's
        // Windows-1250 lacks.
        QString name = QString(listedName).replace(QChar::ReplacementCharacter, u'?');
        if (variant == SmSumsVariant::Cba && sw.gFZakaznik)
            name = name.mid(2);
        if (name.size() < 11 || !name.endsWith(QLatin1String(".vyc")))
            continue;
        QString date = left(name, 6);
        if (byHandOver) {
            if (!name.contains(u'-'))
                return Error{0, ctx.text("Soubor") + name + ctx.text("NeobsDatum")};
            date = mid(name, 8, 6);
        }
        if (date < from || date > to)
            continue;
        const QStringList parts = name.split(u'_');
        if (parts.size() < 3)
            continue; // a cash-desk statement names no SM and operator: it has no place in a per-SM export
        FileParts fp{date, parts[1], left(parts[2], 3), mid(name, name.size() - 4, 1)};
        if (!smFilter.isEmpty() && !SmList::contains(smFilter, fp.sm))
            continue;
        if (SmList::contains(excluded, fp.sm))
            continue;

        auto lines = TextFiles::readLines(path);
        if (!lines.ok())
            return lines.error();
        SmSumsRow row{fp.sm, fp.oper, fp.poradi, std::vector<Currency>(static_cast<size_t>(slotCount)),
                      std::vector<qint64>(static_cast<size_t>(slotCount), 0)};
        for (const QString& line : lines.value()) {
            if (line.trimmed().isEmpty())
                continue;
            const auto fields = StatementLine::fieldsWith(line, separator, codeIndex + 2);
            const CColStrav::StravPtr type = fields ? out.types->NajdiDelkuKod(fields->at(codeIndex)) : nullptr;
            if (!type || type->PoradiSpolecnosti < 1 || type->PoradiSpolecnosti > slotCount) {
                if (out.skippedLines++ == 0)
                    out.firstSkippedFile = TextFiles::toQString(path);
                continue;
            }
            auto value = storedCodeValue(type, fields->at(codeIndex), fields->at(codeIndex + 1), sw.gFEuro);
            if (!value.ok())
                return value.error();
            const size_t k = static_cast<size_t>(type->PoradiSpolecnosti - 1);
            row.sums[k] += value.value();
            ++row.counts[k];
        }
        out.files.push_back(std::move(row));
    }

    if (Status written = writeScratchTable(dataFolder.value() / kScratchTableName.toStdU16String(), out,
                                           variant == SmSumsVariant::Counts);
        !written.ok())
        return written.error();

    using Key = std::tuple<QString, QString, QString>;
    std::map<Key, SmSumsRow> grouped;
    for (const auto& file : out.files) {
        const Key key = request.chkNespojovatSM ? Key{file.sm, file.oper, file.poradi} : Key{file.sm, {}, {}};
        auto [it, fresh] = grouped.try_emplace(key, file);
        if (fresh) {
            if (!request.chkNespojovatSM) {
                it->second.oper.clear();
                it->second.poradi.clear();
            }
            continue;
        }
        for (size_t k = 0; k < file.sums.size(); ++k) {
            it->second.sums[k] += file.sums[k];
            it->second.counts[k] += file.counts[k];
        }
    }
    for (auto& [key, row] : grouped)
        out.rows.push_back(std::move(row));
    return out;
}

} // namespace trv
