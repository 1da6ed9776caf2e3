#pragma once

#include "platform/FolderListing.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>

#include <filesystem>
#include <vector>

namespace trv {

struct AppState;

// What the period window's filter controls say when an operation starts.
struct PeriodChoice {
    QDate datumOd;         // dt1
    QDate datumDo;         // dt2
    QString sm;            // txtSM: the SM filter of statement files
    QString oper;          // txtOper: the operator of statement files, the cash desk of day files
    bool balik = false;    // chkBalik: package/week selection (with customer switch 19)
    QString txtBalik;      // package wanted, trimmed
    QString txtTyden;      // week wanted, trimmed
    bool datumVyc = false; // optDatumVyc: statement files by their hand-over date (customer switch 34)
};

// Which period operation selects: the period computation also reads the safe-bag files of collected safe-bag
// mode and books package day files by their type's package digit; the duplicate check and the ticket list read
// the data folder only.
enum class PeriodOperation { Vypocet, Duplicity, Stravenky };

// A file of the period: where it is, the name the rules read (without the two leading characters in customer
// mode), how its lines are read, and the package text of a package day file.
struct PeriodFile {
    enum class Kind { SafeBag, PackageDay, Statement, Day };
    std::filesystem::path path;
    QString name;
    Kind kind = Kind::Day;
    QString packageText;
};

// The YYMMDD text of a date, as period bounds and file dates are compared.
QString periodBound(const QDate& d);

// The files of the period in name order (case-insensitive), from one listing of the folder, each name tested
// before any file is opened. The folder is the current data folder, or the safe-bag folder ([Data] DirSFB) for
// the computation in collected safe-bag mode. An error for a folder that cannot be listed, and for a statement
// file without a hand-over date while the hand-over date selects (the operation then stops: Soubor, the name,
// NeobsDatum). `going` is asked every so many names (FolderListing::Going); false stops the selection, which then
// fails with Progress::cancelledText().
Result<std::vector<PeriodFile>> souboryObdobi(const AppState& state, const PeriodChoice& choice,
                                              PeriodOperation operation, const FolderListing::Going& going = {});

// The package files (".bal", a name of exactly 10 characters) of the data folder dated in the period: the
// package collection of package mode. `going` as for souboryObdobi.
Result<std::vector<PeriodFile>> balikySouboryObdobi(const AppState& state, const PeriodChoice& choice,
                                                    const FolderListing::Going& going = {});

// The SM and operator a statement file's name carries, as DayFileName::keys reads them; empty when the name
// has no such part.
std::pair<QString, QString> smAndOperator(const QString& name);

// The safe-bag folder: [Data] DirSFB, the program folder when the key is missing (the safe-bag save does the
// same).
std::filesystem::path slozkaSafeBag(const AppState& state);

} // namespace trv
