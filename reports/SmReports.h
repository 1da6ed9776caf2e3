#pragma once

#include "exports/SmScan.h"
#include "platform/Currency.h"
#include "platform/Printer.h"
#include "summaries/PeriodState.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace trv {

// The reports of a period per SM. All six load the period the same way (the statement files of the period, one
// row of sums per file in the scratch table data.dbf of the data folder, the rows grouped per SM, per SM and day
// or per file) and differ in what the variant table below says.
enum class SmReportKind {
    Souhrn,         // tiskniObdobiSM: the default print, one column per type
    Provize,        // tiskniObdobiSMProvize: print with commission and VAT
    PrehledProvize, // zobrazPrehledSMProvize: on-screen overview with commission and VAT
    TriSpol,        // tiskniPrehledSMTriSpol: print for three fixed issuers
    PetSpol,        // tiskniPrehledSMPetSpol: print for five fixed issuers
    Prehled,        // zobrazPrehledSM: on-screen overview
};

// How the rows of the scratch table are put together.
enum class SmGrouping {
    PerSM,   // one row per SM
    PerDay,  // one row per day and SM, by day then SM
    PerFile, // one row per SM, operator and order (and day where the variant keys by it)
    Files,   // one row per file, not summed, by SM, operator and order
};

// What the period window's controls say when a report starts.
struct SmReportChoice {
    QDate dt1;
    QDate dt2;
    QDate dtDek;
    QString sm;                                       // txtSM: the SM filter (SmList::Filter)
    QString oper;                                     // txtOper
    bool datumVyc = false;                            // optDatumVyc: files by their hand-over date (customer switch 34)
    bool groupByDay = false;                          // chkGroupByDay
    bool nespojovat = false;                          // chkNespojovatSM
    QString typOd;                                    // tiskTypOd
    QString typDo;                                    // tiskTypDo
    QString fontName = QStringLiteral("Courier New"); // rtbVyc's font
};

// One row of the grouped result: the keys and one sum per value column (sums[t - 1] for type t).
struct SmRow {
    QString sm;
    QString datum;
    QString oper;
    QString poradi;
    std::vector<Currency> sums;
};

// The loaded and grouped period of one report.
struct SmPeriod {
    SmGrouping grouping = SmGrouping::PerSM;
    std::vector<SmRow> rows;
    int columns = 0; // value columns: the number of types, or the fixed issuers
    QString note;    // the last unrecognised code ("<file> Nerozpoznaná stravenka! : <code>"), for rtbVyc
};

// The variant table: what sets the six reports apart. How the statement files are read is the row of the one
// scan the per-SM exports share.
struct SmVariant {
    SmReportKind kind;
    bool smWidthFromConfig; // sm char([Data] DelkaSM), else char(4); widened to fit every SM met
    SmScanVariant scan;     // columns per type or fixed issuers, the value, the customer prefix
    bool operPoradi;        // operator and poradi columns
    bool datum;             // datum column
    bool perFileByDay;      // the per-file grouping also keys by the day
    enum class Zero {
        NotPerFile,
        PerSmOnly,
        Always
    } zeroRows;                                          // when the SM list gives zero rows (with switch 10 or 12)
    bool zeroNeedsNoFilter;                              // zero rows only with an empty SM filter
    enum class Ask { No, Unless23, Yes } exportQuestion; // the accounting-export question (with switch 10)
    bool exportDateFromEnd; // with switch 34 the export file is named after the period's end
};
const SmVariant& smVariant(SmReportKind kind);

// The grouping a variant uses for the window's check boxes.
SmGrouping smGrouping(SmReportKind kind, const SmReportChoice& choice);

// What a report leaves for the window: whether it ran to its end and the text rtbVyc shows afterwards (the
// overview, or the last unrecognised code of a print; nullopt: unchanged).
struct SmReportResult {
    bool done = false;
    std::optional<QString> rtbText;
};

// One print per SM as it goes on paper, and the lines of its accounting file.
struct SmPrintLayout;

// The reports, on a collection of their own: the period window's computed period and its collection stay as
// they were. Messages (missing hand-over date, no rows, failures, the export question) go through the prompts.
class SmReports {
public:
    explicit SmReports(const PeriodServices& services);

    // The period load of a variant into data.dbf and its grouping; nullopt when the report ended (the message
    // shown).
    std::optional<SmPeriod> nactiObdobi(SmReportKind kind, const SmReportChoice& choice);

    SmReportResult tiskniObdobiSM(Printer& printer, const SmReportChoice& choice);
    SmReportResult tiskniObdobiSMProvize(Printer& printer, const SmReportChoice& choice);
    SmReportResult zobrazPrehledSMProvize(const SmReportChoice& choice);
    SmReportResult tiskniPrehledSMTriSpol(Printer& printer, const SmReportChoice& choice);
    SmReportResult tiskniPrehledSMPetSpol(Printer& printer, const SmReportChoice& choice);
    SmReportResult zobrazPrehledSM(const SmReportChoice& choice);

    // cmdPrintSM: the default print, or with switch 13 the print with commission (switch 14) or for three issuers.
    SmReportResult cmdPrintSM(Printer& printer, const SmReportChoice& choice);
    // cmbZobrPrehleduSm: the overview with commission with switch 11, else the plain overview.
    SmReportResult cmbZobrPrehleduSm(const SmReportChoice& choice);

    // The accounting export file of a report: <[Data] UCTDir>/<YYMMDD>.uct.
    std::optional<std::filesystem::path> souborUct(const SmReportChoice& choice, bool dateFromEnd) const;

private:
    struct Export;
    std::optional<Export> zeptejSeNaExport(SmReportKind kind, const SmReportChoice& choice);
    bool zapis(Export& exp);
    QString T(const char* key) const;
    SmReportResult ended(const SmPeriod* period) const;

    // What a print makes of its loaded period, its printed type range and whether it exports.
    using Layout = SmPrintLayout (SmReports::*)(const SmPeriod& period, const SmReportChoice& choice,
                                                std::pair<int, int> types, bool exporting) const;
    // Every print: the period loaded, the type range, the export question; then the print's layout; a commission
    // that does not fit or an accounting file that cannot be written ends the report before anything is printed.
    SmReportResult tiskni(Printer& p, SmReportKind kind, const SmReportChoice& choice, Layout layout);
    void printLayout(Printer& p, const SmReportChoice& c, const SmPrintLayout& layout) const;
    SmPrintLayout souhrnLayout(const SmPeriod& period, const SmReportChoice& c, std::pair<int, int> types,
                               bool exporting) const;
    SmPrintLayout provizeLayout(const SmPeriod& period, const SmReportChoice& c, std::pair<int, int> types,
                                bool exporting) const;
    SmPrintLayout triSpolLayout(const SmPeriod& period, const SmReportChoice& c, std::pair<int, int> types,
                                bool exporting) const;
    SmPrintLayout petSpolLayout(const SmPeriod& period, const SmReportChoice& c, std::pair<int, int> types,
                                bool exporting) const;

    // The SM and operator filters when set, then two blank lines: after a print's title in the body's size, or
    // in an on-screen overview.
    void printFilters(Printer& p, const SmReportChoice& c, int column, double bodySize) const;
    void addFilters(QString& text, const SmReportChoice& c) const;
    // The end of an on-screen overview: the total of each SM over every type and the grand total.
    SmReportResult withSmTotals(QString text, const SmPeriod& period) const;

    PeriodServices m_services;
    Printer* m_printer = nullptr;
};

// The printed type range of tiskTypOd / tiskTypDo: the whole parts of the numbers, kept within 1..n (first greater
// than last prints no type).
std::pair<int, int> typeRange(const QString& od, const QString& doTyp, int n);

// An amount rounded to two places (ZaokrouhliText) in the currency format, right-aligned in w characters; a wider
// amount is printed whole, never cut.
QString amountCell(Currency v, int w);

} // namespace trv
