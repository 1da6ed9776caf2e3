#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

namespace trv {

struct AppState;
class Clock;
class Prompts;
class ReceiptHost;

// Package and week numbering of package/week mode (customer switch 19): every voucher type has its current
// package number (one digit per type, in the order of the receipt's collection), and the office counts weeks.
// Both live in [Data] of the configuration file (MaxVycetkaPoslBalik, MaxVycetkaDatumBaliku1, MaxVycetkaTyden)
// and in the state; a change is written at once and reloads or empties the month's last packages
// (gColStravBalik), whose sums the main window's status bar shows.
class PackageNumbering {
public:
    PackageNumbering(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host);

    // "1" for each of `count` voucher types (at most seventeen).
    static QString vsechnyJednicky(int count);
    // The package digits as stored: the key's number written back as digits (leading blanks and zeros drop);
    // all ones when the key is missing or empty.
    static QString cislaBaliku(const QString& stored, int count);
    // The package digit of the type at `index` (0 for the first); empty past the end.
    static QString balikTypu(const QString& balik, int index);

    // Reads the three keys into the state, with their defaults (all ones, today, week 1).
    void nactiNastaveni();
    // A new collection of the month's last packages, loaded from the day files of the current packages, its
    // sums shown on the main window. An error names the file that could not be read.
    Status nactiBaliky(bool varovani);

    // The package spinner moved to `value` for the type at `index` (up: the package warnings show again while
    // the packages are reloaded). Returns the new package digits.
    Result<QString> zmenBalik(const QString& balik, int index, int value, bool up);

    struct Tyden {
        QString balik; // all ones
        int tyden = 1; // the week now, also the spinner's value
    };
    // The week spinner moved to `value`. Up asks first (nullopt: the operator said No, nothing changed); a week
    // of 9 starts again at 1. Every package starts again at 1 from today, and the month's packages empty.
    Result<std::optional<Tyden>> zmenTyden(int value, bool up);

private:
    int pocetSpolecnosti() const;
    Status zapis(const QString& key, const QString& value) const;

    AppState& m_state;
    Prompts& m_prompts;
    const Clock& m_clock;
    ReceiptHost& m_host;
};

} // namespace trv
