#pragma once

#include "platform/Result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace trv {

// A small record in the program folder of the work that a crash or a kill would otherwise leave unnoticed: the
// receipt that runs (written when it starts, removed once it is saved or discarded) and the save that runs
// (written before the save's first write, removed after its last). The codes of a killed receipt are safe in its
// day file, but its statement and exports are not written, and a killed save leaves some outputs old; the next
// start reads the record and tells the operator which file to take up again.
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

// A receipt runs into `dayFile`.
Status receiptStarted(const std::filesystem::path& programFolder, const std::filesystem::path& dayFile,
                      const Ids& ids = {});
// The save of the receipt of `dayFile` is about to write these outputs (each named for the operator).
Status saveStarted(const std::filesystem::path& programFolder, const std::filesystem::path& dayFile, const Ids& ids,
                   const QStringList& outputs);
// The receipt was saved or discarded: nothing is left unfinished.
Status ended(const std::filesystem::path& programFolder);

// What a record left behind says.
struct Left {
    std::filesystem::path receiptFile; // the receipt that was not saved; empty when none
    std::filesystem::path savedFile;   // the day file of a save that did not end; empty when none
    QStringList outputs;               // what that save was to write
    Ids ids;                           // the receipt's ids
};
std::optional<Left> read(const std::filesystem::path& programFolder);

// The number of codes (lines not blank) in a day file; 0 when it is missing or unreadable.
qsizetype codeCount(const std::filesystem::path& dayFile);

// Empties `barcodeFile` for a new receipt. The codes of a receipt killed while it read into that file are there
// and nowhere else, so a file that holds codes is first moved aside, byte for byte, as
// "Barcode_<date>_<time>.txt" beside it (with "_2", "_3", ... when that name is taken). Returns the kept file,
// empty when there was nothing to keep.
Result<std::filesystem::path> keepAndEmptyBarcode(const std::filesystem::path& barcodeFile, const QDateTime& now);
// The operator's message about a kept file.
QString keptBarcodeText(const std::filesystem::path& barcodeFile, const std::filesystem::path& kept);

} // namespace ReceiptRecord
} // namespace trv
