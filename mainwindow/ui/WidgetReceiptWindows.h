#pragma once

#include "closing/ReceiptInfo.h"
#include "mainwindow/ReceiptWindows.h"

#include <QPointer>

#include <memory>

namespace trv {

struct AppState;
class Clock;
class frmHlavni;
class MainReceiptHost;
class Printer;
class Prompts;
class frmUkonceniPr;

// The receipt's windows as real dialogs: the receipt start, the manual entry, the check statement and the
// closing window. The main window they serve is created after them (it needs them), so it is attached before
// its load; until then every window answers "not available".
class WidgetReceiptWindows final : public ReceiptWindows {
public:
    WidgetReceiptWindows(AppState& state, Prompts& prompts, const Clock& clock, Printer& printer);
    ~WidgetReceiptWindows() override;
    WidgetReceiptWindows(const WidgetReceiptWindows&) = delete;
    WidgetReceiptWindows& operator=(const WidgetReceiptWindows&) = delete;

    void attach(frmHlavni& window);

    bool frmPrijem(bool withSm) override;
    void appendAtNextStart(const QString& fileName, const ReceiptRecord::Ids& ids = {}) override {
        m_appendAtStart = fileName;
        m_appendIds = ids;
    }
    bool frmRucne() override;
    bool frmSafeBag() override;
    std::optional<int> frmKontrVyc() override;
    std::optional<bool> frmUkonceniPr(const QString& fileLabel, bool show) override;
    bool frmSoubory() override;
    bool frmNajdiStrav() override;

    // What the receipt start and the statement save know of the current receipt.
    ReceiptInfo& receipt() { return m_receipt; }

private:
    ClosingHooks hooks();
    void fillReceipt();
    void caretToEnd();

    AppState& m_state;
    Prompts& m_prompts;
    const Clock& m_clock;
    Printer& m_printer;
    frmHlavni* m_window = nullptr;
    std::unique_ptr<MainReceiptHost> m_host;
    ReceiptInfo m_receipt;
    // The closing window loaded in sorting mode and kept hidden; owned by the main window as its parent.
    QPointer<trv::frmUkonceniPr> m_hiddenClosing;
    QString m_appendAtStart;
    ReceiptRecord::Ids m_appendIds;
};

} // namespace trv
