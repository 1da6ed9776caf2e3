#pragma once

#include "core/ReceiptRecord.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QStringEncoder>
#include <QString>

#include <filesystem>
#include <memory>

namespace trv {

struct AppState;
class Booking;
class CColStrav;
class CPolozka;
class Prompts;

// The receipt's file on disk follows the receipt while it is read, so a crash or a power cut loses nothing
// that was booked: each code booked live (reader, manual entry, scanner, cheque entry, SM receipt start) is
// appended to the file and flushed as it is booked, and whenever codes leave memory (the check statement
// deletes one, a package is dropped or saved to the package file) the file is rewritten, whole and atomically,
// with the codes memory still holds. The closing save then replaces it in its final form as before. After a
// crash the operator takes the receipt up again with the receipt start's append mode.
//
// The file is the day data file (or Barcode.txt); in package mode it holds the codes of the open package. A
// safe-bag receipt, whose saved form is the list the closing window writes, has a file of its own until then.
class ReceiptJournal {
public:
    ReceiptJournal(AppState& state, Prompts& prompts);

    // A receipt starts into `file`. What the file holds now is kept, so that a Storno can put an appended-to
    // file back as it was; a receipt the record tells of for the same file, taken up again with the codes it read
    // still in the file, keeps what the file was before that receipt first began. In the modes that save a
    // receipt at its end (STD, AUT) ReceiptRecord notes the receipt until end(); any other mode writes no record
    // and leaves the record as it is.
    void begin(const std::filesystem::path& file);
    // A safe-bag receipt starts at `now`: its codes go to a file of its own (ReceiptRecord::safeBagFile), noted in
    // the record in every mode (nothing else ever holds them) until its list is written.
    void beginSafeBag(const QDateTime& now);
    // The receipt was saved or discarded: nothing more is written, and a day file's receipt leaves nothing
    // unfinished. A safe-bag receipt that read codes but whose list was not written stays told, with its file.
    void end();
    // The closing window wrote the safe-bag receipt's list: its file and its record go.
    void listWritten();
    bool active() const { return !m_file.empty(); }
    const std::filesystem::path& file() const { return m_file; }

    // The one call of every road that books a live code into the receipt: books it (Booking::PridejKod with
    // read kind `druh`) and, once booked, appends it to the receipt's file. Null when booking refused it (it
    // has told the operator why).
    std::shared_ptr<CPolozka> PridejKod(Booking& booking, const QString& kod, qint32 druh);
    // Appends one code that is already booked (package mode books before it values).
    void zapis(const QString& kod);
    // Codes left memory: the file becomes the codes `types` holds, replaced whole.
    void obnov(const CColStrav& types);

    // What a Storno of the receipt would do to its file.
    ReceiptRecord::Discard zahozeni() const;
    // Storno of the receipt: a file the receipt created is removed, a file it appended to gets back what it held
    // before the receipt first began. The journal ends and the receipt's record goes. An error names the file.
    Status zahod();

private:
    void start(const std::filesystem::path& file, ReceiptRecord::Kind kind);
    // Ends the journal; with `forget`, also a safe-bag receipt's record.
    void stop(bool forget);
    void report(const Status& status);
    Status appendLine(const QString& line);
    void closeFile();
    bool closingMode() const;

    AppState& m_state;
    Prompts& m_prompts;
    std::filesystem::path m_file;
    ReceiptRecord::Kind m_kind = ReceiptRecord::Kind::DayFile;
    // What a Storno puts back: the receipt created the file (it goes), or the bytes it held before.
    bool m_created = false;
    QByteArray m_before;
    bool m_needsBreak = false;
    bool m_reported = false;
    bool m_recorded = false; // this receipt wrote its entry of the record of unfinished work
    // Open for appending while the receipt runs; each line goes to the system at once (unbuffered), so a
    // killed program leaves it on disk.
    QFile m_out;
    QStringEncoder m_encoder{"windows-1250"};
};

} // namespace trv
