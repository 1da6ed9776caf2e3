#include "mainwindow/ui/WidgetReceiptWindows.h"

#include "closing/ui/frmKontrVyc.h"
#include "closing/ui/frmUkonceniHled.h"
#include "closing/ui/frmUkonceniPr.h"
#include "core/AppState.h"
#include "datafiles/ui/frmNajdiStrav.h"
#include "datafiles/ui/frmSoubory.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/ReaderStop.h"
#include "mainwindow/ui/MainReceiptHost.h"
#include "mainwindow/ui/frmHlavni.h"
#include "periods/ui/frmSoucVycObd.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/TextFiles.h"
#include "receipt/ui/frmPrijem.h"
#include "receipt/ui/frmPrijemSec.h"
#include "receipt/ui/frmRucne.h"
#include "settings/ui/frmSafeBag.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QPlainTextEdit>

#include <utility>

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
    side.setCaption = [&window](const QString& text) { window.setWindowTitle(text); };
    m_host = std::make_unique<MainReceiptHost>(window.logic(), std::move(side));
}

bool WidgetReceiptWindows::frmPrijem(bool withSm) {
    if (m_window == nullptr)
        return false;
    const QString appendTo = std::exchange(m_appendAtStart, QString());
    if (withSm) {
        trv::frmPrijemSec dialog(m_state, m_prompts, m_clock, *m_host, m_window);
        // The append the operator asked for starts as the start button would start it; refused, the dialog
        // shows with it chosen.
        if (appendTo.isEmpty() || !dialog.startAppend(appendTo, m_appendIds))
            dialog.exec();
        return true;
    }
    trv::frmPrijem dialog(m_state, m_prompts, m_clock, *m_host);
    if (appendTo.isEmpty() || !dialog.startAppend(appendTo))
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
    if (m_window == nullptr)
        return false;
    trv::frmSafeBag dialog(m_state, m_prompts, m_window);
    dialog.exec();
    return true;
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
    // Sorting mode loads the window and keeps it hidden (the receipt is handed to it); the next end outside
    // sorting mode shows that same window, loaded again on the receipt's codes. Shown, it ends accepted exactly
    // when the receipt was saved or discarded.
    if (m_hiddenClosing.isNull())
        m_hiddenClosing = new trv::frmUkonceniPr(m_state, m_receipt, m_prompts, m_clock, m_printer, hooks(), m_window);
    QPointer<trv::frmUkonceniPr> dialog = m_hiddenClosing;
    const bool loaded = dialog->Form_Load(TextFiles::toPath(fileLabel));
    bool ended = loaded;
    if (loaded && show) {
        dialog->exec();
        ended = dialog && dialog->result() == QDialog::Accepted;
    }
    if (!loaded || show) {
        m_hiddenClosing = nullptr;
        delete dialog.data();
    }
    return ended;
}

ClosingHooks WidgetReceiptWindows::hooks() {
    ClosingHooks hooks;
    hooks.zobrazSouctyBaliku = [this](const QString& text) { m_host->setPackageSumsText(text); };
    // Storno: the receipt's file goes back to what it was before the receipt (removed when the receipt created it).
    hooks.zahodSoubor = [this] { return m_window->logic().journal().zahod(); };
    hooks.popisZahozeni = [this] { return m_window->logic().journal().zahozeni(); };
    hooks.seznamSafeBagZapsan = [this] { m_window->logic().journal().listWritten(); };
    hooks.vycistiPrijem = [this] {
        MainWindowLogic& logic = m_window->logic();
        logic.rtbStrav().clear();
        logic.setLblSoubor(QString());
    };
    // The package counts of the period last computed in package mode (none before one was).
    hooks.logujChybu = [this](const QString& text) { m_window->logic().readerStop().LogujDoOkna(text); };
    hooks.obdobiBaliky = [this](qint64 position) {
        const auto it = m_state.gBalikyObdobi.find(position);
        return it == m_state.gBalikyObdobi.end() ? std::vector<std::pair<QString, qint64>>{} : it->second;
    };
    hooks.otevriHledaniDuplicit = [this] {
        trv::frmUkonceniHled dialog(m_state, m_prompts, m_printer, QApplication::activeModalWidget());
        dialog.Form_Load();
        dialog.exec();
    };
    hooks.otevriSouhrnObdobi = [this] {
        if (!m_window)
            return;
        frmSoucVycObd window(
            {m_state, m_prompts, m_clock, m_window->logic().readerStop()},
            {[this](const QString& sums) { m_host->setPackageSumsText(sums); }, &m_window->shell(), &m_printer},
            QApplication::activeModalWidget());
        window.exec();
    };
    return hooks;
}

// The receipt is known by what its start recorded; a receipt no start has dated (none has run in this session)
// is dated the day it is closed on. The sorting mode is the main window's.
void WidgetReceiptWindows::fillReceipt() {
    m_receipt.gDatumPrijmu = m_state.gDatumPrijmu.isEmpty() ? dateYYMMDD(m_clock.today()) : m_state.gDatumPrijmu;
    m_receipt.gSM = m_state.gSM;
    m_receipt.gOperator = m_state.gOperator;
    m_receipt.gDatumOdvodu = m_state.gDatumOdvodu;
    m_receipt.gDepo = m_state.gDepo;
    m_receipt.gIdentObalky = m_state.gIdentObalky;
    m_receipt.gIdentFA = m_state.gIdentFA;
    m_receipt.gNemazatSoubor = m_state.gNemazatSoubor;
    m_receipt.zakaznik = {m_state.gZakCislo,    m_state.gZakIC,      m_state.gZakNazev,    m_state.gZakAdresa,
                          m_state.gZakOdpovida, m_state.gZakTelefon, m_state.gZakCisloSpol};
    m_receipt.gTrideni = m_window->logic().gTrideni();
}

void WidgetReceiptWindows::caretToEnd() {
    if (auto* box = m_window->findChild<QPlainTextEdit*>(QStringLiteral("rtbStrav")))
        box->moveCursor(QTextCursor::End);
}

bool WidgetReceiptWindows::frmSoubory() {
    if (m_window == nullptr)
        return false;
    // The summary print takes the font of the receipt box.
    const auto* box = m_window->findChild<QPlainTextEdit*>(QStringLiteral("rtbStrav"));
    trv::frmSoubory dialog(trv::frmSoubory::Services{m_state, m_prompts, m_clock, m_printer, m_host->reader(),
                                                     box != nullptr ? box->font().family() : QString()},
                           m_window);
    if (dialog.Form_Load())
        dialog.exec();
    return true;
}

bool WidgetReceiptWindows::frmNajdiStrav() {
    if (m_window == nullptr)
        return false;
    trv::frmNajdiStrav dialog(m_state, m_prompts, m_window);
    dialog.exec();
    return true;
}

} // namespace trv
