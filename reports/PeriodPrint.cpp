#include "reports/PeriodPrint.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "summaries/PeriodResult.h"

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmSoucVycObd");

struct Totals {
    Currency amount;
    qint64 count = 0;
};

class PeriodPrint {
public:
    PeriodPrint(Printer& p, const AppState& s, const PeriodState& per, const PeriodPrintChoice& c)
        : m_p(p), m_s(s), m_per(per), m_c(c) {}

    QString T(const char* key) const { return m_s.config.DejText(kSection, QString::fromLatin1(key)); }
    // The EUR twin of a key in EUR mode.
    QString E(const char* key) const {
        return m_s.sw.gFEuro ? T((QString::fromLatin1(key) + QStringLiteral("EURO")).toLatin1().constData()) : T(key);
    }
    void at5(const QString& text) {
        m_p.tab(5);
        m_p.print(text);
    }

    void head(const QString& title) {
        m_p.setBold(true);
        m_p.setFontName(m_c.fontName);
        for (int i = 0; i < 3; ++i)
            m_p.print();
        m_p.setFontSize(10);
        at5(m_s.gFirmaHlavicka);
        m_p.print();
        m_p.print();
        m_p.tab(5);
        m_p.setFontSize(16);
        m_p.setUnderline(true);
        m_p.printContinued(title);
        m_p.setFontSize(10);
        m_p.setUnderline(false);
        m_p.print();
        m_p.print();
        // A filter of blanks takes every SM, but it is a filter typed all the same: its line is printed.
        if (!m_c.sm.isEmpty())
            at5(T("tiskFiltrSM") + m_c.sm);
        if (!m_c.oper.isEmpty())
            at5(T("tiskFiltrOPer") + m_c.oper);
        m_p.print();
    }

    QString period() const { return dateDMY(m_per.m_datumOd) + QStringLiteral(" - ") + dateDMY(m_per.m_datumDo); }

    // One type's block; `ks` is the literal the group print puts before the unit.
    Totals block(int index, const QString& ks) {
        const auto type = m_per.m_col.types->Item(index + 1);
        m_p.tab(5);
        m_p.setBold(true);
        m_p.print(type->Nazev);
        NominalTable table = nominalTable(*m_per.m_col.codes, index);
        const auto& packages = m_per.gColStrav2;
        if (m_s.sw.gFBalicky && packages.codes) {
            // The package files' codes are handed over already: they come off the period's counts.
            const int at = type->PoradiSpolecnosti - 1;
            if (at >= 0 && at < packages.codes->typeCount())
                for (const auto& [value, count] : nominalTable(*packages.codes, at))
                    table[value] -= count;
        }
        Totals t;
        if (table.empty()) {
            m_p.print(E("tiskNebylyNacteny"));
            m_p.print();
            return t;
        }
        m_p.setUnderline(true);
        at5(E("tiskHodnPocCelk"));
        m_p.setUnderline(false);
        m_p.print();
        for (const auto& [value, count] : table) {
            at5(FieldLine()
                    .right(formatNumber(value, u"###0.00"), {7, 7})
                    .right(QString::number(count), {10, 10})
                    .right(formatCurrency(value * count), {15, 20})
                    .str());
            t.amount += value * count;
            t.count += count;
        }
        at5(QString(37, u'_'));
        m_p.print();
        totalLines(t, ks);
        m_p.print();
        return t;
    }

    void totalLines(const Totals& t, const QString& ks) {
        at5(FieldLine(E("tiskCelkCastka")).right(formatCurrency(t.amount), {15, 20}).str());
        at5(FieldLine(T("tiskCelkPocet")).right(QString::number(t.count), {16, 19}).text(ks + T("tiskKs")).str());
    }

    void end(const Totals& all, const QDate& today) {
        m_p.tab(5);
        m_p.setBold(true);
        m_p.print(E("tiskCelkZaVsTypy"));
        totalLines(all, {});
        m_p.print();
        m_p.print();
        m_p.tab(5);
        m_p.printContinued(dateShort(today));
    }

private:
    Printer& m_p;
    const AppState& m_s;
    const PeriodState& m_per;
    const PeriodPrintChoice& m_c;
};

} // namespace

bool tiskniPrehledObdobi(Printer& p, const AppState& s, const Clock& clock, const PeriodState& per,
                         const PeriodPrintChoice& c) {
    const QString listing = s.sw.gFSkupiny ? QStringLiteral("Kontrola")
                                           : s.config.DejText(kSection, QStringLiteral("tiskTestKontrola"));
    if (c.rtbText.left(8) == listing) {
        p.setFontName(c.fontName);
        p.print(c.rtbText);
        return false;
    }
    PeriodPrint out(p, s, per, c);
    Totals all;
    const int n = per.m_col.types ? per.m_col.types->count() : 0;
    if (!s.sw.gFSkupiny) {
        out.head((s.sw.gFEuro ? out.T("tiskPrehlMenaEuroSk") : out.T("tiskPrehlZaObd")) + out.period());
        for (int i = 0; i < n; ++i) {
            if (!c.allTypes && per.m_col.types->Item(i + 1)->Nazev != c.cmbStrav)
                continue;
            const Totals t = out.block(i, {});
            all.amount += t.amount;
            all.count += t.count;
        }
    } else {
        int chosen = 0;
        for (int i = 0; i < n; ++i)
            if (per.m_col.types->Item(i + 1)->Nazev == c.cmbStrav)
                chosen = per.m_col.types->Item(i + 1)->groupType;
        out.head(s.sw.gFEuro          ? out.T("tiskPrehlMenaEuroSk") + out.period()
                 : s.sw.gFVycBezData ? out.T("tiskPrehlZaObd") + out.period()
                                      : out.T("tiskPrehlZaPer") + dateDMY(c.dtDek));
        const int groups = s.gColStrav ? s.gColStrav->pocetSpolecnosti() : 0;
        for (int g = 1; g <= groups; ++g) {
            if (chosen != 0 && chosen != g)
                continue;
            Totals group;
            for (int i = 0; i < n; ++i) {
                if (per.m_col.types->Item(i + 1)->groupType != g)
                    continue;
                const Totals t = out.block(i, QStringLiteral(" ks"));
                group.amount += t.amount;
                group.count += t.count;
            }
            out.at5(QString(37, u'='));
            out.at5(out.T("tiskCelkZaVsProdukty") + s.gColStrav->Item(g)->Nazev);
            out.totalLines(group, {});
            p.print();
            all.amount += group.amount;
            all.count += group.count;
        }
    }
    out.end(all, clock.today());
    return true;
}

} // namespace trv
