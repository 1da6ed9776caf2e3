#include "reports/SmReports.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "core/SmList.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

#include <functional>

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmSoucVycObd");
const QString kCrLf = QStringLiteral("\r\n");

QString blanks(int n) {
    return QString(std::max(n, 0), u' ');
}
QString under(int n) {
    return QString(std::max(n, 0), u'_');
}
Currency R(Currency v) {
    return ZaokrouhliText(v, 2);
}
// The name of a type padded or cut to 12 characters.
QString nameCell(const QString& name) {
    return left(name + blanks(11), 12);
}
// A formatted amount, without rounding first, right-aligned in w characters; a wider amount is printed whole.
QString fixedCell(Currency v, int w) {
    return padLeft(formatCurrency(v), w);
}
// The row total over every type, not only the printed ones (the load has checked that it fits).
Currency rowTotal(const SmRow& row) {
    Currency total;
    for (const Currency& s : row.sums)
        total += s;
    return total;
}
QString period(const SmReportChoice& c) {
    return dateDMY(c.dt1) + QStringLiteral(" - ") + dateDMY(c.dt2);
}

// Commission and the VAT on it at a type's rates, each figured exactly from the amount and rounded once to
// hundredths; with switch 18 the rate includes the VAT and the commission is its net part. nullopt when one of
// them does not fit the money type (a rate far above 100 %).
struct Commission {
    Currency provize;
    Currency dph;
};
std::optional<Commission> commission(Currency v, double p, double d, bool inclusive) {
    const Currency rate = Currency::fromDoubleRounded(p);
    const Currency vat = Currency::fromDoubleRounded(d);
    const auto provize =
        inclusive ? v.percentagesRounded({rate, Currency::fromInt(100) - vat}, 2) : v.percentagesRounded({rate}, 2);
    const auto dph = v.percentagesRounded({rate, vat}, 2);
    if (!provize || !dph)
        return std::nullopt;
    return Commission{*provize, *dph};
}
// The message of a commission that does not fit; `where` is rowOf(sm) or kAllSms.
QString commissionOutOfRange(const QString& where, const QString& type) {
    return sumOutOfRangeText(where + QStringLiteral(", provize typu ") + type);
}
QString rowOf(const QString& sm) {
    return QStringLiteral("středisko ") + sm;
}
const QString kAllSms = QStringLiteral("součet všech středisek");

// The commissions of one report: a commission that does not fit counts as 0 and the first such is kept, so that the
// report ends with its message before it prints or exports anything.
struct Commissions {
    std::optional<QString> failure;

    Commission of(Currency v, double p, double d, bool inclusive, const QString& where, const QString& column) {
        const auto k = commission(v, p, d, inclusive);
        if (!k && !failure)
            failure = commissionOutOfRange(where, column);
        return k.value_or(Commission{});
    }
};

// A print that went to its end.
SmReportResult printed(SmReportResult r) {
    r.done = true;
    return r;
}

} // namespace

void SmReports::printFilters(Printer& p, const SmReportChoice& c, int column, double bodySize) const {
    p.setFontSize(bodySize);
    p.print();
    p.setUnderline(false);
    if (!SmList::Filter(c.sm).takesAll()) {
        p.tab(column);
        p.print(T("tiskFiltrSM") + c.sm);
    }
    if (!c.oper.isEmpty()) {
        p.tab(column);
        p.print(T("tiskFiltrOPer") + c.oper);
    }
    p.print();
    p.print();
}

void SmReports::addFilters(QString& text, const SmReportChoice& c) const {
    if (!SmList::Filter(c.sm).takesAll())
        text += kCrLf + blanks(5) + T("tiskFiltrSM") + c.sm;
    if (!c.oper.isEmpty())
        text += kCrLf + blanks(5) + T("tiskFiltrOPer") + c.oper;
    text += kCrLf + kCrLf;
}

SmReportResult SmReports::withSmTotals(QString text, const SmPeriod& per) const {
    text += T("tiskJNZCelkZaVsTypy") + kCrLf;
    text += T("rtbJNZSMCena") + kCrLf;
    Currency grand;
    for (const SmRow& row : per.rows) {
        const Currency total = rowTotal(row);
        text += kCrLf + blanks(3) + row.sm + blanks(4) + padLeft(formatCurrency(total), 17);
        grand += total;
    }
    text += kCrLf + under(27) + kCrLf;
    text += QStringLiteral("Celkem    ") + padLeft(formatCurrency(grand), 17) + kCrLf;
    return {true, text};
}

struct SmReports::Export {
    std::filesystem::path file;
    QStringList lines;
};

SmReportResult SmReports::ended(const SmPeriod* p) const {
    SmReportResult r;
    if (p && !p->note.isEmpty())
        r.rtbText = p->note;
    return r;
}

std::optional<std::filesystem::path> SmReports::souborUct(const SmReportChoice& c, bool dateFromEnd) const {
    const auto folder = DejCestuUCT(m_services.state.config);
    if (!folder.ok())
        return std::nullopt;
    const QDate day = dateFromEnd && m_services.state.sw.gFDatumOdvodu ? c.dt2 : c.dtDek;
    return folder.value() / (dateYYMMDD(day) + QStringLiteral(".uct")).toStdU16String();
}

std::optional<SmReports::Export> SmReports::zeptejSeNaExport(SmReportKind kind, const SmReportChoice& c) {
    const SmVariant& v = smVariant(kind);
    const auto& sw = m_services.state.sw;
    if (v.exportQuestion == SmVariant::Ask::No || !sw.gFVycetky)
        return std::nullopt;
    if (v.exportQuestion == SmVariant::Ask::Unless23 && sw.gFExportCBA)
        return std::nullopt;
    if (m_services.prompts.message(T("provestExpUct"), Prompts::Buttons::YesNo, Prompts::Icon::Question) !=
        Prompts::Answer::Yes)
        return std::nullopt;
    const auto file = souborUct(c, v.exportDateFromEnd);
    if (!file) {
        const auto folder = DejCestuUCT(m_services.state.config);
        m_services.prompts.error(folderErrorText(m_services.state.config, DataFolder::UCT, folder.error()));
        return std::nullopt;
    }
    return Export{*file, {}};
}

bool SmReports::zapis(Export& exp) {
    if (const Status written = TextFiles::writeLines(exp.file, exp.lines); !written.ok()) {
        // The writer's message names the file and the cause.
        m_services.prompts.error(QStringLiteral("Účetní soubor se nepodařilo zapsat.\r\n") + written.message());
        return false;
    }
    return true;
}

namespace {

// The voucher type at place t of the program's collection (names and rates of the columns).
std::shared_ptr<CStrav> typeAt(const AppState& app, int t) {
    return app.gColStrav ? app.gColStrav->Item(t) : nullptr;
}
QString typeName(const AppState& app, int t) {
    const auto type = typeAt(app, t);
    return type ? type->Nazev : QString();
}

} // namespace

// ---- the prints

// One print as it goes on paper. Every print has the same parts in the same order: the opening (three blank lines,
// the company header, the title and its period line in the title's size, the filters in the body's size), the
// column headings with the heading emphasis, the rows, a rule and a sum line, four blank lines and the foot with
// the date of making and the stamp. A line at column 0 starts at the left margin.
struct SmPrintLayout {
    struct Line {
        int column = 0;
        QString text;
    };
    int column = 5; // the company header, the title and the filters
    double headerSize = 10;
    double titleSize = 16;
    double bodySize = 10;
    QString title;
    Line period;
    std::vector<Line> headings;
    std::vector<Line> rows;
    int totalsColumn = 5; // the rule and the sum line
    QString rule;
    QString sum;
    std::optional<double> footSize; // unset: the foot keeps the body's size
    Line date;                      // the date of making, then the stamp at its column (0: right after the date)
    int stampColumn = 0;
    QString stamp;
    QStringList exportLines;        // with the export on: one line per row
    std::optional<QString> failure; // the first commission that does not fit
};

namespace {

// The body of a print with one column per printed type: a line per grouped row (its label, a cell per printed
// type and, with switch 15, the row's total over every type, printed or not), then the rule and the sum line of
// the types' totals, each the sum of the row values rounded as printed, and of the grand total.
struct TypeColumns {
    int rowColumn = 0;
    std::function<QString(const SmRow&)> label;
    std::function<QString(int t, Currency v, const QString& where)> cell;
    int totalWidth = 17; // the cell of the row total and of the grand total
    int typeRule = 14;   // underscores per printed type, after 18
    int totalRule = 15;  // and for the total
    QString sumLabel;
    std::function<QString(const SmRow&)> exportLine; // null without the export
};
void addTypeColumns(SmPrintLayout& l, const SmPeriod& per, std::pair<int, int> types, bool withTotal,
                    const TypeColumns& cols) {
    const auto [first, last] = types;
    std::vector<Currency> totals(size_t(per.columns) + 1);
    Currency grand;
    for (const SmRow& row : per.rows) {
        const Currency total = rowTotal(row);
        grand += total;
        QString line = cols.label(row);
        for (int t = first; t <= last; ++t) {
            line += cols.cell(t, row.sums[size_t(t - 1)], rowOf(row.sm));
            totals[size_t(t)] += R(row.sums[size_t(t - 1)]);
        }
        if (withTotal)
            line += amountCell(total, cols.totalWidth);
        l.rows.push_back({cols.rowColumn, line});
        if (cols.exportLine)
            l.exportLines.append(cols.exportLine(row));
    }
    l.rule = under(18);
    l.sum = cols.sumLabel;
    for (int t = first; t <= last; ++t) {
        l.rule += under(cols.typeRule);
        l.sum += cols.cell(t, totals[size_t(t)], kAllSms);
    }
    if (withTotal) {
        l.rule += under(cols.totalRule);
        l.sum += amountCell(grand, cols.totalWidth);
    }
}

// The foot of the fixed-issuer prints: the date and time of making at column 5, the stamp at column 20.
void fixedIssuerFoot(SmPrintLayout& l, const QString& dateLabel, const QString& stamp, const QDateTime& now) {
    l.date = {5, dateLabel + dateShort(now.date()) + u' ' + timeHms(now.time())};
    l.stampColumn = 20;
    l.stamp = stamp;
}

} // namespace

SmReportResult SmReports::tiskni(Printer& p, SmReportKind kind, const SmReportChoice& c, Layout layout) {
    const auto loaded = nactiObdobi(kind, c);
    if (!loaded)
        return ended(nullptr);
    const SmPeriod& per = *loaded;
    const auto types = typeRange(c.typOd, c.typDo, per.columns);
    auto exp = zeptejSeNaExport(kind, c);
    const SmPrintLayout l = (this->*layout)(per, c, types, exp.has_value());
    if (l.failure) {
        m_services.prompts.error(*l.failure);
        return ended(&per);
    }
    if (exp) {
        exp->lines = l.exportLines;
        if (!zapis(*exp))
            return ended(&per);
    }
    printLayout(p, c, l);
    return printed(ended(&per));
}

void SmReports::printLayout(Printer& p, const SmReportChoice& c, const SmPrintLayout& l) const {
    const auto at = [&p](const SmPrintLayout::Line& line) {
        if (line.column > 0)
            p.tab(line.column);
        p.print(line.text);
    };
    p.setBold(true);
    p.setFontName(c.fontName);
    for (int i = 0; i < 3; ++i)
        p.print();
    p.setFontSize(l.headerSize);
    at({l.column, m_services.state.gFirmaHlavicka});
    p.print();
    p.print();
    p.tab(l.column);
    p.setFontSize(l.titleSize);
    p.setUnderline(true);
    at({l.column, l.title});
    at(l.period);
    printFilters(p, c, l.column, l.bodySize);
    p.setUnderline(true);
    for (const auto& line : l.headings)
        at(line);
    p.setUnderline(false);
    for (const auto& line : l.rows)
        at(line);
    at({l.totalsColumn, l.rule});
    at({l.totalsColumn, l.sum});
    for (int i = 0; i < 4; ++i)
        p.print();
    if (l.footSize)
        p.setFontSize(*l.footSize);
    p.tab(l.date.column);
    p.printContinued(l.date.text);
    if (l.stampColumn > 0)
        p.tab(l.stampColumn);
    p.print(l.stamp);
}

// The default print per SM.
SmPrintLayout SmReports::souhrnLayout(const SmPeriod& per, const SmReportChoice& c, std::pair<int, int> types,
                                      bool exporting) const {
    const AppState& app = m_services.state;
    const auto& sw = app.sw;
    const auto [first, last] = types;
    SmPrintLayout l;
    if (c.groupByDay) {
        l.title = T(c.datumVyc ? "tiskPrehlDatOdv" : "tiskPrehlDatNac");
        l.period = {9, T("tiskZaObd") + period(c)};
    } else if (c.nespojovat) {
        l.title = T(sw.gFEuro ? "tiskPrehlNesp1EURO" : "tiskPrehlNesp1");
        l.period = {9, T("tiskDleSMNesp1") + dateDMY(c.dtDek)};
    } else if (sw.gFEuro) {
        l.title = T("tiskPrehlSouctuSMEURO");
        l.period = {9, T("tiskZaObdobiEURO") + period(c)};
    } else {
        l.title = T("tiskPrehlNesp0");
        l.period = {9, sw.gFVycBezData ? T("tiskZaObdNesp0") + period(c) : T("tiskZaPerNesp0") + dateDMY(c.dtDek)};
    }

    const bool perDay = per.grouping == SmGrouping::PerDay;
    const bool perFile = per.grouping == SmGrouping::PerFile;
    const int w = perFile ? 16 : 17;
    QString header = perDay    ? QStringLiteral("Datum/SM       |")
                     : perFile ? QStringLiteral("DATUM/SM/OPER/POR |")
                               : QStringLiteral("SM        ");
    const QString trailer = perFile ? QStringLiteral("  ") : QStringLiteral("   ");
    for (int t = first; t <= last; ++t)
        header += QStringLiteral("  ") + nameCell(typeName(app, t)) + trailer;
    if (sw.gF15)
        header += perDay      ? T("tiskPoDnechCelk")
                  : sw.gFEuro ? T("tiskCelkZaVsTypyEURO")
                  : perFile   ? T("tiskPoDnechCelk")
                              : T("tiskCelkZaVsTypy");
    l.headings = {{2, header}};

    TypeColumns cols;
    cols.label = [perDay, perFile](const SmRow& row) {
        return perDay    ? QStringLiteral("   ") + row.datum + u'/' + row.sm + u' '
               : perFile ? QStringLiteral("  ") + row.datum + u'/' + row.sm + u'/' + row.oper + u'/' + row.poradi
                         : QStringLiteral("   ") + row.sm + QStringLiteral("   ");
    };
    cols.cell = [w](int, Currency v, const QString&) { return amountCell(v, w); };
    cols.totalWidth = w;
    cols.sumLabel = perDay    ? QStringLiteral("Sum        ")
                    : perFile ? QStringLiteral("Sum           ")
                              : QStringLiteral("Sum   ");
    if (exporting)
        cols.exportLine = [first, last](const SmRow& row) {
            QString out = row.sm;
            for (int t = first; t <= last; ++t)
                out += u';' + plainText(row.sums[size_t(t - 1)]);
            return out;
        };
    addTypeColumns(l, per, types, sw.gF15, cols);
    l.totalsColumn = 3;
    l.footSize = 10;
    l.date = {5, T(sw.gFEuro ? "tiskDatumEURO" : "tiskDatum") + dateShort(m_services.clock.today()) + blanks(15)};
    l.stamp = T(sw.gFEuro ? "tiskRazitkoEURO" : "tiskRazitkoPodpis");
    return l;
}

// The print with commission and VAT: a left column b and sizes from b, 8 for one printed type, else 5.
SmPrintLayout SmReports::provizeLayout(const SmPeriod& per, const SmReportChoice& c, std::pair<int, int> types,
                                       bool exporting) const {
    const AppState& app = m_services.state;
    const auto& sw = app.sw;
    const auto [first, last] = types;
    const int b = first == last ? 8 : 5;
    const bool perDay = per.grouping == SmGrouping::PerDay;
    const bool perFile = per.grouping == SmGrouping::PerFile;
    SmPrintLayout l;
    l.column = b;
    l.headerSize = b + 5;
    l.titleSize = b + 11;
    l.bodySize = b + 2;
    l.title = T("tiskJNZPrehlNesp0");
    QString l2;
    if (perDay) {
        l.title = T("tiskJNZPrehlDleDatumuNac");
        l2 = T("tiskZaObdNesp0") + period(c);
    } else if (perFile) {
        l.title = T("tiskJNZPrehlNesp1");
        l2 = T("tiskJNZDleNesp1") + dateDMY(c.dtDek);
    } else if (sw.gFVycBezData) {
        l2 = T("tiskZaObdNesp0") + period(c);
    } else if (sw.gFDatumOdvodu) {
        l2 = T("tiskJNZZaOdvKeDni") + dateDMY(c.dt2);
    } else {
        l2 = T("tiskZaPerNesp0") + dateDMY(c.dtDek);
    }
    l.period = {b + 4, l2};

    QString h1 = perDay    ? QStringLiteral("Datum/SM       |")
                 : perFile ? QStringLiteral("SM/OPER/POR  |")
                           : QStringLiteral("SM       ");
    QString h2 = perDay ? QStringLiteral("              |") : QStringLiteral("        |");
    for (int t = first; t <= last; ++t) {
        h1 += blanks(21) + nameCell(typeName(app, t)) + blanks(13) + u'|';
        h2 += T("tiskJNZCenaProvize");
    }
    if (sw.gF15)
        h1 += T("tiskJNZCelkZaVsTypy");
    l.headings = {{perDay || perFile ? b - 3 : b - 2, h1}, {b - 2, h2}};

    // The first commission that does not fit, in a row, an export line or the sum line, ends the report.
    Commissions commissions;
    const auto commissionOf = [&](Currency v, int t, bool inclusive, const QString& where) {
        const auto type = typeAt(app, t);
        return commissions.of(v, type ? type->Provize : 0, type ? type->DPH : 0, inclusive, where, typeName(app, t));
    };
    TypeColumns cols;
    cols.rowColumn = perDay || perFile ? 0 : b - 2;
    cols.label = [perDay, perFile](const SmRow& row) {
        return perDay    ? QStringLiteral("   ") + row.datum + u'/' + row.sm + u' '
               : perFile ? QStringLiteral("   ") + row.sm + u'/' + row.oper + u'/' + row.poradi + u' '
                         : row.sm + QStringLiteral("   ");
    };
    cols.cell = [&](int t, Currency v, const QString& where) {
        const Commission k = commissionOf(v, t, sw.gF18, where);
        return amountCell(v, 17) + u' ' + amountCell(k.provize, 14) + u' ' + amountCell(k.dph, 14);
    };
    cols.typeRule = 44;
    cols.totalRule = 28;
    cols.sumLabel = QStringLiteral("Sum        ");
    if (exporting)
        cols.exportLine = [&](const SmRow& row) {
            // The export always counts the commission with its VAT.
            QString out = perDay ? row.datum + u';' : QString();
            if (!row.sm.isEmpty())
                out += row.sm;
            for (int t = first; t <= last; ++t) {
                const Currency v = row.sums[size_t(t - 1)];
                const Commission k = commissionOf(v, t, false, rowOf(row.sm));
                out += u';' + plainText(v) + u';' + plainText(k.provize) + u';' + plainText(k.dph);
            }
            return out;
        };
    addTypeColumns(l, per, types, sw.gF15, cols);
    l.failure = commissions.failure;
    l.totalsColumn = b - 2;
    l.footSize = b + 5;
    l.date = {b, T("tiskDatum") + dateShort(m_services.clock.today())};
    l.stampColumn = 35;
    l.stamp = T("tiskRazitkoPodpis");
    return l;
}

// The print for three fixed issuers: price, commission and its VAT of each.
SmPrintLayout SmReports::triSpolLayout(const SmPeriod& per, const SmReportChoice& c, std::pair<int, int>, bool) const {
    const AppState& app = m_services.state;
    const auto& sw = app.sw;

    // The rates of the three issuers: the first types of code length 20, 22 and 28 (else 32). An issuer without
    // such a type has no commission.
    struct Rate {
        double p = 0;
        double d = 0;
    };
    const auto rateOf = [&](std::initializer_list<int> lengths) {
        Rate r;
        if (!app.gColStrav)
            return r;
        for (int l : lengths) {
            const auto found = app.gColStrav->NajdiDelku(l, QString());
            if (found.ok() && found.value()) {
                r.p = found.value()->Provize;
                r.d = found.value()->DPH;
                break;
            }
        }
        return r;
    };
    const Rate rates[3] = {rateOf({20}), rateOf({22}), rateOf({28, 32})};
    // The commission is the net part of a rate that includes the VAT.
    Commissions commissions;
    const auto triple = [&](int i, Currency x, const QString& where) {
        const Rate& r = rates[i];
        const Commission k =
            commissions.of(x, r.p, r.d, true, where, columnName(nullptr, SmScanVariant::Columns::Three, i));
        return fixedCell(x, 17) + u' ' + fixedCell(k.provize, 15) + u' ' + fixedCell(k.dph, 15);
    };

    SmPrintLayout l;
    l.titleSize = 12;
    l.bodySize = 8;
    l.title = T("tiskPrehlDleSM");
    l.period = sw.gFVycBezData ? SmPrintLayout::Line{12, T("tiskZaObd") + period(c)}
                               : SmPrintLayout::Line{9, T("tiskZaPer") + dateDMY(c.dtDek)};
    l.headings = {
        {5, QStringLiteral("SM     |                       SODEXHO                     |                       CHEQUE "
                           "DJ                      |                   TICKET                       |")},
        {5, QStringLiteral("       |         Cena   |      Provize   |  DPH z provize  |          Cena      |   "
                           "Provize     |  DPH z provize  |          Cena    |     Provize  | DPH z provize|")}};
    Currency totals[3];
    for (const SmRow& row : per.rows) {
        QString line = blanks(5) + row.sm + QStringLiteral("  ");
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                line += blanks(5);
            line += triple(i, row.sums[size_t(i)], rowOf(row.sm));
            totals[i] += row.sums[size_t(i)];
        }
        l.rows.push_back({0, line});
    }
    l.rule = under(213);
    // The totals take the rows' formula, so that the commission of the totals is the sum of the rows'.
    l.sum = QStringLiteral("Sum  ");
    for (int i = 0; i < 3; ++i)
        l.sum += (i > 0 ? blanks(5) : QString()) + triple(i, totals[i], kAllSms);
    l.failure = commissions.failure;
    fixedIssuerFoot(l, QStringLiteral("Datum vyhotovení:"), QStringLiteral("Razítko, podpis"), m_services.clock.now());
    return l;
}

// The print for five fixed issuers: the values of the first four, per SM or per file.
SmPrintLayout SmReports::petSpolLayout(const SmPeriod& per, const SmReportChoice& c, std::pair<int, int>,
                                       bool exporting) const {
    const auto& sw = m_services.state.sw;
    const bool perFile = per.grouping == SmGrouping::Files;
    SmPrintLayout l;
    if (!perFile) {
        l.title = T("tiskPrehlDleSM");
        l.period = {9, sw.gFVycBezData ? T("tiskZaObd") + period(c) : T("tiskZaPer") + dateDMY(c.dtDek)};
    } else {
        l.title = T("tiskNespojPrehl");
        l.period = {9, T("tiskNespojDle") + dateDMY(c.dtDek)};
    }
    l.headings = {{perFile ? 4 : 5, T(perFile ? "tiskHlavNesp1" : "tiskHlavNesp0")}};

    Currency totals[4];
    for (const SmRow& row : per.rows) {
        // A sum as wide as its cell keeps a blank from the SM or the order before it.
        QString line = perFile ? FieldLine(blanks(4) + row.sm + u'/' + row.oper + u'/' + row.poradi)
                                     .right(formatCurrency(row.sums[0]), 15)
                                     .str()
                               : blanks(5) + row.sm + u' ' + fixedCell(row.sums[0], 17);
        for (int i = 1; i < 4; ++i)
            line += u' ' + fixedCell(row.sums[size_t(i)], 17);
        l.rows.push_back({0, line});
        for (int i = 0; i < 4; ++i)
            totals[i] += row.sums[size_t(i)];
        if (exporting) {
            QString out = dateYYMMDD(c.dtDek) + u';' + row.sm;
            for (int i = 0; i < 4; ++i)
                out += u';' + plainText(row.sums[size_t(i)]);
            l.exportLines.append(out);
        }
    }
    l.rule = under(75);
    FieldLine sum(T("tiskSum"));
    for (int i = 0; i < 4; ++i)
        sum.text(i > 0 ? QStringLiteral(" ") : QString()).right(formatCurrency(totals[i]), 17);
    l.sum = sum.str();
    fixedIssuerFoot(l, T("tiskDatum"), T("tiskRazitkoPodpis"), m_services.clock.now());
    return l;
}

SmReportResult SmReports::tiskniObdobiSM(Printer& p, const SmReportChoice& c) {
    return tiskni(p, SmReportKind::Souhrn, c, &SmReports::souhrnLayout);
}

SmReportResult SmReports::tiskniObdobiSMProvize(Printer& p, const SmReportChoice& c) {
    return tiskni(p, SmReportKind::Provize, c, &SmReports::provizeLayout);
}

SmReportResult SmReports::tiskniPrehledSMTriSpol(Printer& p, const SmReportChoice& c) {
    return tiskni(p, SmReportKind::TriSpol, c, &SmReports::triSpolLayout);
}

SmReportResult SmReports::tiskniPrehledSMPetSpol(Printer& p, const SmReportChoice& c) {
    return tiskni(p, SmReportKind::PetSpol, c, &SmReports::petSpolLayout);
}

// ---- the on-screen overview with commission and VAT

SmReportResult SmReports::zobrazPrehledSMProvize(const SmReportChoice& c) {
    const AppState& app = m_services.state;
    const auto& sw = app.sw;
    const auto loaded = nactiObdobi(SmReportKind::PrehledProvize, c);
    if (!loaded)
        return ended(nullptr);
    const SmPeriod& per = *loaded;
    const auto [first, last] = typeRange(c.typOd, c.typDo, per.columns);
    auto exp = zeptejSeNaExport(SmReportKind::PrehledProvize, c);
    const bool perDay = per.grouping == SmGrouping::PerDay;
    const bool perFile = per.grouping == SmGrouping::PerFile;

    QString text;
    const auto add = [&](const QString& line) { text += kCrLf + line; };
    add(app.gFirmaHlavicka);
    add({});
    if (perDay) {
        add(blanks(5) + T("tiskJNZPrehlDleDatumuNac1"));
        add(blanks(5) + T("tiskJNZPrehlDleDatumuNac2"));
        add(blanks(5) + T("tiskZaObdNesp0") + period(c));
    } else if (perFile) {
        add(blanks(5) + T("tiskJNZPrehlNesp1"));
        add(blanks(9) + T("tiskJNZDleNesp1") + dateDMY(c.dtDek));
    } else {
        add(T("tiskJNZPrehlNesp0"));
    }
    addFilters(text, c);
    Commissions commissions;
    const auto commissionOf = [&](Currency v, int t, const QString& where) {
        const auto type = typeAt(app, t);
        return commissions.of(v, type ? type->Provize : 0, type ? type->DPH : 0, sw.gF18, where, typeName(app, t));
    };
    for (int t = first; t <= last; ++t) {
        const auto type = typeAt(app, t);
        add((perDay || perFile ? QStringLiteral("  ") : QStringLiteral("   ")) +
            (perDay    ? QStringLiteral("Datum/SM      |")
             : perFile ? QStringLiteral("SM/OPER/POR  |")
                       : QStringLiteral("SM       ")) +
            blanks(21) + nameCell(type ? type->Nazev : QString()) + blanks(13) + u'|');
        QString h2 = perDay ? blanks(13) + u'|' + T("tiskJNZCenaProvize") : QStringLiteral("        |");
        if (!perDay) {
            if (perFile)
                for (int u = first; u <= last; ++u)
                    h2 += T("tiskJNZCenaProvize");
            else
                h2 += T("tiskJNZCenaProvize");
        }
        add(blanks(3) + h2);
        Currency total;
        for (const SmRow& row : per.rows) {
            const QString label = perDay ? QStringLiteral("   ") + row.datum + u'/' + row.sm + u' '
                                  : perFile
                                      ? QStringLiteral("   ") + row.sm + u'/' + row.oper + u'/' + row.poradi + u' '
                                      : QStringLiteral("   ") + row.sm + QStringLiteral("   ");
            const Currency v = row.sums[size_t(t - 1)];
            const Commission k = commissionOf(v, t, rowOf(row.sm));
            add(label + amountCell(v, 17) + u' ' + amountCell(k.provize, 14) + u' ' + amountCell(k.dph, 14));
            total += R(v);
            if (exp && t == first) {
                QString out;
                if (!sw.gFTiskSM) {
                    out = dateYYMMDD(c.dtDek) + u';' + row.sm;
                    for (const Currency& s : row.sums)
                        out += u';' + plainText(s);
                } else {
                    out = (perDay ? row.datum + u';' : QString()) + row.sm;
                    for (int u = first; u <= last; ++u) {
                        const Currency vu = row.sums[size_t(u - 1)];
                        const Commission ku = commissionOf(vu, u, rowOf(row.sm));
                        out += u';' + plainText(vu) + u';' + plainText(ku.provize) + u';' + plainText(ku.dph);
                    }
                }
                exp->lines.append(out);
            }
        }
        add(blanks(3) + under(62));
        const Commission k = commissionOf(total, t, kAllSms);
        add(blanks(3) + QStringLiteral("Sum        ") + amountCell(total, 17) + u' ' + amountCell(k.provize, 14) +
            u' ' + amountCell(k.dph, 14));
        for (int i = 0; i < 4; ++i)
            add({});
    }
    if (commissions.failure) {
        m_services.prompts.error(*commissions.failure);
        return ended(&per);
    }
    if (exp && !zapis(*exp))
        return ended(&per);
    return withSmTotals(std::move(text), per);
}

// ---- the on-screen overview

SmReportResult SmReports::zobrazPrehledSM(const SmReportChoice& c) {
    const AppState& app = m_services.state;
    const auto loaded = nactiObdobi(SmReportKind::Prehled, c);
    if (!loaded)
        return ended(nullptr);
    const SmPeriod& per = *loaded;
    const auto [first, last] = typeRange(c.typOd, c.typDo, per.columns);
    const bool perFile = per.grouping == SmGrouping::PerFile;

    QString text;
    const auto add = [&](const QString& line) { text += kCrLf + line; };
    add(app.gFirmaHlavicka);
    add({});
    add(T("tiskJNZPrehlNesp0"));
    add(blanks(9) + T("tiskZaObdNesp0") + period(c));
    add({});
    addFilters(text, c);
    for (int t = first; t <= last; ++t) {
        const QString name = nameCell(typeName(app, t));
        add(perFile ? QStringLiteral("  SM/OPER/POR  |") + blanks(5) + name + blanks(13)
                    : QStringLiteral("   SM       ") + blanks(5) + name + blanks(12));
        Currency total;
        for (const SmRow& row : per.rows) {
            const QString label = perFile ? QStringLiteral("   ") + row.sm + u'/' + row.oper + u'/' + row.poradi + u' '
                                          : QStringLiteral("   ") + row.sm + QStringLiteral("   ");
            const Currency v = row.sums[size_t(t - 1)];
            add(label + amountCell(v, 17) + u' ');
            total += R(v);
        }
        add(blanks(3) + under(62));
        add(blanks(3) + QStringLiteral("Sum   ") + amountCell(total, 17) + u' ');
        for (int i = 0; i < 4; ++i)
            add({});
    }
    return withSmTotals(std::move(text), per);
}

SmReportResult SmReports::cmdPrintSM(Printer& printer, const SmReportChoice& choice) {
    const auto& sw = m_services.state.sw;
    if (!sw.gFTiskSM)
        return tiskniObdobiSM(printer, choice);
    return sw.gFRozpoznaniKodem ? tiskniObdobiSMProvize(printer, choice) : tiskniPrehledSMTriSpol(printer, choice);
}

SmReportResult SmReports::cmbZobrPrehleduSm(const SmReportChoice& choice) {
    return m_services.state.sw.gFVycBezData ? zobrazPrehledSMProvize(choice) : zobrazPrehledSM(choice);
}

} // namespace trv
