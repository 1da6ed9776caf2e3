#pragma once

#include "platform/Currency.h"
#include "platform/DbfTable.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace trv {

struct AppState;
class Booking;
class CColStrav;
class Clock;
class Prompts;
class ReaderControl;

// The table exp_data.dbf of the export folder ([Data] ExpDir) that one retail customer keeps: one row per cash
// desk and day with the value of the vouchers of four issuers, told apart by the first three letters of the
// voucher type's name.
class DayTotals {
public:
    // What one cash desk took in on one day.
    struct Row {
        qint64 pokladni = 0;
        QDate datum;
        Currency hodnCHe;
        Currency hodnSod;
        Currency hodnExi;
        Currency hodnTic;
        friend bool operator==(const Row&, const Row&) = default;

        // The value of the issuer a voucher type's name belongs to by its first three letters (CHE, SOD, EXI or
        // TIC, in any letter case); nullptr for the types of every other issuer.
        Currency* castkaVydavatele(const QString& typeName);
    };

    DayTotals(AppState& state, Prompts& prompts, const Clock& clock, ReaderControl& reader);

    // Sets the rows of the day (YYMMDD) from every day file of that day in the data folder ([Data] Dir): the
    // codes of all files of one cash desk are booked into a voucher-type collection of this run's own, and the
    // cash desk's row is written with the totals of each issuer (the types whose names begin with CHE, SOD, EXI
    // or TIC, in any letter case), added when missing, else overwritten; so a second run for
    // the same day gives the same rows. The table is created when missing. Every code of a known type counts
    // (one without its value-table entry is worth 0 and reported by the valuation); lines of no known type are
    // left out and named in one message for the run. An error leaves the rows as they were.
    Status ExportDoreviz(const QString& datum);

    // The totals of the day per cash desk, as ExportDoreviz would write them, without touching the table.
    Result<std::vector<Row>> spoctiDen(const QString& datum);

    // The row of that cash desk and day with the value of the codes held by the types of each issuer; several
    // types of one issuer all count towards its total. An error when a type's codes cannot be valued.
    static Result<Row> soucty(const CColStrav& types, qint64 pokladna, const QDate& den);

    // The cash desk of a day file of the day: the three digits before ".txt" (any letter case) of a name that
    // begins with the day; nullopt for every other name.
    static std::optional<QString> pokladnaZNazvu(const QString& fileName, const QString& datum);
    // The columns of a new exp_data table.
    static const std::vector<DbfField>& sloupce();
    // The table file in the export folder, whatever the letter case of its stored name.
    static std::filesystem::path souborTabulky(const std::filesystem::path& exportFolder);

    // Changes the table of the export folder, created when missing, in a copy that replaces it only when `write`
    // and closing the copy succeed: a failure half way leaves the table as it was. An error, naming the table,
    // when a column is missing or the copy cannot be written or put in place.
    static Status zapisPresKopii(const std::filesystem::path& exportFolder,
                                 const std::function<Status(DbfTable&)>& write);
    // The record of the row's cash desk and day; nullopt when the table has none.
    static Result<std::optional<int>> najdiRadek(const DbfTable& dbf, const Row& row);
    // The fields of a whole row.
    static DbfFieldValues hodnotyRadku(const Row& row);
    // The issuers' values of `record` with those of `add` added.
    static DbfFieldValues prictiCastky(const DbfRecord& record, const Row& add);

private:
    // Books every line of the day file; the texts of lines of no known type are added to `nerozpoznane`.
    Status nactiDatovySoubor(Booking& booking, const std::filesystem::path& file, QStringList& nerozpoznane);

    AppState& m_state;
    Prompts& m_prompts;
    const Clock& m_clock;
    ReaderControl& m_reader;
};

} // namespace trv
