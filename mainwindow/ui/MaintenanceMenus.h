#pragma once

#include "settings/ServisHost.h"

#include <QObject>
#include <QPointer>

namespace trv {

struct AppState;
class frmHlavni;
class frmSM;
class MainWindowLogic;
class Prompts;
class Shell;

// The main window's maintenance commands: the settings window, the default configuration and the
// voucher-type editor behind the password, the SM list, the masks and the about box. It finds its menu items
// in the window by name, and serves the settings window as its view of the main window and the reader.
class MaintenanceMenus final : public QObject, private ServisHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MaintenanceMenus)

public:
    MaintenanceMenus(frmHlavni& window, AppState& state, Prompts& prompts, Shell& shell, MainWindowLogic& logic);
    ~MaintenanceMenus() override;

    void nastpr_Click();
    void defkonf_Click();
    void mnuStrav_Click();
    void defSM_Click();
    void mnuMaska_Click();
    void About_Click();

private:
    bool prihlas();

    // ServisHost
    bool prijemBezi() const override;
    bool PrepniSkener(bool on) override;
    QString chybaCtecky() const override;
    Status ulozKonfiguraciCtecky() override;
    bool softwZastavovani() const override;
    void setSoftwZastavovani(bool on) override;
    void setPopisekRychleNabidky(int item, const QString& caption) override;
    void PopisPortu() override;

    frmHlavni& m_window;
    AppState& m_state;
    Prompts& m_prompts;
    Shell& m_shell;
    MainWindowLogic& m_logic;
    QPointer<frmSM> m_sm;
};

} // namespace trv
