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

// The opening of every print: three blank lines, the company header at `column` in `headerSize`, two blank
// lines, then the title's size, underlined.
void printOpening(Printer& p, const SmReportChoice& c, const QString& firma, int column, double headerSize,
                  double titleSize) {
    p.setBold(true);
    p.setFontName(c.fontName);
    for (int i = 0; i < 3; ++i)
        p.print();
    p.setFontSize(headerSize);
    p.tab(column);
    p.print(firma);
    p.print();
    p.print();
    p.tab(column);
    p.setFontSize(titleSize);
    p.setUnderline(true);
}

// The end of the fixed-issuer prints: the sum line, four blank lines, the date and time of making, the stamp.
void printFixedEnd(Printer& p, const QString& sum, const QDateTime& now, const QString& dateLabel,
                   const QString& stampLabel) {
    p.tab(5);
    p.print(sum);
    for (int i = 0; i < 4; ++i)
        p.print();
    p.tab(5);
    p.printContinued(dateLabel + dateShort(now.date()) + u' ' + timeHms(now.time()));
    p.tab(20);
    p.print(stampLabel);
}

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

// ---- the default print per SM

SmReportResult SmReports::tiskniObdobiSM(Printer& p, const SmReportChoice& c) {
    const AppState& app = m_services.state;
    const auto& sw = app.sw;
    const auto loaded = nactiObdobi(SmReportKind::Souhrn, c);
    if (!loaded)
        return ended(nullptr);
    const SmPeriod& per = *loaded;
    const auto [first, last] = typeRange(c.typOd, c.typDo, per.columns);
    auto exp = zeptejSeNaExport(SmReportKind::Souhrn, c);

    printOpening(p, c, app.gFirmaHlavicka, 5, 10, 16);
    QString title;
    QString line2;
    if (c.groupByDay) {
        title = T(c.datumVyc ? "tiskPrehlDatOdv" : "tiskPrehlDatNac");
        line2 = T("tiskZaObd") + period(c);
    } else if (c.nespojovat) {
        title = T(sw.gFEuro ? "tiskPrehlNesp1EURO" : "tiskPrehlNesp1");
        line2 = T("tiskDleSMNesp1") + dateDMY(c.dtDek);
    } else if (sw.gFEuro) {
        title = T("tiskPrehlSouctuSMEURO");
        line2 = T("tiskZaObdobiEURO") + period(c);
    } else {
        title = T("tiskPrehlNesp0");
        line2 = sw.gFVycBezData ? T("tiskZaObdNesp0") + period(c) : T("tiskZaPerNesp0") + dateDMY(c.dtDek);
    }
    p.tab(5);
    p.print(title);
    p.tab(9);
    p.print(line2);
    printFilters(p, c, 5, 10);

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
    p.setUnderline(true);
    p.tab(2);
    p.print(header);
    p.setUnderline(false);

    std::vector<Currency> totals(size_t(per.columns) + 1);
    Currency grand;
    for (const SmRow& row : per.rows) {
        const Currency total = rowTotal(row);
        grand += total;
        QString line = perDay ? QStringLiteral("   ") + row.datum + u'/' + row.sm + u' '
                       : perFile
                           ? QStringLiteral("  ") + row.datum + u'/' + row.sm + u'/' + row.oper + u'/' + row.poradi
                           : QStringLiteral("   ") + row.sm + QStringLiteral("   ");
        for (int t = first; t <= last; ++t) {
            line += amountCell(row.sums[size_t(t - 1)], w);
            totals[size_t(t)] += R(row.sums[size_t(t - 1)]);
        }
        if (sw.gF15)
            line += amountCell(total, w);
        p.print(line);
        if (exp) {
            QString out = row.sm;
            for (int t = first; t <= last; ++t)
                out += u';' + plainText(row.sums[size_t(t - 1)]);
            exp->lines.append(out);
        }
    }
    if (exp && !zapis(*exp)) {
        p.killDoc();
        return ended(&per);
    }
    QString rule = under(18);
    QString sum = perDay    ? QStringLiteral("Sum        ")
                  : perFile ? QStringLiteral("Sum           ")
                            : QStringLiteral("Sum   ");
    for (int t = first; t <= last; ++t) {
        rule += under(14);
        sum += amountCell(totals[size_t(t)], w);
    }
    if (sw.gF15) {
        rule += under(15);
        sum += amountCell(grand, w);
    }
    p.tab(3);
    p.print(rule);
    p.tab(3);
    p.print(sum);
    for (int i = 0; i < 4; ++i)
        p.print();
    p.setFontSize(10);
    p.tab(5);
    p.printContinued(T(sw.gFEuro ? "tiskDatumEURO" : "tiskDatum") + dateShort(m_services.clock.today()) + blanks(15));
    p.print(T(sw.gFEuro ? "tiskRazitkoEURO" : "tiskRazitkoPodpis"));
    return printed(ended(&per));
}

// ---- the print with commission and VAT

SmReportResult SmReports::tiskniObdobiSMProvize(Printer& p, const SmReportChoice& c) {
    const AppState& app = m_services.state;
    const auto& sw = app.sw;
    const auto loaded = nactiObdobi(SmReportKind::Provize, c);
    if (!loaded)
        return ended(nullptr);
    const SmPeriod& per = *loaded;
    const auto [first, last] = typeRange(c.typOd, c.typDo, per.columns);
    const int b = first == last ? 8 : 5;
    auto exp = zeptejSeNaExport(SmReportKind::Provize, c);

    const bool perDay = per.grouping == SmGrouping::PerDay;
    const bool perFile = per.grouping == SmGrouping::PerFile;
    Commissions commissions;
    const auto commissionOf = [&](Currency v, int t, bool inclusive, const QString& where) {
        const auto type = typeAt(app, t);
        return commissions.of(v, type ? type->Provize : 0, type ? type->DPH : 0, inclusive, where, typeName(app, t));
    };
    const auto block = [&](int t, Currency v, const QString& where) {
        const Commission k = commissionOf(v, t, sw.gF18, where);
        return amountCell(v, 17) + u' ' + amountCell(k.provize, 14) + u' ' + amountCell(k.dph, 14);
    };

    printOpening(p, c, app.gFirmaHlavicka, b, b + 5, b + 11);
    QString l1 = T("tiskJNZPrehlNesp0");
    QString l2;
    if (perDay) {
        l1 = T("tiskJNZPrehlDleDatumuNac");
        l2 = T("tiskZaObdNesp0") + period(c);
    } else if (perFile) {
        l1 = T("tiskJNZPrehlNesp1");
        l2 = T("tiskJNZDleNesp1") + dateDMY(c.dtDek);
    } else if (sw.gFVycBezData) {
        l2 = T("tiskZaObdNesp0") + period(c);
    } else if (sw.gFDatumOdvodu) {
        l2 = T("tiskJNZZaOdvKeDni") + dateDMY(c.dt2);
    } else {
        l2 = T("tiskZaPerNesp0") + dateDMY(c.dtDek);
    }
    p.tab(b);
    p.print(l1);
    p.tab(b + 4);
    p.print(l2);
    printFilters(p, c, b, b + 2);
    p.setUnderline(true);
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
    p.tab(perDay || perFile ? b - 3 : b - 2);
    p.print(h1);
    p.tab(b - 2);
    p.print(h2);
    p.setUnderline(false);

    std::vector<Currency> totals(size_t(per.columns) + 1);
    Currency grand;
    for (const SmRow& row : per.rows) {
        const Currency total = rowTotal(row);
        grand += total;
        QString line = perDay    ? QStringLiteral("   ") + row.datum + u'/' + row.sm + u' '
                       : perFile ? QStringLiteral("   ") + row.sm + u'/' + row.oper + u'/' + row.poradi + u' '
                                 : row.sm + QStringLiteral("   ");
        for (int t = first; t <= last; ++t)
            line += block(t, row.sums[size_t(t - 1)], rowOf(row.sm));
        if (sw.gF15)
            line += amountCell(total, 17);
        if (!perDay && !perFile)
            p.tab(b - 2);
        p.print(line);
        for (int t = first; t <= last; ++t)
            totals[size_t(t)] += R(row.sums[size_t(t - 1)]);
        if (exp) {
            // The export always counts the commission with its VAT.
            QString out = perDay ? row.datum + u';' : QString();
            if (!row.sm.isEmpty())
                out += row.sm;
            for (int t = first; t <= last; ++t) {
                const Currency v = row.sums[size_t(t - 1)];
                const Commission k = commissionOf(v, t, false, rowOf(row.sm));
                out += u';' + plainText(v) + u';' + plainText(k.provize) + u';' + plainText(k.dph);
            }
            exp->lines.append(out);
        }
    }
    QString rule = under(18);
    QString sum = QStringLiteral("Sum        ");
    for (int t = first; t <= last; ++t) {
        rule += under(44);
        sum += block(t, totals[size_t(t)], kAllSms);
    }
    // A commission that does not fit ends the report before anything is exported or printed.
    if (commissions.failure) {
        p.killDoc();
        m_services.prompts.error(*commissions.failure);
        return ended(&per);
    }
    if (exp && !zapis(*exp)) {
        p.killDoc();
        return ended(&per);
    }
    if (sw.gF15) {
        rule += under(28);
        sum += amountCell(grand, 17);
    }
    p.tab(b - 2);
    p.print(rule);
    p.tab(b - 2);
    p.print(sum);
    for (int i = 0; i < 4; ++i)
        p.print();
    p.setFontSize(b + 5);
    p.tab(b);
    p.printContinued(T("tiskDatum") + dateShort(m_services.clock.today()));
    p.tab(35);
    p.print(T("tiskRazitkoPodpis"));
    return printed(ended(&per));
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

// ---- the prints for fixed issuers

namespace {} // namespace

SmReportResult SmReports::tiskniPrehledSMTriSpol(Printer& p, const SmReportChoice& c) {
    const AppState& app = m_services.state;
    const auto& sw = app.sw;
    const auto loaded = nactiObdobi(SmReportKind::TriSpol, c);
    if (!loaded)
        return ended(nullptr);
    const SmPeriod& per = *loaded;

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
        const Commission c =
            commissions.of(x, r.p, r.d, true, where, columnName(nullptr, SmScanVariant::Columns::Three, i));
        return fixedCell(x, 17) + u' ' + fixedCell(c.provize, 15) + u' ' + fixedCell(c.dph, 15);
    };

    printOpening(p, c, app.gFirmaHlavicka, 5, 10, 12);
    p.tab(5);
    p.print(T("tiskPrehlDleSM"));
    if (sw.gFVycBezData) {
        p.tab(12);
        p.print(T("tiskZaObd") + period(c));
    } else {
        p.tab(9);
        p.print(T("tiskZaPer") + dateDMY(c.dtDek));
    }
    printFilters(p, c, 5, 8);
    p.setUnderline(true);
    p.tab(5);
    p.print(
        QStringLiteral("SM     |                       SODEXHO                     |                       CHEQUE DJ   "
                       "                   |                   TICKET                       |"));
    p.tab(5);
    p.print(
        QStringLiteral("       |         Cena   |      Provize   |  DPH z provize  |          Cena      |   Provize  "
                       "   |  DPH z provize  |          Cena    |     Provize  | DPH z provize|"));
    p.setUnderline(false);
    Currency totals[3];
    for (const SmRow& row : per.rows) {
        QString line = blanks(5) + row.sm + QStringLiteral("  ");
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                line += blanks(5);
            line += triple(i, row.sums[size_t(i)], rowOf(row.sm));
            totals[i] += row.sums[size_t(i)];
        }
        p.print(line);
    }
    p.tab(5);
    p.print(under(213));
    // The totals take the rows' formula, so that the commission of the totals is the sum of the rows'.
    QString sum = QStringLiteral("Sum  ");
    for (int i = 0; i < 3; ++i)
        sum += (i > 0 ? blanks(5) : QString()) + triple(i, totals[i], kAllSms);
    if (commissions.failure) {
        p.killDoc();
        m_services.prompts.error(*commissions.failure);
        return ended(&per);
    }
    printFixedEnd(p, sum, m_services.clock.now(), QStringLiteral("Datum vyhotovení:"),
                  QStringLiteral("Razítko, podpis"));
    return printed(ended(&per));
}

SmReportResult SmReports::tiskniPrehledSMPetSpol(Printer& p, const SmReportChoice& c) {
    const AppState& app = m_services.state;
    const auto& sw = app.sw;
    const auto loaded = nactiObdobi(SmReportKind::PetSpol, c);
    if (!loaded)
        return ended(nullptr);
    const SmPeriod& per = *loaded;
    auto exp = zeptejSeNaExport(SmReportKind::PetSpol, c);
    const bool perFile = per.grouping == SmGrouping::Files;

    printOpening(p, c, app.gFirmaHlavicka, 5, 10, 16);
    p.tab(5);
    if (!perFile) {
        p.print(T("tiskPrehlDleSM"));
        p.tab(9);
        p.print(sw.gFVycBezData ? T("tiskZaObd") + period(c) : T("tiskZaPer") + dateDMY(c.dtDek));
    } else {
        p.print(T("tiskNespojPrehl"));
        p.tab(9);
        p.print(T("tiskNespojDle") + dateDMY(c.dtDek));
    }
    printFilters(p, c, 5, 10);
    p.setUnderline(true);
    p.tab(perFile ? 4 : 5);
    p.print(T(perFile ? "tiskHlavNesp1" : "tiskHlavNesp0"));
    p.setUnderline(false);

    Currency totals[4];
    for (const SmRow& row : per.rows) {
        QString line = perFile ? blanks(4) + row.sm + u'/' + row.oper + u'/' + row.poradi + fixedCell(row.sums[0], 15)
                               : blanks(5) + row.sm + u' ' + fixedCell(row.sums[0], 17);
        for (int i = 1; i < 4; ++i)
            line += u' ' + fixedCell(row.sums[size_t(i)], 17);
        p.print(line);
        for (int i = 0; i < 4; ++i)
            totals[i] += row.sums[size_t(i)];
        if (exp) {
            QString out = dateYYMMDD(c.dtDek) + u';' + row.sm;
            for (int i = 0; i < 4; ++i)
                out += u';' + plainText(row.sums[size_t(i)]);
            exp->lines.append(out);
        }
    }
    if (exp && !zapis(*exp)) {
        p.killDoc();
        return ended(&per);
    }
    p.tab(5);
    p.print(under(75));
    QString sum = T("tiskSum");
    for (int i = 0; i < 4; ++i)
        sum += (i > 0 ? QStringLiteral(" ") : QString()) + fixedCell(totals[i], 17);
    printFixedEnd(p, sum, m_services.clock.now(), T("tiskDatum"), T("tiskRazitkoPodpis"));
    return printed(ended(&per));
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
