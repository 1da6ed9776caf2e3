#pragma once

#include "settings/ServisSettings.h"

#include <QDialog>

#include <array>
#include <memory>

class QAbstractButton;
class QKeyEvent;
class QLineEdit;

namespace trv {

struct AppState;
class Prompts;
class ServisHost;
class Shell;

namespace Ui {
class frmServis;
}

// The settings window: folders, the reader's port and commands, the mask buttons, the working mode, the
// clean-up switches, the validity years and the voucher-number ranges. Switches reach the running program as
// they change; the configuration file is written by btnUloz only. Shown modal after the password prompt.
class frmServis final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmServis)

public:
    frmServis(AppState& state, Prompts& prompts, Shell& shell, ServisHost& host, QWidget* parent = nullptr);
    ~frmServis() override;

    // Every way of closing (Zavři, after saving, Escape, the close box) ends here once.
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void setTexts();
    void maskChecked(int n, bool on);
    void btnUloz_Click();
    void btnVen_Click();
    void btnScanOn_Click();
    void btnScanOFF_Click();
    void btnUlozNast_Click();
    void btnOMenu_Click();
    void ListTypSeku_Click();
    void txtSoubHodnota_Change();
    void chooseFolder(QLineEdit* box);
    bool txtRok_Validate(int n);
    bool txtPovolitDo_Validate(int n);
    QAbstractButton* option(const QString& name) const;
    ServisSettings::Ulozeni controls() const;
    std::array<QLineEdit*, 5> yearBoxes() const;
    std::array<QLineEdit*, 5> dateBoxes() const;
    QStringList validityTexts() const;
    bool changed() const;
    // Brings the box's page to the front and puts the focus there.
    void showBox(QLineEdit* box);
    // Checks the boxes and writes what changed; false when a box holds a value that cannot be saved (the
    // operator has been told and the focus is on that box) or the operator chose to keep editing.
    bool save();

    std::unique_ptr<Ui::frmServis> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    Shell& m_shell;
    ServisHost& m_host;
    bool m_softwZastavovani = false;
    bool m_unloaded = false;
    // The pending port settings and the next document number, as the option buttons and the box left them.
    QString mPosledniCislo, mBaudRate, mHShaking, mParita, mStopBity, mDatoveBity;
    bool m_kindChosen = false;
    // What the window would write right after its load: a save writes only what differs from it.
    QList<ServisSettings::Zapis> m_loaded;
    QStringList m_loadedValidity;
};

} // namespace trv
