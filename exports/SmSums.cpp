#include "exports/SmSums.h"

#include "core/CStrav.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "core/WorkingCopy.h"
#include "platform/Conventions.h"
#include "platform/DbfTable.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

#include <map>
#include <tuple>

namespace trv {

namespace {

constexpr int kSumWidth = 20;
constexpr int kSumDecimals = 4;

// The greatest amount a value column cannot hold. Every amount of the money type has at most 15 digits before the
// point, which with the point and the decimals fill the column; the sign of a negative amount takes one of them.
Currency scratchColumnBound() {
    qint64 bound = 1;
    for (int i = 0; i < kSumWidth - kSumDecimals - 2; ++i)
        bound *= 10;
    return Currency::fromInt(-bound);
}

} // namespace

DbfField scratchSumField(const QString& name) {
    return {name, DbfFieldType::Numeric, kSumWidth, kSumDecimals};
}

bool fitsScratchColumn(Currency sum) {
    static const Currency bound = scratchColumnBound();
    return sum > bound;
}

QString scratchColumnMisfitText(const QString& where) {
    return sumOutOfRangeText(where, kScratchTableName, scratchColumnBound());
}

Status fileSumsFitScratchTable(const SmScan& scan, const std::function<QString(size_t)>& columnName) {
    for (const SmFileSums& file : scan.files) {
        for (size_t k = 0; k < file.sums.size(); ++k) {
            if (!fitsScratchColumn(file.sums[k]))
                return Status::fail(
                    scratchColumnMisfitText(QStringLiteral("soubor %1, %2").arg(file.file, columnName(k))));
        }
    }
    return Status::success();
}

Currency roundedTo2(Currency v) {
    return ZaokrouhliText(v, 2);
}

QString pointText(Currency v) {
    return plainText(v).replace(u',', u'.');
}

namespace {

Result<std::shared_ptr<CColStrav>> loadTypes(const ExportContext& ctx) {
    auto types = std::make_shared<CColStrav>(ctx.state, ctx.prompts, ctx.clock);
    const Status loaded = ctx.state.sw.gFSkupiny ? types->NactiINIGroup() : types->NactiINI();
    if (!loaded.ok())
        return loaded.error();
    return types;
}

Status writeScratchTable(const std::filesystem::path& file, const SmSums& sums, bool withCounts) {
    qsizetype smWidth = 4, operWidth = 3, poradiWidth = 3;
    for (const auto& row : sums.scan.files) {
        smWidth = std::max(smWidth, row.sm.size());
        operWidth = std::max(operWidth, row.oper.size());
        poradiWidth = std::max(poradiWidth, row.poradi.size());
    }
    std::vector<DbfField> fields{{QStringLiteral("sm"), DbfFieldType::Character, static_cast<int>(smWidth), 0}};
    for (int i = 1; i <= sums.columns; ++i) {
        fields.push_back(scratchSumField(QStringLiteral("hod%1").arg(i)));
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
        for (const auto& row : sums.scan.files) {
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
    if (sums.rows.empty()) {
        ctx.prompts.message(ctx.text("ZadPodmNevyhovuje"), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return std::nullopt;
    }
    return sums;
}

Result<SmSums> sumPeriodPerSm(const ExportContext& ctx, const SmSumsRequest& request, SmSumsVariant variant) {
    AppState& state = ctx.state;
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

    static const SmScanVariant kVariants[] = {
        // Cba: the accounting batch leaves out the excluded SMs and, in customer mode, two characters of the name
        {SmScanVariant::Columns::PerType, SmScanVariant::Value::FieldOrEuro, true, true},
        // Tesco
        {SmScanVariant::Columns::PerType, SmScanVariant::Value::FieldOrEuro, false, false},
        // Counts
        {SmScanVariant::Columns::PerType, SmScanVariant::Value::FieldOrEuro, false, false},
    };
    auto scanned = scanStatementFiles(
        ctx.state, ctx.prompts, out.types.get(), slotCount,
        {request.dt1, request.dt2, request.txtSM, {}, request.optDatumVyc, ctx.progress, request.pieceSize},
        kVariants[static_cast<int>(variant)]);
    if (!scanned.ok())
        return scanned.error();
    out.scan = std::move(scanned).value();
    const auto typeName = [&](size_t k) {
        return columnName(out.types.get(), SmScanVariant::Columns::PerType, int(k));
    };
    // Each file's sums are written to the table: one its column cannot hold ends the run as one the money type
    // cannot.
    if (const Status fits = fileSumsFitScratchTable(out.scan, typeName); !fits.ok())
        return fits.error();
    tellLeftOut(state, ctx.prompts, out.scan);

    using Key = std::tuple<QString, QString, QString>;
    std::map<Key, SmSumsRow> grouped;
    for (const auto& file : out.scan.files) {
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
            const auto sum = it->second.sums[k].plus(file.sums[k]);
            if (!sum)
                return Error{0, sumOutOfRangeText(QStringLiteral("středisko %1, %2").arg(file.sm, typeName(k)))};
            it->second.sums[k] = *sum;
            it->second.counts[k] += file.counts[k];
        }
    }
    // The totals the exports form of the rows (an SM's over its columns, exact or of the sums rounded to hundredths,
    // the exact one in whole crowns, and the total of all SMs) are checked here, before anything is written. An SM's
    // sums are read back as the table's columns hold them.
    Currency all;
    for (const auto& [key, row] : grouped) {
        std::optional<Currency> exact = Currency(), rounded = Currency();
        for (size_t k = 0; k < row.sums.size(); ++k) {
            const Currency sum = row.sums[k];
            if (!fitsScratchColumn(sum))
                return Error{0, scratchColumnMisfitText(QStringLiteral("středisko %1, %2").arg(row.sm, typeName(k)))};
            exact = exact ? exact->plus(sum) : exact;
            rounded = rounded ? rounded->plus(roundedTo2(sum)) : rounded;
        }
        const bool wholeCrowns = variant == SmSumsVariant::Counts;
        if (!exact || !rounded || (wholeCrowns && !exact->roundedInRange(0)))
            return Error{0, sumOutOfRangeText(QStringLiteral("středisko %1, součet všech typů").arg(row.sm))};
        const auto grand = all.plus(*rounded);
        if (!grand)
            return Error{0, sumOutOfRangeText(QStringLiteral("součet všech středisek"))};
        all = *grand;
    }
    // Grouped and checked first: a sum that does not fit leaves no table behind.
    if (Status written = writeScratchTable(dataFolder.value() / kScratchTableName.toStdU16String(), out,
                                           variant == SmSumsVariant::Counts);
        !written.ok())
        return written.error();

    for (auto& [key, row] : grouped)
        out.rows.push_back(std::move(row));
    return out;
}

} // namespace trv
