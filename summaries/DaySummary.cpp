#include "summaries/DaySummary.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "core/SettingsLoader.h"
#include "core/SmList.h"
#include "platform/Conventions.h"
#include "platform/Printer.h"
#include "platform/TextFiles.h"
#include "summaries/PeriodFiles.h"
#include "summaries/PeriodLoader.h"
#include "summaries/PeriodResult.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace trv {

namespace {

const QString kDen = QStringLiteral("frmSoucVycDen");
const QString kObd = QStringLiteral("frmSoucVycObd");
const QString kCrLf = QStringLiteral("\r\n");

// The report as both the preview and the print build it: per listed type its table or the not-read line, then
// the grand totals. The two differ only in how each piece is put down.
struct Piece {
    virtual ~Piece() = default;
    virtual void name(const QString& nazev) = 0;
    virtual void notRead() = 0;
    virtual void table(const NominalTable& table, Currency amount, qint64 count) = 0;
    virtual void grand(Currency amount, qint64 count) = 0;
};

void report(const PeriodCollection& col, const TypeChoice& choice, Piece& out) {
    Currency grandAmount;
    qint64 grandCount = 0;
    int index = 0;
    for (const auto& t : *col.types) {
        if (choice.shows(t->Nazev)) {
            out.name(t->Nazev);
            const NominalTable table = nominalTable(*col.codes, index);
            if (table.empty()) {
                out.notRead();
            } else {
                Currency amount;
                qint64 count = 0;
                for (const auto& [value, n] : table) {
                    amount += value * n;
                    count += n;
                }
                out.table(table, amount, count);
                grandAmount += amount;
                grandCount += count;
            }
        }
        ++index;
    }
    out.grand(grandAmount, grandCount);
}

QString value(Currency v) {
    return formatNumber(v, u"###0.00");
}

} // namespace

DaySummary::DaySummary(const PeriodServices& services) : m_services(services) {}

Status DaySummary::vypocet(const DayChoice& choice, Progress* progress) {
    AppState& app = m_services.state;
    // A day that failed is not computed: nothing of it can be previewed or printed.
    m_col = {};
    PeriodServices services = m_services;
    services.progress = progress;
    PeriodLoader loader(services);
    auto col = loader.novaKolekce(false);
    if (!col.ok())
        return col.error();
    PeriodCollection loaded = std::move(col).value();
    const QString day = dateYYMMDD(choice.datum);

    const auto listed = TextFiles::listFolder(app.gDatovyAdresar, QStringLiteral("*.vyc"));
    if (!listed.ok())
        return listed.error();
    std::vector<PeriodFile> files;
    for (const fs::path& p : listed.value()) {
        const QString name = TextFiles::toQString(p.filename());
        if (name.size() < 8 || !name.endsWith(QStringLiteral(".vyc")) || name.left(6) != day)
            continue;
        const auto [sm, oper] = smAndOperator(name);
        // A name without an SM part passes any SM filter.
        if (!sm.isEmpty() && !SmList::Filter(choice.sm).accepts(sm))
            continue;
        if (!choice.oper.isEmpty() && choice.oper.toUpper() != oper.toUpper())
            continue;
        files.push_back({p, name, PeriodFile::Kind::Statement, {}});
    }
    PeriodChoice period;
    if (const Status read = loader.nacti(loaded, files, period, false); !read.ok())
        return read;
    // sectiTypyStrav: each code once per type and no NOREAD reading, whatever [User] AutoDupl says.
    loaded.codes->keepFirstReadings();
    if (const Status fits = sumsFit(loaded, {}); !fits.ok())
        return fits;
    m_col = std::move(loaded);
    m_datum = choice.datum;
    return Status::success();
}

QString DaySummary::nahled(const TypeChoice& choice) const {
    struct Preview final : Piece {
        explicit Preview(const AppState& s) : state(s) {}
        QString den(const char* key) const { return state.config.DejText(kDen, QString::fromLatin1(key)); }
        QString obd(const char* key) const { return state.config.DejText(kObd, QString::fromLatin1(key)); }
        void name(const QString& nazev) override { text += nazev + kCrLf; }
        void notRead() override { text += den("TiskNebylyNacteny") + kCrLf + kCrLf; }
        void table(const NominalTable& table, Currency amount, qint64 count) override {
            text += obd(state.sw.gFEuro ? "tiskHodnPocCelkEURO" : "tiskHodnPocCelk") + kCrLf;
            for (const auto& [v, n] : table)
                text += FieldLine()
                            .right(value(v), 7)
                            .right(QString::number(n), 10)
                            .right(formatCurrency(v * n), 19)
                            .str() +
                        kCrLf;
            text += QString(36, u'_') + kCrLf;
            text += FieldLine(obd("tiskCelkCastka")).right(formatCurrency(amount), 19).str() + kCrLf;
            text +=
                FieldLine(obd("tiskCelkPocet")).right(QString::number(count), 18).str() + obd("tiskKs") + kCrLf + kCrLf;
        }
        void grand(Currency amount, qint64 count) override {
            text += kCrLf + den("TiskCelkZaTypy");
            text += kCrLf + FieldLine(den("TiskCelkCastka")).right(formatCurrency(amount), 15).str();
            text +=
                kCrLf + FieldLine(den("TiskCelkPocet")).right(QString::number(count), 12).str() + den("TiskKs") + kCrLf;
        }
        const AppState& state;
        QString text;
    } preview(m_services.state);
    if (m_col.types)
        report(m_col, choice, preview);
    return preview.text;
}

void DaySummary::tisk(Printer& printer, const TypeChoice& choice, const QDateTime& now) const {
    // Attribute A is bold (on from the start, never off), attribute B underline (the title and the headings).
    struct Print final : Piece {
        Print(const AppState& s, Printer& p) : state(s), printer(p) {}
        QString den(const char* key) const { return state.config.DejText(kDen, QString::fromLatin1(key)); }
        QString obd(const char* key) const { return state.config.DejText(kObd, QString::fromLatin1(key)); }
        void at5(const QString& text) {
            printer.tab(5);
            printer.print(text);
        }
        void name(const QString& nazev) override {
            printer.setBold(true);
            at5(nazev);
        }
        void notRead() override {
            printer.print(den("TiskNebylyNacteny"));
            printer.print();
        }
        void table(const NominalTable& table, Currency amount, qint64 count) override {
            printer.setUnderline(true);
            at5(obd(state.sw.gFEuro ? "tiskHodnPocCelkEURO" : "tiskHodnPocCelk"));
            printer.setUnderline(false);
            printer.print();
            for (const auto& [v, n] : table)
                at5(FieldLine()
                        .right(value(v), 7)
                        .right(QString::number(n), 14)
                        .right(formatCurrency(v * n), 14)
                        .str());
            at5(QString(37, u'_'));
            printer.print();
            at5(FieldLine(obd(state.sw.gFEuro ? "tiskCelkCastkaEURO" : "tiskCelkCastka"))
                    .right(formatCurrency(amount), 18)
                    .str());
            at5(FieldLine(den("TiskCelkPocet")).right(QString::number(count), 15).str() + den("TiskKs"));
            printer.print();
        }
        void grand(Currency amount, qint64 count) override {
            printer.setBold(true);
            at5(den("TiskCelkZaTypy"));
            at5(FieldLine(den("TiskCelkCastka")).right(formatCurrency(amount), 18).str());
            at5(FieldLine(den("TiskCelkPocet")).right(QString::number(count), 15).str() + den("TiskKs"));
        }
        const AppState& state;
        Printer& printer;
    } out(m_services.state, printer);

    printer.setFontName(QStringLiteral("Courier New"));
    printer.setBold(true);
    for (int i = 0; i < 3; ++i)
        printer.print();
    printer.setFontSize(10);
    out.at5(m_services.state.gFirmaHlavicka);
    printer.print();
    printer.print();
    printer.setFontSize(16);
    printer.setUnderline(true);
    out.at5(out.den("TiskPrehledSouctuStrav") + dateDMY(m_datum));
    printer.setFontSize(10);
    printer.setUnderline(false);
    printer.print();
    printer.print();
    if (m_col.types)
        report(m_col, choice, out);
    printer.print();
    printer.print();
    out.at5(dateShort(now.date()) + u' ' + timeHms(now.time()));
}

Result<PrintOutcome> DaySummary::vytiskni(Printer& printer, const TypeChoice& choice, const QDateTime& now) const {
    if (!vypocteno())
        return Error{0, QStringLiteral("Součty dne nejsou spočteny: spusťte nejprve výpočet.")};
    tisk(printer, choice, now);
    return printer.endDoc();
}

} // namespace trv
