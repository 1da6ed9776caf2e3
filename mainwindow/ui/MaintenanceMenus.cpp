#include "mainwindow/ui/MaintenanceMenus.h"

#include "core/AppState.h"
#include "core/DefaultConfig.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/MainWindowView.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/ui/frmHlavni.h"
#include "platform/Prompts.h"
#include "settings/ui/frmAbout.h"
#include "settings/ui/frmLoginService.h"
#include "settings/ui/frmMaska.h"
#include "settings/ui/frmSM.h"
#include "settings/ui/frmServis.h"
#include "settings/ui/frmStrav.h"

#include <QAction>

namespace trv {

MaintenanceMenus::MaintenanceMenus(frmHlavni& window, AppState& state, Prompts& prompts, Shell& shell,
                                   MainWindowLogic& logic)
    : QObject(&window), m_window(window), m_state(state), m_prompts(prompts), m_shell(shell), m_logic(logic) {
    const std::pair<const char*, void (MaintenanceMenus::*)()> items[] = {
        {"nastpr", &MaintenanceMenus::nastpr_Click},     {"defkonf", &MaintenanceMenus::defkonf_Click},
        {"mnuStrav", &MaintenanceMenus::mnuStrav_Click}, {"defSM", &MaintenanceMenus::defSM_Click},
        {"mnuMaska", &MaintenanceMenus::mnuMaska_Click}, {"About", &MaintenanceMenus::About_Click},
    };
    for (const auto& [name, slot] : items) {
        if (QAction* action = window.findChild<QAction*>(QLatin1String(name))) {
            action->setEnabled(true);
            connect(action, &QAction::triggered, this, slot);
        }
    }
}

MaintenanceMenus::~MaintenanceMenus() {
    // The SM list has no owner window; it goes with the main window.
    delete m_sm.data();
}

bool MaintenanceMenus::prihlas() {
    return frmLoginService::prihlas(m_state, m_prompts, &m_window);
}

void MaintenanceMenus::nastpr_Click() {
    if (!prihlas())
        return;
    frmServis window(m_state, m_prompts, m_shell, *this, &m_window);
    window.exec();
}

void MaintenanceMenus::defkonf_Click() {
    if (!prihlas())
        return;
    if (m_prompts.message(m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("GenerovatVychoziKonf")),
                          Prompts::Buttons::YesNo, Prompts::Icon::Question) != Prompts::Answer::Yes)
        return;
    if (Status st = PrepisVychoziKonfiguraci(m_state.config.gIniSoubor(), m_state.programFolder); !st)
        m_prompts.error(st.message());
}

void MaintenanceMenus::mnuStrav_Click() {
    if (!prihlas())
        return;
    m_prompts.message(m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ProvedZalohu")),
                      Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    // A deleted type takes its codes out of a running receipt: its file is rewritten as for every removal.
    frmStrav window(m_state, m_prompts, &m_window, [this] { m_logic.journal().obnov(*m_state.gColStrav); });
    window.exec();
}

void MaintenanceMenus::defSM_Click() {
    // A window hidden by "Zpět" comes back as it was left, unsaved changes included.
    if (!m_sm)
        m_sm = new frmSM(m_state.config, m_prompts);
    m_sm->show();
    m_sm->raise();
    m_sm->activateWindow();
}

void MaintenanceMenus::mnuMaska_Click() {
    frmMaska window(m_state.config, m_prompts, &m_window);
    window.exec();
}

void MaintenanceMenus::About_Click() {
    frmAbout window(m_state.config, m_shell, &m_window);
    window.exec();
}

bool MaintenanceMenus::prijemBezi() const {
    // The receipt's own state: also a receipt whose reader was lost runs until it is ended.
    return m_logic.control().receiptRuns();
}

bool MaintenanceMenus::PrepniSkener(bool on) {
    return m_logic.commands().PrepniSkener(on);
}

QString MaintenanceMenus::chybaCtecky() const {
    const std::optional<Error>& e = m_logic.commands().lastError();
    return e ? e->message : QString();
}

Status MaintenanceMenus::ulozKonfiguraciCtecky() {
    return m_logic.commands().UlozNastaveniCtecky();
}

bool MaintenanceMenus::softwZastavovani() const {
    return m_logic.readerState().gSoftwZastavovani;
}

void MaintenanceMenus::setSoftwZastavovani(bool on) {
    m_logic.readerState().gSoftwZastavovani = on;
}

void MaintenanceMenus::setPopisekRychleNabidky(int item, const QString& caption) {
    m_logic.view().setVerticalItemCaption(MainWindowView::Menu::vmnFast, item, caption);
}

void MaintenanceMenus::PopisPortu() {
    m_logic.view().setPortDescription(m_logic.portSetup().PopisPortu());
}

} // namespace trv
