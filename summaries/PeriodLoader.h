#pragma once

#include "core/StatementLine.h"
#include "platform/Result.h"
#include "summaries/PeriodFiles.h"
#include "summaries/PeriodState.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <string_view>

namespace trv {

class StoredCodeBooking;

// How a stored file's lines are read: every line trimmed and empty ones skipped; statement lines split at the
// configured separator and their code field taken (lines with fewer fields skipped). The hand-over of each code
// (UTF-8) to `book`.
Status readStoredFile(const std::filesystem::path& file, PeriodFile::Kind kind, const QString& separator, int codeField,
                      const std::function<void(std::string_view)>& book);

// The period operations of the period window that load codes: the computation (cmdVyp), the duplicate check
// (cmbDuplicity) and the load of the ticket list (cmdSaveTicketsAs). Each builds a new collection from the
// definitions (the group definitions with customer switch 37) and takes the dates before any file is read, marks
// the period loaded only when every file was read (a failure is kept in the state, PeriodState), and leaves the
// receipt's collection as it is.
class PeriodLoader {
public:
    explicit PeriodLoader(const PeriodServices& services);

    // A new collection loaded from TypStrav.ini, or TypStravGroup.ini when `groups`.
    Result<PeriodCollection> novaKolekce(bool groups) const;

    // cmdVyp: books every code of the period's files, drops NOREAD readings and repeated codes (vyhodNoread),
    // and with customer switch 25 builds the package collection from the period's package files. With switch 19
    // `sums` gets the per-type sums (GetStrSum) for the main window's status bar.
    Status vypocet(PeriodState& state, const PeriodChoice& choice, QString* sums = nullptr);
    // cmbDuplicity: books every code keeping its file; repeated codes stay (and go to Duplicity.log, one line
    // per later reading, the log opened once for the run). A log that cannot be written does not stop the check:
    // `logProblem` says why.
    Status duplicity(PeriodState& state, const PeriodChoice& choice, QString* sums = nullptr,
                     QString* logProblem = nullptr);
    // The load of the ticket list: the computation's files without safe-bag and package files, NOREAD readings
    // dropped by vyhodNoread.
    Status stravenky(PeriodState& state, const PeriodChoice& choice);

    // vyhodNoread on a collection: unless [User] AutoDupl is "False" (any case), every type keeps the first
    // reading of each code and no NOREAD reading.
    void vyhodNoread(PeriodCollection& collection) const;

    // Books every code of the files into the collection; with `packageDigit` the codes of package day files only
    // when their type's package digit is the wanted package (choice.txtBalik). An unreadable file stops the load
    // with an error naming it; so does the operator, through the services' progress, before any file.
    Status nacti(PeriodCollection& into, const std::vector<PeriodFile>& files, const PeriodChoice& choice,
                 bool packageDigit);

private:
    // The period loaded when `done` succeeded and its amounts fit the money type (sumsFit), else not loaded and
    // why kept; that outcome.
    static Status oznac(PeriodState& state, const Status& done);
    Status vypocetObdobi(PeriodState& state, const PeriodChoice& choice, QString* sums);
    Status kontrolaDuplicit(PeriodState& state, const PeriodChoice& choice, QString* sums, QString* logProblem);
    Status nactiStravenky(PeriodState& state, const PeriodChoice& choice);
    Status start(PeriodState& state, const PeriodChoice& choice);
    // start, then the operation's files of the period booked into the state's collection (nacti).
    Status startAndRead(PeriodState& state, const PeriodChoice& choice, PeriodOperation operation, bool packageDigit);
    Status nactiBaliky(PeriodState& state, const PeriodChoice& choice);
    // The package counts per type position and nominal value, for the closing statement by product group.
    void zverejniBaliky(const PeriodCollection& packages) const;
    // GetStrSum over the collection, each code once (`repeatsKept`: the collection still holds its repeats).
    QString soucty(PeriodCollection& collection, bool repeatsKept) const;

    PeriodServices m_services;
};

} // namespace trv
