#pragma once

#include "core/ReceiptRecord.h"

#include <QString>

#include <optional>

namespace trv {

// The windows of other parts of the program that a receipt passes through: the receipt-start dialogs, the
// manual entry, the working-mode choice, the check statement and the closing window. The main window opens
// them through this interface; until a window exists its function answers "not available" and the receipt
// goes on without it.
class ReceiptWindows {
public:
    virtual ~ReceiptWindows() = default;

    // The receipt-start dialog, modal: frmPrijemSec when `withSm` (customer switch 10), else frmPrijem. Its
    // start button names the day data file, opens the port and starts receiving (ReceiptControl::startReceiving);
    // its exit button closes it without a start. False when the window is not available.
    virtual bool frmPrijem(bool withSm) = 0;
    // The next receipt-start dialog starts appending to this file of its list (a receipt a crash left unsaved,
    // taken up at the operator's word), with the receipt's depot ids; an empty name takes the request back.
    virtual void appendAtNextStart(const QString& fileName, const ReceiptRecord::Ids& ids = {}) {
        (void)fileName;
        (void)ids;
    }

    // The manual-entry window frmRucne, modal: checks typed codes, books them and appends them to the display
    // box. False when not available.
    virtual bool frmRucne() = 0;

    // The working-mode window frmSafeBag, modal: sets AppState::gSafeBag or gDennySafeBag and the data folder.
    // False when not available (the modes stay as they are).
    virtual bool frmSafeBag() = 0;

    // The check statement frmKontrVyc: 1 when the operator ends the receipt, 2 when back to receiving, 0 when
    // closed otherwise; nullopt when not available.
    virtual std::optional<int> frmKontrVyc() = 0;

    // The closing window frmUkonceniPr with its file label set to `fileLabel` (the full path of the receipt
    // file), shown modal unless `show` is false (sorting mode: it stays loaded and hidden). True when the
    // receipt was ended (saved, or discarded after the operator confirmed it), false when the operator left the
    // window without saving and the receipt goes on with its codes; nullopt when the window is not available.
    virtual std::optional<bool> frmUkonceniPr(const QString& fileLabel, bool show) = 0;

    // The data-file browser frmSoubory and the code search frmNajdiStrav, modal. False when not available.
    virtual bool frmSoubory() { return false; }
    virtual bool frmNajdiStrav() { return false; }
};

// No window is available yet.
class NoReceiptWindows final : public ReceiptWindows {
public:
    bool frmPrijem(bool) override { return false; }
    bool frmRucne() override { return false; }
    bool frmSafeBag() override { return false; }
    std::optional<int> frmKontrVyc() override { return std::nullopt; }
    std::optional<bool> frmUkonceniPr(const QString&, bool) override { return std::nullopt; }
};

} // namespace trv
