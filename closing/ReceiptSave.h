#pragma once

#include "closing/ReceiptInfo.h"
#include "platform/Result.h"

#include <QStringList>

#include <filesystem>

namespace trv {

struct AppState;
class Clock;
class Prompts;

// Saving a closed receipt (the closing window's save): the day data file first, complete or not at all; then,
// with the day data file safe, the per-company exports, and in statement mode the statement file and (depot
// mode) the rows of `tickets`, else the receipt's day totals in exp_data. Every failure is reported with the
// closing window's messages and leaves the day data file as written; every confirmation follows a write that
// succeeded.
class UlozeniPrijmu {
public:
    UlozeniPrijmu(AppState& state, ReceiptInfo& receipt, Prompts& prompts, const Clock& clock);

    // The save. False when the day data file could not be written: the receipt is not saved and the closing
    // window stays open. True once it is written, whatever became of the exports (each failure reported).
    // ReceiptRecord notes the save from before its first write to after its last, so that a kill in between is
    // told at the next start; saved again, the receipt gets every output right.
    bool uloz(const std::filesystem::path& dayFile);

    // The statement file and, in depot mode, the rows of `tickets` (ulozVycetkuADatabazi). True when the
    // statement file was written and, in depot mode, every row inserted.
    bool ulozVycetkuADatabazi(const std::filesystem::path& dayFile);

    // The safe-bag list of the receipt, written when the closing window loads in safe-bag mode. False after a
    // failure it has reported.
    bool ulozSafeBag();

    // The save failure message: the operation, the language text, the number and the description.
    void hlasChybuUlozeni(const Error& error);

private:
    // What became of the parts of a save after the day data file: written, failed (and reported), or not
    // attempted.
    struct Casti {
        QStringList ulozeno;
        QStringList nezdarilo;
    };
    bool ulozVse(const std::filesystem::path& dayFile);
    // What the save writes, named for the operator, for the record of an interrupted save.
    QStringList vystupy(const std::filesystem::path& dayFile) const;
    void ulozExpData(const std::filesystem::path& dayFile, Casti& casti);
    void hlasChybu(const char* key, const Error& error, const QString& what = {});
    QString text(const char* key) const;

    AppState& m_state;
    ReceiptInfo& m_receipt;
    Prompts& m_prompts;
    const Clock& m_clock;
};

} // namespace trv
