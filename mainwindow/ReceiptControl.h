#pragma once

#include "mainwindow/ReadCounters.h"
#include "mainwindow/TypeButtons.h"
#include "platform/Result.h"
#include "receipt/ReceiptStartSteps.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <vector>

namespace trv {

class MainWindowLogic;

// The start and the end of a receipt on the main window, from the vertical menu and from the menu bar, and
// the hand-over of an ended receipt: in package mode the open package is saved or dropped through the package
// dialog, otherwise the closing window shows, prints and saves the statement.
//
// Whether a receipt runs is the receipt state alone (set where the port opens and closes), never the text the
// status bar happens to show. An open package is dropped only by the operator's "Storno balíku": a package
// dialog closed without one of its buttons leaves the receipt running with its package whole.
class ReceiptControl {
public:
    enum class Outcome { Ended, StillRunning };

    static inline const QString kPackageDialogCaption = QStringLiteral("Uložení balíčku");
    static inline const QString kPackageDialogOk = QStringLiteral("Ulož balík");

    explicit ReceiptControl(MainWindowLogic& logic);

    // vmnNab item 1: the working mode (customer switch 44), the receipt-start dialog, the voucher-type buttons
    // and the counter window.
    void PrijemDat();
    // The menu's receipt start (prijem).
    void prijem_Click();
    // vmnNab item 3: the check statement; its "end" runs the end of the receipt.
    void KontrVyc();
    // vmnNab item 4.
    Outcome UkoncPrijmu();
    // The menu's end of the receipt (konecpr); also the code processor's "end of packaging".
    Outcome konecpr_Click();
    // The manual entry (mnuRucne, vmnNab item 2), while allowed.
    void Rucne();
    bool manualEntryEnabled() const { return m_manualEntry; }

    // Whether a receipt runs: from a successful start until it is ended (saved, discarded, or handed to the
    // package file), also while its reader is lost or its port cannot be reopened. Manual entry goes with it.
    bool receiptRuns() const { return m_running; }
    // A start succeeded: the receipt runs into `file` (empty for a receipt without a file of its own).
    void receiptStarted(const std::filesystem::path& file);

    // What an end of the receipt changes before it knows whether the receipt really ends.
    struct Before {
        bool counterShown = false;
        qint32 chosenType = 0;
        ReadCounters::Counts counts;
    };
    Before remember() const;
    // The end did not happen: the receipt goes on as it was before the end was asked.
    void carryOn(const Before& before);

    // NastavTlacitkaTypu: the voucher-type buttons and the shortest and longest code length.
    void NastavTlacitkaTypu();
    // optT_Click: a voucher-type button, by index from 0; an index without a button does nothing. A failed
    // command is shown to the operator.
    void optT_Click(int index);

    // What a receipt-start dialog's start button and mode "AUT" do once the receipt file is named: load the
    // port settings (60002 when [Comm] lacks one), switch the reader on and open the port for receiving through
    // the steps every start takes (60003 naming the port, its device and the reason), and show the file in the
    // display box (empty when it does not exist yet) and on lblSoubor (showReceiptFile).
    Status startReceiving(const std::filesystem::path& folder, const QString& fileName, bool packageFile);
    // lblSoubor names the receipt file, or with `packageFile` its package file (".bal"), whose package value
    // then starts at 0.
    void showReceiptFile(const std::filesystem::path& file, bool packageFile);

    // --- Pieces of the end of a receipt, shared with the unload
    // True in package mode while the current package has a value.
    bool packageOpen() const;
    // The package dialog for an open package, with the port closed while it is shown so that no code slips
    // into a package being decided on: 1 or 3 save, 2 drops, 0 (closed otherwise) resumes receiving as before.
    // nullopt when no package is open.
    std::optional<int> askPackage();
    // The hand-over of a running receipt: close the port, remember the document number, then the package
    // (by `packageAnswer`, the result of askPackage) or the closing window.
    Outcome handOver(std::optional<int> packageAnswer);
    // Writes the package to the package file and starts the next one. The package stays whole on failure.
    Status savePackage();
    // Storno balíku: the package's codes leave memory and its value leaves the total.
    void dropPackage();

private:
    void receiptEnded();
    // Switches the reader on and opens the port through the steps every start of receiving takes; a reader
    // that could not be switched on is told there.
    std::optional<ReceiptStartSteps::PortError> switchOn();
    // A receipt that still holds codes nobody saved: true when it may be replaced by a new start (the operator
    // ended it first, or it holds nothing).
    bool endOpenReceiptFirst();
    bool holdsCodes() const;
    void setManualEntry(bool on);
    void VymazBuf();
    // The safe-bag mode's notice, unless [User] InfoRezimSafeBag turns it off.
    void infoRezimSafeBag();
    void resumeReceiving();
    bool isStd() const;
    bool isAut() const;

    MainWindowLogic& m_logic;
    std::vector<TypeButton> m_buttons;
    bool m_manualEntry = false;
    bool m_running = false;
};

} // namespace trv
