#pragma once

#include "closing/ReceiptInfo.h"
#include "closing/ReceiptSave.h"
#include "closing/StatementTally.h"
#include "platform/Result.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace trv {

struct AppState;
class CColStrav;
class Clock;
class Printer;
class Prompts;

// The work of the closing window over the receipt held in gColStrav and the day data file it was read into:
// NOREAD and repeated codes removed, the statement shown and printed, the receipt saved, exported for AS400 or
// left without saving.
class UkonceniPrijmu {
public:
    UkonceniPrijmu(AppState& state, ReceiptInfo& receipt, Prompts& prompts, const Clock& clock, Printer& printer,
                   ClosingHooks hooks);

    const ReceiptInfo& receiptInfo() const { return m_receipt; }
    void setDenniSoubor(std::filesystem::path dayFile) { m_dayFile = std::move(dayFile); }

    // The entries of the company list.
    std::vector<CompanyEntry> polozkyVyberu() const;
    // The choice an entry of that list stands for.
    StatementChoice volba(int entryIndex) const;

    // Codes held by the receipt, NOREAD readings included.
    qint64 pocetKodu() const;
    // Readings of the NOREAD text in the receipt.
    qint64 pocetNoRead() const;
    // Removes the NOREAD readings (vyhodNoread) or the NOREAD readings and repeated codes, the first of equal codes
    // staying (vyhodNoreadPriNacteni); the status-bar text saying how many went. Nothing when [User] AutoDupl is
    // False in any letter case.
    std::optional<QString> vyhodNoread();
    std::optional<QString> vyhodNoreadPriNacteni();
    // What the two removal buttons tell the operator when that setting keeps them from removing anything.
    QString odstraneniVypnuto() const;
    // Package/week mode at load: the month's last package loses its NOREAD readings and repeated codes and its
    // sums go to the main window's status bar.
    void souctyBaliku();
    // The safe-bag list written at load in safe-bag mode; false after a reported failure (the window closes).
    bool ulozSafeBag();

    // The statement for a choice; an error when a code cannot be valued.
    Result<QString> vycetka(const StatementChoice& choice) const;
    // Empties every type's codes.
    void smazObsah();
    // Prints the statement of the choice and tells the operator how it went.
    void tiskSouctu(const StatementChoice& choice);

    // The save; true when the receipt is saved and the window closes.
    bool uloz();
    // Save and print of customer mode: saves (the window stays open meanwhile), then prints every company's
    // statement [User] PocetKopii times, `vybrano` showing each company as it is printed. True when the window
    // closes (the receipt was saved).
    bool ulozATiskni(const std::function<void(int entryIndex)>& vybrano);
    // The AS400 export: both files written, or an error (the receipt stays open) for chybaAS400.
    Status exportAS400();
    // The operator's message for a failed AS400 export.
    QString chybaAS400(const Error& error) const;
    // Leaving without saving: deletes the day data file when this receipt created it (never a file it appended
    // to, never a read-only one, never with gNemazatSoubor), and steps the document number back.
    void storno();
    // The ways of leaving the receipt unsaved that the operator confirms first.
    enum class Odchod {
        Zavrit,      // Escape or the close box: the receipt keeps running with its codes
        Storno,      // the receipt is discarded
        SmazatObsah, // the receipt's codes are emptied
    };
    // True when the operator confirms, or when the receipt holds no code to lose. The box's default and its
    // Escape both answer the safe way: back to the closing window, codes kept. Before a Storno it counts the codes
    // the Storno throws away and says what becomes of the receipt's file.
    bool potvrdOdchod(Odchod odchod);
    // Every close of the window that ended the receipt.
    void zavreno();

private:
    // What building a printed statement came to: a document left open in the printer, nothing to print, or a
    // failure shown to the operator. Only a built document stays in the printer.
    enum class Sestaveni { Hotovo, Nic, Chyba };

    CColStrav& types() const;
    // What a Storno does to the receipt's file, and how many of the receipt's codes it throws away.
    ReceiptRecord::Discard zahozeni() const;
    qint64 zahozenychKodu(const ReceiptRecord::Discard& discard) const;
    QString text(const char* key) const;
    std::optional<QString> odstran(bool alsoRepeats, const char* suffixKey);
    int pocetKopii() const;
    Sestaveni sestavTisk(const StatementChoice& choice);

    AppState& m_state;
    ReceiptInfo& m_receipt;
    Prompts& m_prompts;
    const Clock& m_clock;
    Printer& m_printer;
    ClosingHooks m_hooks;
    UlozeniPrijmu m_save;
    std::filesystem::path m_dayFile;
    // With product groups the statement is drawn by group once, when the window loads; later drawings are per
    // company.
    mutable bool m_prvniVycetka = true;
};

// Removes the NOREAD readings of every type and, with alsoRepeats, every repeated code (the first of equal codes
// stays); the number of codes removed. Each type gets a new code collection.
qint64 odstranNoread(CColStrav& types, const QString& noRead, bool alsoRepeats);

} // namespace trv
