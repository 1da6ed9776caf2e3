#include "mainwindow/ui/frmHlavni.h"

#include "core/AppState.h"
#include "datafiles/ui/WorkingWindowIndicator.h"
#include "datafiles/ui/frmPracuji.h"
#include "mainwindow/MainWindowLoad.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/MainWindowUnload.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/ReceiptWindows.h"
#include "mainwindow/ShellCommands.h"
#include "mainwindow/TicketsTable.h"
#include "mainwindow/VerticalMenus.h"
#include "mainwindow/ui/MaintenanceMenus.h"
#include "mainwindow/ui/ScannerPanel.h"
#include "mainwindow/ui/AppendingTextLayout.h"
#include "mainwindow/ui/SteadyScrollBar.h"
#include "periods/ui/frmOdvody.h"
#include "periods/ui/frmSoucVycDen.h"
#include "periods/ui/frmSoucVycObd.h"
#include "platform/Currency.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"
#include "receipt/ui/dlgNextPackage.h"
#include "receipt/ui/frmCounter.h"
#include "receipt/ui/frmCounterPack.h"
#include "settings/ui/frmChyby.h"
#include "ui_frmHlavni.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

namespace trv {

namespace {

const QColor kSafeBagColour(192, 192, 255);
const QColor kDailySafeBagColour(255, 192, 128);
constexpr int kTypesPerRow = 8;

// How long received text may wait before the display box shows it: at the edge of what an operator notices
// (a tenth of a second), and long enough that a fast reader's codes are painted together: painting the box
// and its scroll bar costs far more than checking and booking the codes.
constexpr int kViewDelayMs = 100;
// The display box never lays out a longer line: a reader without a line suffix sends one unending line, which is
// shown broken into lines of this length (the receipt's text keeps every byte as it came).
constexpr qsizetype kLongestShownLine = 200;

qint64 wholeUnits(Currency value) {
    return value.rounded(0).units() / 10000;
}

} // namespace

frmHlavni::frmHlavni(const Services& services, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::frmHlavni>()), m_state(services.state),
      m_prompts(services.prompts), m_shell(services.shell), m_clock(services.clock), m_printer(services.printer) {
    m_ui->setupUi(this);
    // The display box takes the free height while a receipt runs; while it is hidden the controls stay at the top.
    m_ui->layoutStred->addStretch(0);
    m_ui->layoutStred->setStretchFactor(m_ui->rtbStrav, 1);
    // The box grows by a few lines every tick while a receipt runs: its scroll bar repaints only what moved.
    m_ui->rtbStrav->setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, m_ui->rtbStrav));
    // Lines added at its end repaint only themselves.
    AppendingTextLayout::install(*m_ui->rtbStrav);

    for (int i = 0; i < kPanelCount; ++i) {
        auto* panel = new QLabel(m_ui->StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setMinimumWidth(i == 1 ? 24 : 120);
        m_ui->StatusBar1->addWidget(panel, i == 0 || i == 4 ? 2 : 1);
        m_panels[static_cast<size_t>(i)] = panel;
    }
    m_ui->StatusBar1->setAutoFillBackground(true);
    m_statusBar2Panel1 = new QLabel(m_ui->StatusBar2);
    m_statusBar2Panel1->setObjectName(QStringLiteral("StatusBar2Panel1"));
    m_ui->StatusBar2->addWidget(m_statusBar2Panel1, 1);
    m_ui->StatusBar2->setVisible(m_state.sw.gFBalikyTyden);

    m_viewTimer = new QTimer(this);
    m_viewTimer->setObjectName(QStringLiteral("viewTimer"));
    m_viewTimer->setSingleShot(true);
    m_viewTimer->setInterval(kViewDelayMs);
    connect(m_viewTimer, &QTimer::timeout, this, &frmHlavni::showPending);

    // The voucher-type buttons scroll where they do not fit: an installation may define any number of types.
    auto* typesArea = new QScrollArea(this);
    typesArea->setObjectName(QStringLiteral("scrTypy"));
    typesArea->setWidgetResizable(true);
    typesArea->setFrameShape(QFrame::NoFrame);
    typesArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    typesArea->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    m_ui->layoutStred->insertWidget(m_ui->layoutStred->indexOf(m_ui->fraTypy), typesArea);
    typesArea->setWidget(m_ui->fraTypy);
    m_typesArea = typesArea;

    m_optT = new QButtonGroup(this);
    m_optT->setObjectName(QStringLiteral("optT"));
    m_optT->setExclusive(true);

    m_windows = &services.windows;
    m_working = std::make_unique<WorkingWindowIndicator>(m_state.config, this);
    m_logic = std::make_unique<MainWindowLogic>(MainWindowLogic::Services{
        services.state, services.prompts, services.clock, services.port, services.pause,
        static_cast<ErrorLogSink&>(*this), *m_working, static_cast<MainWindowView&>(*this), services.windows});
    createCounterWindow();
    m_maintenance = new MaintenanceMenus(*this, services.state, services.prompts, services.shell, *m_logic);

    connect(m_ui->prijem, &QAction::triggered, this, &frmHlavni::prijem_Click);
    connect(m_ui->konecpr, &QAction::triggered, this, &frmHlavni::konecpr_Click);
    connect(m_ui->mnuRucne, &QAction::triggered, this, &frmHlavni::mnuRucne_Click);
    connect(m_ui->soubory, &QAction::triggered, this, &frmHlavni::soubory_Click);
    connect(m_ui->najdiStrav, &QAction::triggered, this, &frmHlavni::najdiStrav_Click);
    connect(m_ui->mnuTestDTR, &QAction::triggered, this, &frmHlavni::mnuTestDTR_Click);
    connect(m_ui->mnuCRLF, &QAction::triggered, this, &frmHlavni::mnuCRLF_Click);
    connect(m_ui->mnuSendNoread, &QAction::triggered, this, &frmHlavni::mnuSendNoread_Click);
    connect(m_ui->mnuSendExtCommand, &QAction::triggered, this, &frmHlavni::mnuSendExtCommand_Click);
    connect(m_ui->createExportNowaco, &QAction::triggered, this, &frmHlavni::createExportNowaco_Click);
    connect(m_ui->runTeamViewer, &QAction::triggered, this, &frmHlavni::runTeamViewer_Click);
    connect(m_ui->regLibrary, &QAction::triggered, this, &frmHlavni::regLibrary_Click);
    connect(m_ui->ScanOn, &QAction::triggered, this, &frmHlavni::ScanOn_Click);
    connect(m_ui->ScanOff, &QAction::triggered, this, &frmHlavni::ScanOff_Click);
    connect(m_ui->konec, &QAction::triggered, this, &frmHlavni::konec_Click);
    connect(m_ui->mnuSoucVycDen, &QAction::triggered, this, &frmHlavni::mnuSoucVycDen_Click);
    connect(m_ui->mnuSoucVycObd, &QAction::triggered, this, &frmHlavni::mnuSoucVycObd_Click);
    connect(m_ui->mnuOdvody, &QAction::triggered, this, &frmHlavni::mnuOdvody_Click);
    connect(m_ui->vmnNab, &VerticalMenu::ItemClick, this, &frmHlavni::vmnNab_ItemClick);
    connect(m_ui->vmnFast, &VerticalMenu::ItemClick, this, &frmHlavni::vmnFast_ItemClick);
    connect(m_optT, &QButtonGroup::idClicked, this, &frmHlavni::optT_Click);

    connect(&m_logic->receipt(), &ReceiptState::changed, this, &frmHlavni::receiptChanged);
    connect(&m_logic->commands(), &ReaderCommands::scannerSwitched, this, &frmHlavni::scannerSwitched);
    connect(&m_logic->counters(), &ReadCounters::changed, this, &frmHlavni::countersChanged);
    connect(&m_logic->package(), &PackageState::changed, this, &frmHlavni::packageChanged);
    connect(&m_logic->rtbStrav(), &DisplayBox::appended, this, &frmHlavni::displayAppended);
    connect(&m_logic->rtbStrav(), &DisplayBox::replaced, this, &frmHlavni::displayReplaced);
    connect(&m_logic->processor(), &CodeProcessor::packageWeekSums, m_statusBar2Panel1, &QLabel::setText);

    // Ctrl+E works wherever the focus is: the keys are seen where they reach the window, before any control.
    (void)winId();
    windowHandle()->installEventFilter(this);

    receiptChanged(m_logic->receipt().receiving());
}

frmHlavni::~frmHlavni() {
    if (m_busy)
        QApplication::restoreOverrideCursor();
}

bool frmHlavni::Form_Load() {
    setTexts();
    return m_logic->load().Form_Load();
}

QWidget* frmHlavni::counterWindow() const {
    if (m_counterPack)
        return m_counterPack;
    return m_counter;
}

void frmHlavni::createCounterWindow() {
    const auto reset = [this] { m_logic->counters().VynulujPocitadla(); };
    if (m_state.sw.gFBalicky)
        m_counterPack = new frmCounterPack(reset, this);
    else
        m_counter = new frmCounter(m_state.config, reset, this);
}

void frmHlavni::setTexts() {
    const Config& config = m_state.config;
    const auto menu = [&config](const char* key) { return config.DejText(QStringLiteral("Menu"), QLatin1String(key)); };
    const auto vmenu = [&config](const char* key) {
        return config.DejText(QStringLiteral("frmHlavniVMenu"), QLatin1String(key));
    };

    m_panels[1]->setText(QStringLiteral("E"));
    setWindowTitle(config.DejText(QStringLiteral("frmPrijemSec"), QStringLiteral("TRVZpracStrav")));
    m_panels[0]->setText(m_logic->receipt().panelText(config));
    m_ui->Label1->setText(config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("Soubor")));
    if (m_counter)
        m_counter->setText();

    m_ui->data->setTitle(menu("Data"));
    m_ui->prijem->setText(menu("Prijem"));
    m_ui->konecpr->setText(menu("Ukonceni"));
    m_ui->mnuRucne->setText(menu("Rucni"));
    m_ui->soubory->setText(menu("Soubory"));
    m_ui->mnuMaska->setText(menu("Maska"));
    m_ui->servis->setTitle(menu("Servis"));
    m_ui->najdiStrav->setText(menu("VyhledStrav"));
    m_ui->nastpr->setText(menu("NastProg"));
    m_ui->defkonf->setText(menu("Vychkonfig"));
    m_ui->mnuStrav->setText(menu("TypyStrav"));
    m_ui->mnuTestDTR->setText(menu("TestDTR"));
    m_ui->mnuCRLF->setText(menu("PoslatCRLF"));
    m_ui->mnuSendNoread->setText(menu("PoslatNR"));
    m_ui->mnuSendExtCommand->setText(menu("PoslatExtCmd"));
    m_ui->defSM->setText(menu("DefSM"));
    m_ui->createExportNowaco->setText(menu("VytvExpNowaco"));
    m_ui->mnuScanner->setTitle(menu("Skener"));
    m_ui->ScanOn->setText(menu("On"));
    m_ui->ScanOff->setText(menu("Off"));
    m_ui->mnuVyc->setTitle(menu("Vycetky"));
    m_ui->mnuSoucVycDen->setText(menu("SoucetDen"));
    m_ui->mnuSoucVycObd->setText(menu("SoucetObd"));
    m_ui->About->setText(menu("OProg"));
    m_ui->konec->setText(menu("Kon"));
    m_ui->runTeamViewer->setText(menu("VzdalSprava"));

    m_ui->vmnNab->setHeading(vmenu("Akce"));
    const char* nabKeys[] = {"PrijemDat", "Rucne", "KontrVyc", "UkoncPrijmu", "Soubory", "Konec"};
    for (int item = 1; item <= VerticalMenu::kItemCount; ++item)
        m_ui->vmnNab->setItemCaption(item, vmenu(nabKeys[item - 1]));
    m_ui->vmnFast->setHeading(vmenu("Akce"));
    const char* fastKeys[] = {"ScanON", "ScanOFF", "Volba1", "Servis", "Export", "Maska"};
    for (int item = 1; item <= VerticalMenu::kItemCount; ++item)
        m_ui->vmnFast->setItemCaption(item, vmenu(fastKeys[item - 1]));
}

// --- Menu commands

void frmHlavni::prijem_Click() {
    m_logic->control().prijem_Click();
}

void frmHlavni::konecpr_Click() {
    m_logic->control().konecpr_Click();
}

void frmHlavni::mnuRucne_Click() {
    // The manual-entry window puts the display box's caret at the end before and after the entry.
    m_logic->control().Rucne();
}

void frmHlavni::mnuTestDTR_Click() {
    m_logic->commands().mnuTestDTR_Click();
}

void frmHlavni::mnuCRLF_Click() {
    m_logic->commands().mnuCRLF_Click();
}

void frmHlavni::mnuSendNoread_Click() {
    m_logic->commands().mnuSendNoread_Click();
}

void frmHlavni::mnuSendExtCommand_Click() {
    m_logic->commands().mnuSendExtCommand_Click();
}

void frmHlavni::createExportNowaco_Click() {
    createExportNowaco(m_state.config, m_prompts);
}

void frmHlavni::runTeamViewer_Click() {
    runTeamViewer(m_shell, m_prompts);
}

void frmHlavni::regLibrary_Click() {
    regLibrary(m_state.config, m_shell, m_prompts);
}

void frmHlavni::ScanOn_Click() {
    m_logic->commands().ScanOn_Click();
    // The item checked itself when clicked; the marks show what the reader was last told.
    scannerMarks();
}

void frmHlavni::ScanOff_Click() {
    m_logic->commands().ScanOff_Click();
    scannerMarks();
}

void frmHlavni::scannerMarks() {
    const bool on = m_readerOn && !m_readerGone;
    m_ui->ScanOn->setChecked(on);
    m_ui->ScanOff->setChecked(!on);
}

void frmHlavni::soubory_Click() {
    m_windows->frmSoubory();
}

void frmHlavni::najdiStrav_Click() {
    m_windows->frmNajdiStrav();
}

void frmHlavni::konec_Click() {
    close();
}

void frmHlavni::vmnNab_ItemClick(int item) {
    if (item == 2) {
        // The menu's manual entry, while it is allowed: only into a running receipt.
        if (m_ui->mnuRucne->isEnabled())
            mnuRucne_Click();
        else
            m_prompts.info(m_logic->text(QStringLiteral("NeprobihaPrjem")));
        return;
    }
    m_logic->menus().vmnNab_ItemClick(item);
}

void frmHlavni::vmnFast_ItemClick(int item) {
    // The period summary, the settings and the masks open windows, unless customer switch 27 keeps them from
    // its operators (the logic says so then).
    if ((item == 4 || item == 5 || item == 6) && !m_state.sw.gFZakaznik) {
        if (item == 4)
            m_maintenance->nastpr_Click();
        else if (item == 5)
            mnuSoucVycObd_Click();
        else
            m_maintenance->mnuMaska_Click();
        return;
    }
    m_logic->menus().vmnFast_ItemClick(item);
}

void frmHlavni::mnuSoucVycDen_Click() {
    if (!m_printer) {
        m_ownPrinter = std::make_unique<Printer>();
        m_printer = m_ownPrinter.get();
    }
    frmSoucVycDen window({m_state, m_prompts, m_clock, m_logic->readerStop()}, *m_printer, this);
    window.exec();
}

void frmHlavni::mnuSoucVycObd_Click() {
    if (!m_printer) {
        m_ownPrinter = std::make_unique<Printer>();
        m_printer = m_ownPrinter.get();
    }
    frmSoucVycObd window({m_state, m_prompts, m_clock, m_logic->readerStop()},
                         {[this](const QString& sums) { m_statusBar2Panel1->setText(sums); }, &m_shell, m_printer},
                         this);
    window.exec();
}

void frmHlavni::mnuOdvody_Click() {
    // One window, shown without blocking; its Konec unloads it, so the next opening starts afresh.
    if (!m_odvody) {
        auto* window = new frmOdvody({m_state, m_prompts, m_clock, m_logic->readerStop()}, m_shell, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        m_odvody = window;
    }
    m_odvody->show();
    m_odvody->raise();
}

void frmHlavni::optT_Click(int index) {
    m_logic->control().optT_Click(index);
}

// --- What the logic tells

void frmHlavni::receiptChanged(bool receiving) {
    m_panels[0]->setText(m_logic->receipt().panelText(m_state.config));
    // The reader's panel says the reader is gone whenever the receiving panel does, and keeps saying it until the
    // port is open again or a command reaches the reader.
    if (m_logic->receipt().readerLost())
        m_readerGone = true;
    else if (receiving)
        m_readerGone = false;
    showReaderState();
    QPalette palette = m_ui->StatusBar1->palette();
    const QRgb colour = receiving ? ReceiptState::kReceivingColor : ReceiptState::kNotReceivingColor;
    palette.setColor(QPalette::Window, QColor(colour));
    m_ui->StatusBar1->setPalette(palette);
    // A receipt whose reader was lost still runs: its codes stay in sight.
    m_ui->rtbStrav->setVisible(receiving || m_logic->control().receiptRuns());
    if (receiving && m_displayReplaced)
        scheduleView();
}

void frmHlavni::scannerSwitched(bool on) {
    m_readerText = m_state.config.DejText(QStringLiteral("procFce"),
                                          on ? QStringLiteral("ScannerON") : QStringLiteral("ScannerOFF"));
    m_readerOn = on;
    // A command went to the reader; while a receipt runs without its reader, the panel still says it is gone.
    if (!m_logic->receipt().readerLost())
        m_readerGone = false;
    showReaderState();
}

void frmHlavni::showReaderState() {
    m_panels[2]->setText(m_readerGone ? QStringLiteral("Čtečka odpojena") : m_readerText);
    scannerMarks();
}

void frmHlavni::countersChanged() {
    m_countersPending = true;
    scheduleView();
}

void frmHlavni::showCountersPending() {
    if (!m_countersPending)
        return;
    m_countersPending = false;
    const ReadCounters& counters = m_logic->counters();
    if (m_counter) {
        m_counter->setReadCount(counters.gPocetCteni());
        m_counter->setReadsWithoutNoRead(counters.gPocetBezNoRead());
        m_counter->setReceiveEvents(counters.gPocetPrijmu());
    }
    if (m_counterPack) {
        m_counterPack->setReadCount(counters.gPocetCteni());
        m_counterPack->setReadsWithoutNoRead(counters.gPocetBezNoRead());
        m_counterPack->setReceiveEvents(counters.gPocetPrijmu());
    }
}

void frmHlavni::packageChanged(bool withNumber) {
    if (!m_counterPack)
        return;
    const PackageState& package = m_logic->package();
    m_counterPack->setAllPackagesValue(wholeUnits(package.gSumaVse));
    m_counterPack->setCurrentPackageValue(wholeUnits(package.gSumaBalik));
    if (withNumber)
        m_counterPack->setPackageNumber(m_state.gCisloBaliku);
}

void frmHlavni::displayAppended(const QString& chunk) {
    if (!m_displayReplaced)
        m_pendingDisplay += chunk;
    scheduleView();
}

void frmHlavni::displayReplaced() {
    // The whole text is shown from the model at the next tick; what was pending is part of it.
    m_pendingDisplay.clear();
    m_displayReplaced = true;
    scheduleView();
}

void frmHlavni::scheduleView() {
    if (!m_viewTimer->isActive())
        m_viewTimer->start();
}

void frmHlavni::showPending() {
    m_viewTimer->stop();
    showDisplayPending();
    showCountersPending();
}

// The receipt's text for the text box: CR LF, a lone CR and a lone LF each end a line (also a CR LF split
// between two chunks), and no shown line is longer than kLongestShownLine.
QString frmHlavni::shownText(QStringView text) {
    QString shown;
    shown.reserve(text.size() + text.size() / kLongestShownLine + 1);
    for (const QChar c : text) {
        if (c == u'\n' && m_shownEndsWithCr) {
            m_shownEndsWithCr = false;
            continue;
        }
        m_shownEndsWithCr = c == u'\r';
        if (c == u'\r' || c == u'\n') {
            shown.append(u'\n');
            m_shownLineLength = 0;
            continue;
        }
        if (m_shownLineLength == kLongestShownLine) {
            shown.append(u'\n');
            m_shownLineLength = 0;
        }
        shown.append(c);
        ++m_shownLineLength;
    }
    return shown;
}

void frmHlavni::showDisplayPending() {
    QPlainTextEdit* box = m_ui->rtbStrav;
    if (box->isHidden()) {
        // Nobody sees it now: it is filled from the model whole when it shows again.
        if (!m_pendingDisplay.isEmpty())
            m_displayReplaced = true;
        m_pendingDisplay.clear();
        return;
    }
    if (m_displayReplaced) {
        m_displayReplaced = false;
        m_pendingDisplay.clear();
        m_shownEndsWithCr = false;
        m_shownLineLength = 0;
        box->setPlainText(shownText(m_logic->rtbStrav().text()));
        box->moveCursor(QTextCursor::End);
        return;
    }
    if (m_pendingDisplay.isEmpty())
        return;
    const QString shown = shownText(m_pendingDisplay);
    m_pendingDisplay.clear();
    if (shown.isEmpty())
        return;
    // Inserted through a cursor of its own at the end: the view repaints only what changed, and scrolls to the
    // end once.
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    end.insertText(shown);
    box->moveCursor(QTextCursor::End);
}

// --- Window events

void frmHlavni::closeEvent(QCloseEvent* event) {
    if (!m_unloaded) {
        if (m_logic->unload().Form_Unload() == MainWindowUnload::Result::Cancelled) {
            event->ignore();
            return;
        }
        m_unloaded = true;
        // The window goes: what the unload changed in the display box is not drawn any more.
        m_viewTimer->stop();
        m_pendingDisplay.clear();
        m_displayReplaced = false;
        m_countersPending = false;
        if (QWidget* counter = counterWindow())
            counter->hide();
        if (m_chyby)
            m_chyby->close();
    }
    QMainWindow::closeEvent(event);
}

bool frmHlavni::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle()) {
        if (event->type() == QEvent::KeyPress)
            form_KeyDown(static_cast<QKeyEvent*>(event)->key());
        else if (event->type() == QEvent::KeyRelease)
            form_KeyUp(static_cast<QKeyEvent*>(event)->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

namespace {

ValidityToggle::Key toggleKey(int key) {
    if (key == Qt::Key_Control)
        return ValidityToggle::Key::Ctrl;
    if (key == Qt::Key_E)
        return ValidityToggle::Key::E;
    return ValidityToggle::Key::Other;
}

} // namespace

void frmHlavni::form_KeyDown(int key) {
    if (m_logic->ctrlE().keyDown(toggleKey(key)))
        m_panels[1]->setText(m_logic->ctrlE().panelText());
}

void frmHlavni::form_KeyUp(int key) {
    m_logic->ctrlE().keyUp(toggleKey(key));
}

// --- MainWindowView

QAction* frmHlavni::menuAction(MenuItem item) const {
    switch (item) {
    case MenuItem::mnuRucne:
        return m_ui->mnuRucne;
    case MenuItem::soubory:
        return m_ui->soubory;
    case MenuItem::mnuVyc:
        return m_ui->mnuVyc->menuAction();
    case MenuItem::mnuSoucVycDen:
        return m_ui->mnuSoucVycDen;
    case MenuItem::mnuSoucVycObd:
        return m_ui->mnuSoucVycObd;
    case MenuItem::mnuOdvody:
        return m_ui->mnuOdvody;
    }
    return nullptr;
}

void frmHlavni::setMenuEnabled(MenuItem item, bool enabled) {
    // The window behind this item is not part of the program yet: it stays disabled.
    if (item == MenuItem::soubory)
        return;
    if (QAction* action = menuAction(item))
        action->setEnabled(enabled);
}

void frmHlavni::setMenuVisible(MenuItem item, bool visible) {
    if (QAction* action = menuAction(item))
        action->setVisible(visible);
}

void frmHlavni::setVerticalItemCaption(Menu menu, int item, const QString& caption) {
    (menu == Menu::vmnNab ? m_ui->vmnNab : m_ui->vmnFast)->setItemCaption(item, caption);
}

void frmHlavni::setFastMenuVisible(bool visible) {
    m_ui->vmnFast->setVisible(visible);
}

void frmHlavni::setScanButtonVisible(bool visible) {
    m_ui->btnScan->setVisible(visible);
    // The load shows the button exactly when the cheque scanner is in use: the connection is made here.
    if (visible && m_scannerDriver && !m_scanner) {
        m_scanner = std::make_unique<ScannerPanel>(*m_logic, *m_scannerDriver, *m_ui->btnScan, *this);
        m_ui->layoutStred->insertWidget(m_ui->layoutStred->indexOf(m_ui->btnScan), m_scanner.get());
        m_scanner->open();
    }
}

void frmHlavni::setPortDescription(const QString& text) {
    m_panels[4]->setText(text);
}

void frmHlavni::showTypeButtons(const std::vector<TypeButton>& buttons) {
    // Laid out once when all are there, not once per button.
    m_ui->fraTypy->hide();
    m_optT->setExclusive(false);
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (i >= m_typeButtons.size()) {
            auto* button = new QRadioButton(m_ui->fraTypy);
            button->setObjectName(QStringLiteral("optT%1").arg(i));
            // Wrapped in rows so the window stays screen-wide.
            const int n = static_cast<int>(i);
            m_ui->layoutTypy->addWidget(button, n / kTypesPerRow, n % kTypesPerRow);
            m_optT->addButton(button, static_cast<int>(i));
            m_typeButtons.push_back(button);
        }
        QRadioButton* button = m_typeButtons[i];
        const TypeButton& type = buttons[i];
        button->setText(type.caption);
        button->setToolTip(type.toolTip);
        button->setVisible(true);
        button->setChecked(false);
        if (type.colour == TypeButton::Colour::ButtonFace) {
            button->setAutoFillBackground(false);
            button->setPalette(QPalette());
        } else {
            QPalette palette = button->palette();
            palette.setColor(QPalette::Window,
                             type.colour == TypeButton::Colour::SafeBag ? kSafeBagColour : kDailySafeBagColour);
            button->setPalette(palette);
            button->setAutoFillBackground(true);
        }
    }
    m_optT->setExclusive(true);
    m_ui->fraTypy->show();
    // Up to a few rows show whole; more scroll.
    constexpr int kRowsShown = 4;
    const int rows = static_cast<int>((buttons.size() + kTypesPerRow - 1) / kTypesPerRow);
    const int rowHeight =
        m_typeButtons.empty() ? 0 : m_typeButtons.front()->sizeHint().height() + m_ui->layoutTypy->verticalSpacing();
    m_typesArea->setMaximumHeight(std::min(rows, kRowsShown) * rowHeight + 2 * m_typesArea->frameWidth() +
                                  (rows > kRowsShown ? 0 : 4));
}

void frmHlavni::checkTypeButton(int index) {
    if (index >= 0 && static_cast<size_t>(index) < m_typeButtons.size())
        m_typeButtons[static_cast<size_t>(index)]->setChecked(true);
}

void frmHlavni::showCounterWindow() {
    QWidget* counter = counterWindow();
    if (!counter)
        return;
    const QRect frame = frameGeometry();
    counter->move(frame.left() + frame.width() - counter->frameGeometry().width() - 10, frame.top() + 10);
    counter->show();
}

void frmHlavni::hideCounterWindow() {
    if (QWidget* counter = counterWindow())
        counter->hide();
}

bool frmHlavni::counterWindowShown() const {
    const QWidget* counter = counterWindow();
    return counter != nullptr && counter->isVisible();
}

void frmHlavni::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmHlavni::setFileLabel(const QString& path) {
    m_ui->lblSoubor->setText(path);
}

void frmHlavni::showWindow() {
    show();
    raise();
}

void frmHlavni::closeWindow() {
    close();
}

void frmHlavni::hideDisplayBox() {
    m_ui->rtbStrav->hide();
    repaint();
}

int frmHlavni::dlgNextPackage(const QString& caption, const QString& okCaption) {
    // The package statement is the check statement of the codes read so far.
    trv::dlgNextPackage dialog([this] { m_windows->frmKontrVyc(); }, this);
    if (!caption.isEmpty())
        dialog.setCaption(caption);
    if (!okCaption.isEmpty())
        dialog.setOKButtonCaption(okCaption);
    dialog.exec();
    return dialog.Result();
}

// --- ErrorLogSink

void frmHlavni::PridejChybu(const QString& text) {
    if (!m_chyby) {
        m_chyby = new frmChyby(this);
        m_chyby->show();
    }
    m_chyby->PridejChybu(text);
}

} // namespace trv
