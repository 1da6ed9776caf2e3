#pragma once

#include "core/ReceiptRecord.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <utility>
#include <vector>

namespace trv {

// The customer chosen in the customer window (customer mode): the statement screen and prints show it.
struct ZvolenyZakaznik {
    QString gZakCislo;
    QString gZakIC;
    QString gZakNazev;
    QString gZakAdresa;
    QString gZakOdpovida;
    QString gZakTelefon;
    // Element k (1 to 8) is the customer's partner code at the voucher company in position k; element 0 stays
    // empty.
    std::array<QString, 9> gZakCisloSpol;

    // The partner code of the company at a 1-based position; empty outside 1 to 8.
    QString kodPartnera(int position) const {
        return position >= 1 && position <= 8 ? gZakCisloSpol[static_cast<size_t>(position)] : QString();
    }
};

// What the receipt start and the customer window know of the receipt being closed. The main window hands it
// to the closing windows; the statement save writes gDatumVycetky back.
struct ReceiptInfo {
    QString gDatumPrijmu; // receipt date, YYMMDD
    QString gSM;
    QString gOperator;
    QString gDepo;
    QString gIdentObalky;        // envelope id (depot mode)
    QString gIdentFA;            // invoice id (depot mode)
    QDate gDatumOdvodu;          // hand-over date
    QString gDatumVycetky;       // statement date YYMMDD, set by the statement save
    bool gNemazatSoubor = false; // keep the day data file when the receipt is left without saving
    bool gTrideni = false;       // sorting mode: the closing window is loaded but not shown
    ZvolenyZakaznik zakaznik;
};

// What the closing windows do to the main window and which neighbouring windows they open. A hook that is not
// set does nothing; a button whose window is not set stays disabled.
struct ClosingHooks {
    // Panel 1 of the main window's second status bar: the package sums of package/week mode.
    std::function<void(const QString&)> zobrazSouctyBaliku;
    // Storno of the receipt: its file, written as the codes were booked, is removed when the receipt created it
    // and put back as it was before the receipt when it appended to it (ReceiptJournal::zahod).
    std::function<Status()> zahodSoubor;
    // What that Storno would do to the receipt's file, for the question before it (ReceiptJournal::zahozeni).
    // Not set: the file the window names is removed when the receipt created it, else it stays.
    std::function<ReceiptRecord::Discard()> popisZahozeni;
    // The safe-bag list of the receipt was written at load: the receipt's own file and its record go
    // (ReceiptJournal::listWritten).
    std::function<void()> seznamSafeBagZapsan;
    // The closing window's unload once the receipt ended (saved, exported or discarded): empties the main
    // window's receipt box and its file label. A receipt left running keeps both.
    std::function<void()> vycistiPrijem;
    // The period summary window (safe-bag mode).
    std::function<void()> otevriSouhrnObdobi;
    // The duplicate search in the AS400 files of the data folder.
    std::function<void()> otevriHledaniDuplicit;
    // Package mode with product groups: the counts per nominal text of the period's package collection for the
    // type at a position; empty while no period has been computed in this run.
    std::function<std::vector<std::pair<QString, qint64>>(qint64 position)> obdobiBaliky;
    // A line for the program's error-log window (customer switch 43 sends refused codes there).
    std::function<void(const QString&)> logujChybu;
};

} // namespace trv
