#include "reports/SmReports.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "core/SmList.h"
#include "core/StatementLine.h"
#include "core/WorkingCopy.h"
#include "exports/SmSums.h"
#include "platform/Conventions.h"
#include "platform/DbfTable.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "summaries/PeriodFiles.h"
#include "summaries/PeriodLoader.h"
#include "summaries/StoredCodeBooking.h"

#include <QtMath>

#include <algorithm>
#include <map>
#include <tuple>

namespace trv {

namespace {

using V = SmVariant;
const QString kSection = QStringLiteral("frmSoucVycObd");

QString outOfRange(const QString& sm, const QString& column) {
    return sumOutOfRangeText(QStringLiteral("středisko %1, %2").arg(sm, column));
}

using C = SmScanVariant::Columns;
using Val = SmScanVariant::Value;

// kind, sm width from [Data] DelkaSM, {value columns, value, customer prefix dropped, no exclusion},
// operator+poradi, datum, per-file grouping keyed by day, zero rows, zero rows only without an SM filter, export
// question, export file named after the period's end with switch 34.
// clang-format off
const SmVariant kVariants[] = {
    {SmReportKind::Souhrn, true, {C::PerType, Val::FieldOrEuro, false, false}, true, true, true,
     V::Zero::NotPerFile, true, V::Ask::Unless23, false},
    {SmReportKind::Provize, false, {C::PerType, Val::FieldOrEuro, true, false}, true, true, false,
     V::Zero::PerSmOnly, true, V::Ask::Yes, true},
    {SmReportKind::PrehledProvize, false, {C::PerType, Val::FieldOrEuro, true, false}, true, true, false,
     V::Zero::PerSmOnly, true, V::Ask::Yes, true},
    {SmReportKind::TriSpol, false, {C::Three, Val::Field, false, false}, false, false, false,
     V::Zero::Always, false, V::Ask::No, false},
    {SmReportKind::PetSpol, false, {C::Five, Val::Field, false, false}, true, false, false,
     V::Zero::NotPerFile, false, V::Ask::Yes, false},
    {SmReportKind::Prehled, false, {C::PerType, Val::Always, true, false}, true, false, false,
     V::Zero::NotPerFile, true, V::Ask::No, false},
};
// clang-format on

} // namespace

const SmVariant& smVariant(SmReportKind kind) {
    for (const SmVariant& v : kVariants)
        if (v.kind == kind)
            return v;
    return kVariants[0];
}

SmGrouping smGrouping(SmReportKind kind, const SmReportChoice& c) {
    switch (kind) {
    case SmReportKind::TriSpol:
        return SmGrouping::PerSM;
    case SmReportKind::PetSpol:
        return c.nespojovat ? SmGrouping::Files : SmGrouping::PerSM;
    case SmReportKind::Prehled:
        return c.nespojovat ? SmGrouping::PerFile : SmGrouping::PerSM;
    default:
        return c.groupByDay ? SmGrouping::PerDay : c.nespojovat ? SmGrouping::PerFile : SmGrouping::PerSM;
    }
}

SmReports::SmReports(const PeriodServices& services) : m_services(services) {}

QString SmReports::T(const char* key) const {
    return m_services.state.config.DejText(kSection, QString::fromLatin1(key));
}

std::optional<SmPeriod> SmReports::nactiObdobi(SmReportKind kind, const SmReportChoice& c) {
    AppState& app = m_services.state;
    Prompts& prompts = m_services.prompts;
    const SmVariant& v = smVariant(kind);
    const auto& sw = app.sw;
    SmPeriod period;
    period.grouping = smGrouping(kind, c);

    // A collection of the report's own recognises the codes; the window's stays as it is. The fixed-issuer
    // reports sort by the type field and recognise nothing.
    PeriodCollection col;
    if (v.scan.columns == C::PerType) {
        auto loaded = PeriodLoader(m_services).novaKolekce(false);
        if (!loaded.ok()) {
            prompts.error(loaded.message());
            return std::nullopt;
        }
        col = std::move(loaded).value();
    }
    period.columns = v.scan.columns == C::Three  ? 3
                     : v.scan.columns == C::Five ? 5
                                                 : (col.types ? col.types->pocetSpolecnosti() : 0);

    const auto dataDir = DejCestuDat(app.config);
    if (!dataDir.ok()) {
        prompts.error(folderErrorText(app.config, DataFolder::Dat, dataDir.error()));
        return std::nullopt;
    }
    auto scanned = scanStatementFiles(app, prompts, col.types.get(), period.columns,
                                      {c.dt1, c.dt2, c.sm, c.oper, c.datumVyc, m_services.progress}, v.scan);
    if (!scanned.ok()) {
        prompts.error(scanned.message());
        return std::nullopt;
    }
    const SmScan& scan = scanned.value();
    // Each file's sums are written to the scratch table: one its column cannot hold ends the report as one the money
    // type cannot.
    if (const Status fits = fileSumsFitScratchTable(
            scan, [&](size_t k) { return columnName(col.types.get(), v.scan.columns, int(k)); });
        !fits.ok()) {
        prompts.error(fits.message());
        return std::nullopt;
    }
    period.note = scan.lastUnknown;
    tellLeftOut(app, prompts, scan);
    std::vector<SmFileSums> rows = scan.files;

    // Zero rows: every SM of the list appears, with zero sums when it has no file.
    const bool zeroSwitch = sw.gFVycetky || sw.gFSeznamSM;
    bool zero = zeroSwitch && (!v.zeroNeedsNoFilter || SmList::Filter(c.sm).takesAll());
    if (v.zeroRows == V::Zero::NotPerFile && c.nespojovat)
        zero = false;
    if (v.zeroRows == V::Zero::PerSmOnly && (c.nespojovat || c.groupByDay))
        zero = false;
    if (zero) {
        const QStringList list = SmList::parse(app.config.CtiKonfig(QStringLiteral("Data"), QStringLiteral("SM"), {}));
        for (const QString& sm : list)
            rows.push_back({sm, scan.lastOper, scan.lastPoradi, v.datum ? scan.lastDatum : QString(),
                            std::vector<Currency>(size_t(period.columns)), std::vector<qint64>(size_t(period.columns)),
                            QString()});
    }

    // The scratch table, written field by field. The SM column takes [Data] DelkaSM (read now) or 4, widened to
    // the longest SM met, so that no SM is cut into another.
    int width = 4;
    if (v.smWidthFromConfig)
        width = int(toInteger(app.config.CtiKonfig(QStringLiteral("Data"), QStringLiteral("DelkaSM"), {})).value_or(0));
    for (const SmFileSums& r : rows)
        width = std::max(width, int(r.sm.size()));
    width = std::max(width, 1);

    std::vector<DbfField> fields{{QStringLiteral("sm"), DbfFieldType::Character, width, 0}};
    QStringList valueNames;
    if (v.scan.columns == C::PerType) {
        for (int k = 1; k <= period.columns; ++k)
            valueNames.append(QStringLiteral("hod%1").arg(k));
    } else {
        valueNames = {QStringLiteral("hod_sod"), QStringLiteral("hod_che"), QStringLiteral("hod_tic")};
        if (v.scan.columns == C::Five)
            valueNames += {QStringLiteral("hod_exi"), QStringLiteral("hod_pouk")};
    }
    for (const QString& n : valueNames)
        fields.push_back(scratchSumField(n));
    if (v.operPoradi) {
        fields.push_back({QStringLiteral("operator"), DbfFieldType::Character, 3, 0});
        fields.push_back({QStringLiteral("poradi"), DbfFieldType::Character, 3, 0});
    }
    if (v.datum)
        fields.push_back({QStringLiteral("datum"), DbfFieldType::Character, 6, 0});

    // The table is written as a working copy that replaces data.dbf only when the report can go on: a sum that
    // does not fit leaves the last table as it was.
    const std::filesystem::path file = dataDir.value() / "data.dbf";
    const std::filesystem::path work = WorkingCopy::of(file);
    const Status loaded = [&]() -> Status {
        auto table = DbfTable::create(work, fields, DbfTable::IfExists::Replace);
        if (!table.ok()) {
            return Status(table.error());
        }
        for (const SmFileSums& r : rows) {
            DbfFieldValues values{{QStringLiteral("sm"), DbfValue::text(r.sm)}};
            for (int k = 0; k < period.columns; ++k)
                values.emplace_back(valueNames[k], DbfValue::number(r.sums[size_t(k)]));
            if (v.operPoradi) {
                values.emplace_back(QStringLiteral("operator"), DbfValue::text(r.oper));
                values.emplace_back(QStringLiteral("poradi"), DbfValue::text(r.poradi));
            }
            if (v.datum)
                values.emplace_back(QStringLiteral("datum"), DbfValue::text(r.datum));
            if (const auto added = table.value().append(values); !added.ok()) {
                return Status(added.error());
            }
        }
        auto stored = table.value().readAll();
        if (!stored.ok()) {
            return Status(stored.error());
        }
        if (const Status closed = table.value().close(); !closed.ok())
            return closed;

        // The grouping, as the report's query groups and orders its rows.
        using Key = std::tuple<QString, QString, QString, QString, int>;
        // Summed exactly; the print's arithmetic takes the sums from here.
        std::map<Key, std::pair<SmRow, std::vector<Currency>>> groups;
        int serial = 0;
        for (const DbfRecord& rec : stored.value()) {
            SmRow r;
            r.sm = rec.text(u"sm").trimmed();
            r.oper = rec.text(u"operator").trimmed();
            r.poradi = rec.text(u"poradi").trimmed();
            r.datum = rec.text(u"datum").trimmed();
            Key key;
            switch (period.grouping) {
            case SmGrouping::PerSM:
                key = {r.sm, {}, {}, {}, 0};
                r.oper.clear(), r.poradi.clear(), r.datum.clear();
                break;
            case SmGrouping::PerDay:
                key = {r.datum, r.sm, {}, {}, 0};
                r.oper.clear(), r.poradi.clear();
                break;
            case SmGrouping::PerFile:
                key = v.perFileByDay ? Key{r.datum, r.sm, r.oper, r.poradi, 0} : Key{r.sm, r.oper, r.poradi, {}, 0};
                if (!v.perFileByDay)
                    r.datum.clear();
                break;
            case SmGrouping::Files:
                key = {r.sm, r.oper, r.poradi, {}, serial++};
                break;
            }
            auto [it, fresh] = groups.try_emplace(key, r, std::vector<Currency>(size_t(period.columns)));
            for (int k = 0; k < period.columns; ++k) {
                Currency& sum = it->second.second[size_t(k)];
                const auto added = sum.plus(rec.number(valueNames[k]).value_or(Currency()));
                if (!added) {
                    return Status::fail(outOfRange(r.sm, columnName(col.types.get(), v.scan.columns, k)));
                }
                sum = *added;
            }
        }
        // An SM's sums are what the query reads back in the table's columns.
        for (const auto& [key, group] : groups) {
            for (int k = 0; k < period.columns; ++k) {
                if (!fitsScratchColumn(group.second[size_t(k)])) {
                    return Status::fail(scratchColumnMisfitText(
                        QStringLiteral("středisko %1, %2")
                            .arg(group.first.sm, columnName(col.types.get(), v.scan.columns, k))));
                }
            }
        }
        for (auto& [key, group] : groups) {
            auto& [row, sums] = group;
            row.sums = std::move(sums);
            period.rows.push_back(std::move(row));
        }
        // Every total a report forms of the rows fits the money type before anything is printed or exported: a row's
        // over all its columns, their sum, and per column the sum of the exact and of the rounded values.
        std::optional<Currency> grand = Currency();
        std::vector<std::optional<Currency>> exact(size_t(period.columns), Currency());
        std::vector<std::optional<Currency>> rounded(exact);
        const auto add = [](std::optional<Currency>& to, Currency v) { to = to ? to->plus(v) : to; };
        for (const SmRow& row : period.rows) {
            std::optional<Currency> total = Currency();
            for (int k = 0; k < period.columns; ++k) {
                const Currency sum = row.sums[size_t(k)];
                add(total, sum);
                add(exact[size_t(k)], sum);
                add(rounded[size_t(k)], ZaokrouhliText(sum, 2));
                if (!exact[size_t(k)] || !rounded[size_t(k)]) {
                    return Status::fail(sumOutOfRangeText(
                        QStringLiteral("všechna střediska, %1").arg(columnName(col.types.get(), v.scan.columns, k))));
                }
            }
            if (!total) {
                return Status::fail(outOfRange(row.sm, QStringLiteral("součet všech typů")));
            }
            add(grand, *total);
            if (!grand) {
                return Status::fail(sumOutOfRangeText(QStringLiteral("součet všech středisek a typů")));
            }
        }
        return Status::success();
    }();
    if (const Status placed = WorkingCopy::putInPlace(work, file, loaded); !placed.ok()) {
        prompts.error(placed.message());
        return std::nullopt;
    }

    if (period.rows.empty()) {
        prompts.message(T("tiskNevyhovZaznam"), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return std::nullopt;
    }
    return period;
}

std::pair<int, int> typeRange(const QString& od, const QString& doTyp, int n) {
    const int first = std::max(1, int(std::trunc(val(od))));
    const int last = std::min(n, int(std::trunc(val(doTyp))));
    return {first, last};
}

QString amountCell(Currency v, int w) {
    return padLeft(formatCurrency(ZaokrouhliText(v, 2)), w);
}

} // namespace trv
