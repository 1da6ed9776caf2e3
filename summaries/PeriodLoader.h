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

class Progress;
class StoredCodeBooking;

// How a stored file's lines are read: every line trimmed and empty ones skipped; statement lines split at the
// configured separator and their code field taken (lines with fewer fields skipped). The hand-over of each code
// (UTF-8) to `book`. With `going`, a file larger than one piece (StatementLine::kPieceSize) is read a piece at a
// time and `going` asked after each; false stops the read, which then fails with Progress::cancelledText().
Status readStoredFile(const std::filesystem::path& file, PeriodFile::Kind kind, const QString& separator, int codeField,
                      const std::function<void(std::string_view)>& book, const std::function<bool()>& going = {});

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
    // and with customer switch 25 builds the package collection from the period's package files (counted in the
    // progress after the period's files). With switch 19
    // `sums` gets the per-type sums (GetStrSum) for the main window's status bar.
    Status vypocet(PeriodState& state, const PeriodChoice& choice, QString* sums = nullptr);
    // cmbDuplicity: books every code keeping its file; the later readings of a code are set aside
    // (StoredCodes::setAsideRepeats) for the listing and go to Duplicity.log, one line per later reading, the log
    // opened once for the run. A log that cannot be written does not stop the check:
    // `logProblem` says why.
    Status duplicity(PeriodState& state, const PeriodChoice& choice, QString* sums = nullptr,
                     QString* logProblem = nullptr);
    // The load of the ticket list: the computation's files without safe-bag and package files, NOREAD readings
    // dropped by vyhodNoread.
    Status stravenky(PeriodState& state, const PeriodChoice& choice);
    // The ticket list's write after its load: the codes of the shown types into `file` (ulozStravenky), told to
    // the services' progress. A cancel counts as a cancelled load: the period is not loaded afterwards and the
    // state keeps why; a file that cannot be written leaves the loaded period as it is. The codes written.
    Result<qint64> zapisStravenky(PeriodState& state, const TypeChoice& types, const std::filesystem::path& file);

    // vyhodNoread on a collection: unless [User] AutoDupl is "False" (any case), every type keeps the first
    // reading of each code and no NOREAD reading. `going` is asked as the filter goes (StoredCodes::Going); a
    // filter it stops fails with Progress::cancelledText().
    Status vyhodNoread(PeriodCollection& collection, const std::function<bool()>& going = {}) const;

    // Books every code of the files into the collection; with `packageDigit` the codes of package day files only
    // when their type's package digit is the wanted package (choice.txtBalik). An unreadable file stops the load
    // with an error naming it; so does the operator, through the services' progress, before any file.
    Status nacti(PeriodCollection& into, const std::vector<PeriodFile>& files, const PeriodChoice& choice,
                 bool packageDigit);

private:
    // The files of one load told to the progress: `done` of `total` read.
    struct Steps {
        qint64 done = 0;
        qint64 total = 0;
        // Tells the progress of the next file; false once the operator has cancelled.
        bool next(Progress* progress);
        // For long work between two steps (a large file, the repeat filter): tells `at` of the files read again,
        // false once the operator has cancelled. None without a progress.
        std::function<bool()> again(Progress* progress, qint64 at) const;
    };
    // For the listing of the folder, before the files are counted: tells no count. None without a progress.
    std::function<bool()> naming() const;
    // nacti within a load of more files than these: the steps go on from `steps`.
    Status nactiSoubory(PeriodCollection& into, const std::vector<PeriodFile>& files, const PeriodChoice& choice,
                        bool packageDigit, Steps& steps);
    // The last step of a load (every file read); the operator may still cancel there.
    Status konec(const Steps& steps) const;
    // The period loaded when `done` succeeded and its amounts fit the money type (sumsFit), else not loaded and
    // why kept; that outcome.
    static Status oznac(PeriodState& state, const Status& done);
    Status vypocetObdobi(PeriodState& state, const PeriodChoice& choice, QString* sums);
    Status kontrolaDuplicit(PeriodState& state, const PeriodChoice& choice, QString* sums, QString* logProblem);
    Status nactiStravenky(PeriodState& state, const PeriodChoice& choice);
    Status start(PeriodState& state, const PeriodChoice& choice);
    // start, then the operation's files of the period booked into the state's collection, told to the progress
    // by `steps` (its last step not yet told).
    Status startAndRead(PeriodState& state, const PeriodChoice& choice, PeriodOperation operation, Steps& steps);
    // The package collection of package mode from the period's package files, their steps after the period's.
    Status nactiBaliky(PeriodState& state, const std::vector<PeriodFile>& files, Steps& steps);
    // The package counts per type position and nominal value, for the closing statement by product group.
    void zverejniBaliky(const PeriodCollection& packages) const;
    // GetStrSum over the collection.
    QString soucty(PeriodCollection& collection) const;

    PeriodServices m_services;
};

} // namespace trv
