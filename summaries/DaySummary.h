#pragma once

#include "platform/Printer.h"
#include "platform/Result.h"
#include "summaries/PeriodState.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace trv {

struct AppState;

// What the daily summary window's controls say when it computes.
struct DayChoice {
    QDate datum;  // dt1
    QString sm;   // txtSM: SMs separated by "," or blanks; empty for all
    QString oper; // txtOper; empty for all
};

// The daily summary (frmSoucVycDen): the statement files of one day, optionally of some SMs and one operator,
// booked into a collection of its own, each code once per type and no NOREAD reading; the preview text and the
// print of it.
class DaySummary {
public:
    explicit DaySummary(const PeriodServices& services);

    // cmdVyp: a new collection (TypStrav.ini), the day's statement files, sectiTypyStrav. A day that fails is
    // not computed (vypocteno() is false) until a computation succeeds.
    // `progress` is told of every file read and may cancel the computation.
    Status vypocet(const DayChoice& choice, Progress* progress = nullptr);
    bool vypocteno() const { return bool(m_col.types); }
    const PeriodCollection& kolekce() const { return m_col; }
    const QDate& datum() const { return m_datum; }

    // nahledSouctuDen: the preview text (lines end CR LF).
    QString nahled(const TypeChoice& choice) const;
    // cmdPrint: the same summary on the printer, with the header, the title with the day of the computation and
    // the moment of printing.
    void tisk(Printer& printer, const TypeChoice& choice, const QDateTime& now) const;
    // tisk, then the end of the document: where it went, or why it failed; refused while no day is computed.
    Result<PrintOutcome> vytiskni(Printer& printer, const TypeChoice& choice, const QDateTime& now) const;

private:
    PeriodServices m_services;
    PeriodCollection m_col;
    QDate m_datum;
};

} // namespace trv
