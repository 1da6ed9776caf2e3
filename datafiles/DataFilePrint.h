#pragma once

#include "platform/Currency.h"
#include "platform/Result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace trv {

struct AppState;
class Booking;
class Clock;
class Config;
class Printer;
class Prompts;
class ReaderControl;

// The two prints of the data-file browser: the file as plain text, and the summary of the file per voucher type
// and nominal value. Each builds what it prints for itself; the receipt in memory and its date, SM and operator
// are left as they are.
namespace DataFilePrint {

// The lines of the file for the plain print.
Result<QStringList> nactiKTisku(const std::filesystem::path& file);
// The lines as they stand, in the printer's current font, one printed line each.
void tiskniText(Printer& printer, const QStringList& lines);

// One row of a type's table: the nominal value and how many codes of it the file holds.
struct Radek {
    Currency hodnota;
    qint64 pocet = 0;
};

struct SouhrnTypu {
    QString nazev;
    std::vector<Radek> radky; // ascending by nominal value
};

// Books one stored line of a day data file into the print's collection. Every stored line goes through here; a
// line of no known type is added to `refused` for one report after the whole file.
void zauctujUlozenyRadek(Booking& booking, const QString& line, const std::filesystem::path& file,
                         QStringList& refused);

// The file's codes booked into a collection of the summary's own, loaded from the voucher-type definitions,
// and counted per type and nominal value (NOREAD lines never count). Every type of the definitions is there,
// in their order, also those without codes. Lines no type recognises are reported by the booking.
Result<std::vector<SouhrnTypu>> spocti(AppState& state, Prompts& prompts, const Clock& clock, ReaderControl& reader,
                                       const std::filesystem::path& file);

// What the summary print needs besides the tables.
struct Hlavicka {
    QString fontName;              // the font of the main window's code box
    std::filesystem::path obrazek; // the logo; left out when it cannot be drawn
    QString firma;                 // [Firma] Hlavicka
    QDateTime cas;                 // when it was printed
};

// The summary on the printer (its document is not ended): the heading, a ruled table per type, the totals.
void tiskniSouhrn(Printer& printer, const Config& config, const std::vector<SouhrnTypu>& typy,
                  const Hlavicka& hlavicka);

} // namespace DataFilePrint
} // namespace trv
