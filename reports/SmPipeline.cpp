#include "reports/SmReports.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "core/SmList.h"
#include "core/StatementLine.h"
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

// kind, sm width from [Data] DelkaSM, value columns, operator+poradi, datum, customer prefix dropped, value,
// per-file grouping keyed by day, zero rows, zero rows only without an SM filter, export question, export file
// named after the period's end with switch 34.
const SmVariant kVariants[] = {
    {SmReportKind::Souhrn, true, V::Columns::PerType, true, true, false, V::Value::FieldOrEuro, true,
     V::Zero::NotPerFile, true, V::Ask::Unless23, false},
    {SmReportKind::Provize, false, V::Columns::PerType, true, true, true, V::Value::FieldOrEuro, false,
     V::Zero::PerSmOnly, true, V::Ask::Yes, true},
    {SmReportKind::PrehledProvize, false, V::Columns::PerType, true, true, true, V::Value::FieldOrEuro, false,
     V::Zero::PerSmOnly, true, V::Ask::Yes, true},
    {SmReportKind::TriSpol, false, V::Columns::Three, false, false, false, V::Value::Field, false, V::Zero::Always,
     false, V::Ask::No, false},
    {SmReportKind::PetSpol, false, V::Columns::Five, true, false, false, V::Value::Field, false, V::Zero::NotPerFile,
     false, V::Ask::Yes, false},
    {SmReportKind::Prehled, false, V::Columns::PerType, true, false, true, V::Value::Always, false, V::Zero::NotPerFile,
     true, V::Ask::No, false},
};

// The number at the start of a value field: digits with a decimal point or comma (the statement writer uses the
// regional decimal comma), whatever follows ignored; 0 when there is none.
double leadingNumber(const QString& field) {
    return val(field);
}

struct FileRow {
    QString sm;
    QString oper;
    QString poradi;
    QString datum;
    std::vector<double> sums;
};

// The fixed issuer column of a statement's type field ("2" SODEXHO, "1" CHEQUE DJ, "3" TICKET, "4" EXI,
// "5" vouchers), -1 for any other text.
int fixedColumn(const QString& typeField, int columns) {
    static const QStringList kTypes = {QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("3"),
                                       QStringLiteral("4"), QStringLiteral("5")};
    const int i = int(kTypes.indexOf(typeField));
    return i < columns ? i : -1;
}

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
    if (v.columns == V::Columns::PerType) {
        auto loaded = PeriodLoader(m_services).novaKolekce(false);
        if (!loaded.ok()) {
            prompts.error(loaded.message());
            return std::nullopt;
        }
        col = std::move(loaded).value();
    }
    period.columns = v.columns == V::Columns::Three  ? 3
                     : v.columns == V::Columns::Five ? 5
                                                     : (col.types ? col.types->pocetSpolecnosti() : 0);

    const auto dataDir = DejCestuDat(app.config);
    if (!dataDir.ok()) {
        prompts.error(folderErrorText(app.config, DataFolder::Dat, dataDir.error()));
        return std::nullopt;
    }
    const auto listed = TextFiles::listFolder(app.gDatovyAdresar, QStringLiteral("*.vyc"));
    if (!listed.ok()) {
        prompts.error(listed.message());
        return std::nullopt;
    }

    const QString from = dateYYMMDD(c.dt1);
    const QString to = dateYYMMDD(c.dt2);
    const QByteArray separator = DejOddelovacExportu(app.config).toUtf8();
    const std::string_view sep(separator.constData(), size_t(separator.size()));
    const QStringList filter = SmList::parse(c.sm);
    const int codeField = sw.gFDepo ? 5 : sw.gFVycBezData ? 3 : 4; // 0-based
    const int typeField = sw.gFDepo ? 4 : sw.gFVycBezData ? 2 : 3;
    const int valueField = codeField + 1;
    const int fixedValueField = typeField + 2;

    StoredCodes unused;
    const bool fastRecognition = col.types && sw.gFRozpoznaniKodem;
    std::unique_ptr<StoredCodeBooking> fast;
    if (fastRecognition)
        fast = std::make_unique<StoredCodeBooking>(app, *col.types, prompts, m_services.reader, unused);

    std::vector<FileRow> rows;
    QString lastDatum, lastOper, lastPoradi;
    for (const auto& path : listed.value()) {
        QString name = TextFiles::toQString(path.filename());
        if (v.dropCustomerPrefix && sw.gFZakaznik)
            name = name.mid(2);
        if (name.size() < 11 || !name.endsWith(QStringLiteral(".vyc")))
            continue;
        QString datum = name.left(6);
        if (sw.gFDatumOdvodu && c.datumVyc) {
            if (!name.contains(u'-')) {
                prompts.message(T("Soubor") + name + T("NeobsDatum"), Prompts::Buttons::Ok, Prompts::Icon::Critical);
                return std::nullopt;
            }
            datum = mid(name, 8, 6);
        }
        lastDatum = datum;
        if (datum < from || datum > to)
            continue;
        const auto [sm, operFull] = smAndOperator(name);
        const QString poradi = mid(name, name.size() - 4, 1);
        lastOper = operFull.left(3);
        lastPoradi = poradi;
        // Whole SMs: "1" is not in the filter "101".
        if (!c.sm.trimmed().isEmpty() && !SmList::contains(filter, sm))
            continue;
        if (!c.oper.isEmpty() && c.oper.toUpper() != operFull.toUpper())
            continue;

        FileRow row{sm, operFull.left(3), poradi, datum, std::vector<double>(size_t(period.columns), 0.0)};
        const auto bytes = StatementLine::readUtf8(path);
        if (!bytes.ok()) {
            prompts.error(bytes.message());
            return std::nullopt;
        }
        // A month holds about a million lines: they are read as bytes, only the fields wanted taken out.
        const std::string_view text(bytes.value().constData(), size_t(bytes.value().size()));
        double pouk = 0;
        const auto field = [&](std::string_view line, int index) { // 0-based
            return StatementLine::fieldAt(line, sep, index + 1);
        };
        const auto number = [](std::optional<std::string_view> f) {
            return f ? leadingNumber(QString::fromUtf8(f->data(), qsizetype(f->size()))) : 0.0;
        };
        for (const std::string_view line : StatementLine::lines(text)) {
            if (v.columns != V::Columns::PerType) {
                const auto typeText = field(line, typeField);
                if (!typeText || !field(line, fixedValueField))
                    continue;
                const int column =
                    fixedColumn(QString::fromUtf8(typeText->data(), qsizetype(typeText->size())), period.columns);
                if (column < 0)
                    continue;
                const double value = number(field(line, fixedValueField));
                if (column == 4) // the vouchers are counted in whole crowns, ties to even
                    row.sums[4] = pouk = std::nearbyint(pouk + value);
                else
                    row.sums[size_t(column)] += value;
                continue;
            }
            const auto codeText = field(line, codeField);
            if (!codeText)
                continue;
            const QString code = QString::fromUtf8(codeText->data(), qsizetype(codeText->size()));
            std::shared_ptr<CStrav> type;
            if (fastRecognition && code != app.gNoRead) {
                // With whole-code recognition on, the summaries' recogniser gives NajdiDelkuKod's answer, kept
                // per code length and the parts the types look at.
                const int index = fast->typeQuietly(*codeText);
                if (index >= 0)
                    type = col.types->Item(index + 1);
            } else {
                type = col.types->NajdiDelkuKod(code);
            }
            if (!type) {
                period.note = name + QStringLiteral(" Nerozpoznaná stravenka! : ") + code + QStringLiteral("\r\n");
                continue;
            }
            const int k = type->PoradiSpolecnosti;
            if (k < 1 || k > period.columns)
                continue;
            double value = 0;
            if (v.value == V::Value::Always || (v.value == V::Value::FieldOrEuro && sw.gFEuro)) {
                CPolozka item;
                item.Kod = code;
                item.setTypS(type);
                const auto worth = item.DejHodnotu();
                if (!worth.ok()) {
                    prompts.error(worth.message());
                    return std::nullopt;
                }
                value = worth.value().toDouble();
            } else {
                value = number(field(line, valueField));
            }
            row.sums[size_t(k - 1)] += value;
        }
        rows.push_back(std::move(row));
    }

    // Zero rows: every SM of the list appears, with zero sums when it has no file.
    const bool zeroSwitch = sw.gFVycetky || sw.gFSeznamSM;
    bool zero = zeroSwitch && (!v.zeroNeedsNoFilter || c.sm.isEmpty());
    if (v.zeroRows == V::Zero::NotPerFile && c.nespojovat)
        zero = false;
    if (v.zeroRows == V::Zero::PerSmOnly && (c.nespojovat || c.groupByDay))
        zero = false;
    if (zero) {
        const QStringList list = SmList::parse(app.config.CtiKonfig(QStringLiteral("Data"), QStringLiteral("SM"), {}));
        for (const QString& sm : list)
            rows.push_back({sm, lastOper, lastPoradi, v.datum ? lastDatum : QString(),
                            std::vector<double>(size_t(period.columns), 0.0)});
    }

    // The scratch table, written field by field. The SM column takes [Data] DelkaSM (read now) or 4, widened to
    // the longest SM met, so that no SM is cut into another.
    int width = 4;
    if (v.smWidthFromConfig)
        width = int(toInteger(app.config.CtiKonfig(QStringLiteral("Data"), QStringLiteral("DelkaSM"), {})).value_or(0));
    for (const FileRow& r : rows)
        width = std::max(width, int(r.sm.size()));
    width = std::max(width, 1);

    std::vector<DbfField> fields{{QStringLiteral("sm"), DbfFieldType::Character, width, 0}};
    QStringList valueNames;
    if (v.columns == V::Columns::PerType) {
        for (int k = 1; k <= period.columns; ++k)
            valueNames.append(QStringLiteral("hod%1").arg(k));
    } else {
        valueNames = {QStringLiteral("hod_sod"), QStringLiteral("hod_che"), QStringLiteral("hod_tic")};
        if (v.columns == V::Columns::Five)
            valueNames += {QStringLiteral("hod_exi"), QStringLiteral("hod_pouk")};
    }
    for (const QString& n : valueNames)
        fields.push_back({n, DbfFieldType::Numeric, 20, 4});
    if (v.operPoradi) {
        fields.push_back({QStringLiteral("operator"), DbfFieldType::Character, 3, 0});
        fields.push_back({QStringLiteral("poradi"), DbfFieldType::Character, 3, 0});
    }
    if (v.datum)
        fields.push_back({QStringLiteral("datum"), DbfFieldType::Character, 6, 0});

    auto table = DbfTable::create(dataDir.value() / "data.dbf", fields, DbfTable::IfExists::Replace);
    if (!table.ok()) {
        prompts.error(table.message());
        return std::nullopt;
    }
    for (const FileRow& r : rows) {
        DbfFieldValues values{{QStringLiteral("sm"), DbfValue::text(r.sm)}};
        for (int k = 0; k < period.columns; ++k)
            values.emplace_back(valueNames[k], DbfValue::number(Currency::fromDoubleRounded(r.sums[size_t(k)])));
        if (v.operPoradi) {
            values.emplace_back(QStringLiteral("operator"), DbfValue::text(r.oper));
            values.emplace_back(QStringLiteral("poradi"), DbfValue::text(r.poradi));
        }
        if (v.datum)
            values.emplace_back(QStringLiteral("datum"), DbfValue::text(r.datum));
        if (const auto added = table.value().append(values); !added.ok()) {
            prompts.error(added.message());
            return std::nullopt;
        }
    }
    auto stored = table.value().readAll();
    if (!stored.ok()) {
        prompts.error(stored.message());
        return std::nullopt;
    }
    (void)table.value().close();

    // The grouping, as the report's query groups and orders its rows.
    using Key = std::tuple<QString, QString, QString, QString, int>;
    std::map<Key, SmRow> groups;
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
        auto [it, fresh] = groups.try_emplace(key, r);
        if (fresh)
            it->second.sums.assign(size_t(period.columns), 0.0);
        for (int k = 0; k < period.columns; ++k)
            it->second.sums[size_t(k)] += rec.number(valueNames[k]).value_or(Currency()).toDouble();
    }
    for (auto& [key, row] : groups)
        period.rows.push_back(std::move(row));

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

QString amountCell(double v, int w) {
    return right(QString(20, u' ') + formatCurrency(Currency::fromDoubleRounded(ZaokrouhliText(v, 2))), w);
}

} // namespace trv
