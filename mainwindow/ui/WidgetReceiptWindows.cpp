#include "mainwindow/ui/WidgetReceiptWindows.h"

#include "closing/ui/frmKontrVyc.h"
#include "closing/ui/frmUkonceniPr.h"
#include "core/AppState.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/ui/MainReceiptHost.h"
#include "mainwindow/ui/frmHlavni.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/TextFiles.h"
#include "receipt/ui/frmPrijem.h"
#include "receipt/ui/frmRucne.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QPlainTextEdit>

namespace trv {

WidgetReceiptWindows::WidgetReceiptWindows(AppState& state, Prompts& prompts, const Clock& clock, Printer& printer)
    : m_state(state), m_prompts(prompts), m_clock(clock), m_printer(printer) {}

WidgetReceiptWindows::~WidgetReceiptWindows() = default;

void WidgetReceiptWindows::attach(frmHlavni& window) {
    m_window = &window;
    // The type buttons and the package-sum panel are the window's own widgets, found by their names.
    auto* group = window.findChild<QButtonGroup*>(QStringLiteral("optT"));
    auto* sums = window.findChild<QLabel*>(QStringLiteral("StatusBar2Panel1"));
    MainReceiptHost::WindowSide side;
    side.chosenTypeIndex = [group] {
        if (group == nullptr)
            return -1;
        QAbstractButton* checked = group->checkedButton();
        return checked != nullptr ? group->id(checked) : -1;
    };
    side.setPackageSumsText = [sums](const QString& text) {
        if (sums != nullptr)
            sums->setText(text);
    };
    m_host = std::make_unique<MainReceiptHost>(window.logic(), std::move(side));
}

bool WidgetReceiptWindows::frmPrijem(bool withSm) {
    // The start dialog with the cash desk is not there yet.
    if (withSm || m_window == nullptr)
        return false;
    trv::frmPrijem dialog(m_state, m_prompts, m_clock, *m_host);
    dialog.exec();
    return true;
}

bool WidgetReceiptWindows::frmRucne() {
    if (m_window == nullptr)
        return false;
    caretToEnd();
    {
        trv::frmRucne dialog(m_state, m_prompts, *m_host, m_window);
        dialog.exec();
    }
    caretToEnd();
    return true;
}

bool WidgetReceiptWindows::frmSafeBag() {
    return false;
}

std::optional<int> WidgetReceiptWindows::frmKontrVyc() {
    if (m_window == nullptr)
        return std::nullopt;
    fillReceipt();
    trv::frmKontrVyc dialog(m_state, m_receipt, m_prompts, m_clock, m_printer, hooks(), m_window);
    return static_cast<int>(dialog.Start());
}

std::optional<bool> WidgetReceiptWindows::frmUkonceniPr(const QString& fileLabel, bool show) {
    if (m_window == nullptr)
        return std::nullopt;
    fillReceipt();
    m_receipt.gTrideni = !show;
    trv::frmUkonceniPr dialog(m_state, m_receipt, m_prompts, m_clock, m_printer, hooks(), m_window);
    dialog.Otevri(TextFiles::toPath(fileLabel));
    // The window ends accepted exactly when the receipt was saved or discarded; in sorting mode it is never
    // shown and the receipt is handed to it.
    if (!show)
        return true;
    return dialog.result() == QDialog::Accepted;
}

ClosingHooks WidgetReceiptWindows::hooks() {
    ClosingHooks hooks;
    hooks.zobrazSouctyBaliku = [this](const QString& text) { m_host->setPackageSumsText(text); };
    // Storno: the receipt's file goes back to what it was before the receipt (removed when the receipt created it).
    hooks.zahodSoubor = [this] { return m_window->logic().journal().zahod(); };
    hooks.vycistiPrijem = [this] {
        MainWindowLogic& logic = m_window->logic();
        logic.rtbStrav().clear();
        logic.setLblSoubor(QString());
    };
    return hooks;
}

// The receipt is known by what its start recorded; a receipt no start has dated (none has run in this session)
// is dated the day it is closed on. The sorting mode is the main window's.
void WidgetReceiptWindows::fillReceipt() {
    m_receipt.gDatumPrijmu = m_state.gDatumPrijmu.isEmpty() ? dateYYMMDD(m_clock.today()) : m_state.gDatumPrijmu;
    m_receipt.gSM = m_state.gSM;
    m_receipt.gTrideni = m_window->logic().gTrideni();
}

void WidgetReceiptWindows::caretToEnd() {
    if (auto* box = m_window->findChild<QPlainTextEdit*>(QStringLiteral("rtbStrav")))
        box->moveCursor(QTextCursor::End);
}

} // namespace trv
