#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <vector>

namespace trv {

// A small record in the program folder of the work that a crash or a kill would otherwise leave unnoticed: each
// receipt that runs (noted when it starts, removed once it is saved or discarded) and a save that runs (noted
// before the save's first write, removed after its last). The codes of a killed receipt are safe in its file, but
// its statement and exports (or its safe-bag list) are not written, and a killed save leaves some outputs old; the
// next start reads the record and tells the operator what to take up again.
//
// The record holds one entry per receipt file: a receipt that a start told and the operator did not take up stays
// told at every start, whatever other receipts run and end meanwhile.
namespace ReceiptRecord {

inline const QString kFileName = QStringLiteral("NeulozenyPrijem.ini");

std::filesystem::path recordFile(const std::filesystem::path& programFolder);

// The depot, envelope and invoice ids a receipt of depot mode started with: its rows of the tickets table carry
// them, and a receipt taken up again must carry the same ones. Empty outside depot mode.
struct Ids {
    QString depo;
    QString identObalky;
    QString identFa;
    bool operator==(const Ids&) const = default;
};

enum class Kind {
    DayFile, // the receipt runs into its day file (or Barcode.txt), which its save rewrites
    SafeBag, // a safe-bag receipt: its codes go to a file of its own until its safe-bag list is written
};

// One receipt the record tells of.
struct Entry {
    std::filesystem::path file; // the receipt's file
    Kind kind = Kind::DayFile;
    Ids ids;
    // What the file was before the receipt first began, so that a discard puts it back even after a crash: the
    // receipt created it (a discard removes it), or it appended to it (a discard writes back the copy `before` of
    // its earlier bytes; no copy when it held none). nullopt when not known (a save whose receipt left no entry).
    std::optional<bool> created;
    std::filesystem::path before;
    // A save of this receipt that did not end: what it was to write, each named for the operator. Empty when none.
    QStringList outputs;
};

// Every receipt the record tells of, in the order they started. Empty when there is none or it cannot be read.
std::vector<Entry> read(const std::filesystem::path& programFolder);
// The entry of the receipt of `file`, if there is one.
std::optional<Entry> find(const std::filesystem::path& programFolder, const std::filesystem::path& file);

// A receipt starts: `entry` replaces the entry of the same file, the entries of other receipts stay. With
// entry.created false, `earlier` (what the file held when the receipt began) is kept in a copy beside the record,
// which the entry then names.
Status receiptStarted(const std::filesystem::path& programFolder, Entry entry, const QByteArray& earlier);
// Writes `entry` as it is: it replaces the entry of the same file or is added after the others.
Status put(const std::filesystem::path& programFolder, const Entry& entry);
// The save of the receipt of `dayFile` is about to write these outputs (each named for the operator).
Status saveStarted(const std::filesystem::path& programFolder, const std::filesystem::path& dayFile, const Ids& ids,
                   const QStringList& outputs);
// The receipt of `file` was saved or discarded: its entry and the copy of its earlier bytes go.
Status ended(const std::filesystem::path& programFolder, const std::filesystem::path& file);
// What the receipt's file held before the receipt began: empty when the entry keeps no copy.
Result<QByteArray> earlierBytes(const Entry& entry);

// The file of its own a safe-bag receipt started at `now` writes its codes to, in the program folder: no name the
// day-file listings, the safe-bag folder's period summary or its renaming of lists ever reads.
std::filesystem::path safeBagFile(const std::filesystem::path& programFolder, const QDateTime& now);

// What leaving a receipt without saving does to its file.
struct Discard {
    enum class Fate {
        Stays,   // the file is left as it is
        Removed, // the receipt created it: it goes
        PutBack, // the receipt appended to it: it gets back what it held before the receipt first began
    };
    std::filesystem::path file; // empty: the receipt has no file of its own
    Fate fate = Fate::Stays;
    QStringList codesBefore; // the codes the file held before the receipt: they stay
    QStringList outputs;     // what an earlier save of the receipt that did not end wrote: that stays too
};

// The codes (lines not blank) of a receipt's file.
QStringList codes(const QByteArray& bytes);
// How many of `codes` are not among `before` (each code of `before` matching one of `codes` at most): the codes a
// receipt added to what its file held before it.
qsizetype codesNotIn(const QStringList& codes, const QStringList& before);
// The codes the receipt of `entry` read into its file (those the file held before it not counted); 0 when the file
// is missing or unreadable.
qsizetype receiptCodeCount(const Entry& entry);
// The number of codes in a file; 0 when it is missing or unreadable.
qsizetype codeCount(const std::filesystem::path& file);

// Empties `barcodeFile` for a new receipt. The codes of a receipt killed while it read into that file are there
// and nowhere else, so a file that holds codes is first moved aside, byte for byte, as
// "Barcode_<date>_<time>.txt" beside it (with "_2", "_3", ... when that name is taken). Returns the kept file,
// empty when there was nothing to keep. `unfinished`: the record names the file as a receipt's (keptBarcodeText).
Result<std::filesystem::path> keepAndEmptyBarcode(const std::filesystem::path& barcodeFile, const QDateTime& now,
                                                  bool unfinished);
// The operator's message about a kept file: the codes of an unfinished receipt when the record named the file as a
// receipt's, else those of the last receipt into it (mode AUT leaves its whole result there).
QString keptBarcodeText(const std::filesystem::path& barcodeFile, const std::filesystem::path& kept, bool unfinished);

} // namespace ReceiptRecord
} // namespace trv
