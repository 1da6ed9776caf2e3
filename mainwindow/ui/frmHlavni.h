#pragma once

#include "mainwindow/ErrorLogSink.h"
#include "mainwindow/MainWindowView.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QButtonGroup;
class QLabel;
class QRadioButton;
class QScrollArea;
class QTimer;

namespace trv {

struct AppState;
class Clock;
class frmChyby;
class frmCounter;
class frmCounterPack;
class MainWindowLogic;
class MaintenanceMenus;
class Pause;
class Printer;
class Prompts;
class ReceiptWindows;
class ScannerPanel;
class SerialPort;
class Shell;
class WorkingWindowIndicator;

namespace scanner {
class ScannerDriver;
}
namespace Ui {
class frmHlavni;
}

// The main window: the menus, the two vertical menus, the voucher-type buttons, the display box of the
// current receipt and the status bar. It draws and forwards; the receipt, the reader and the saving live in
// MainWindowLogic.
//
// Status bar StatusBar1: panels StatusBar1Panel1 (receiving state, the bar green while receiving, red
// otherwise), StatusBar1Panel2 (the Ctrl+E mark "E"), StatusBar1Panel3 (the reader on or off),
// StatusBar1Panel4, StatusBar1Panel5 (the port). The voucher-type buttons are optT0, optT1, ... in fraTypy.
class frmHlavni final : public QMainWindow, private MainWindowView, private ErrorLogSink {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmHlavni)

public:
    struct Services {
        AppState& state;
        Prompts& prompts;
        const Clock& clock;
        SerialPort& port;
        Shell& shell;
        ReceiptWindows& windows;
        Pause& pause;
        Printer* printer = nullptr; // the summaries' prints; without one they are kept in memory
    };

    static constexpr int kPanelCount = 5;

    explicit frmHlavni(const Services& services, QWidget* parent = nullptr);
    ~frmHlavni() override;

    // Puts the language texts up and runs the load; the window is shown by it. False when the window was
    // closed again during the load (mode "AUT" could not start receiving).
    bool Form_Load();

    MainWindowLogic& logic() { return *m_logic; }
    // Shows at once what the view has pending (the display box and the counters follow the logic on a short
    // timer, so a fast reader costs one repaint per tick instead of one per chunk).
    void showPending();
    // The counter window of the current mode (frmCounter, or frmCounterPack in package mode).
    QWidget* counterWindow() const;
    // The cheque scanner the window uses when customer switch 26 asks for one; set before Form_Load.
    void setScannerDriver(scanner::ScannerDriver* driver) { m_scannerDriver = driver; }
    Shell& shell() const { return m_shell; }
    ScannerPanel* scannerPanel() const { return m_scanner.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Menu commands
    void prijem_Click();
    void konecpr_Click();
    void mnuRucne_Click();
    void soubory_Click();
    void najdiStrav_Click();
    void mnuTestDTR_Click();
    void mnuCRLF_Click();
    void mnuSendNoread_Click();
    void mnuSendExtCommand_Click();
    void createExportNowaco_Click();
    void runTeamViewer_Click();
    void regLibrary_Click();
    void ScanOn_Click();
    void ScanOff_Click();
    void konec_Click();
    void mnuSoucVycDen_Click();
    void mnuSoucVycObd_Click();
    void mnuOdvody_Click();
    // Vertical menus and voucher-type buttons
    void vmnNab_ItemClick(int item);
    void vmnFast_ItemClick(int item);
    void optT_Click(int index);
    // What the logic tells
    void receiptChanged(bool receiving);
    void scannerSwitched(bool on);
    // Panel 3 and the reader menu's marks: the last on/off text, or that the reader is gone.
    void showReaderState();
    void countersChanged();
    void packageChanged(bool withNumber);
    void displayAppended(const QString& chunk);
    void displayReplaced();

    void scheduleView();
    void showDisplayPending();
    void showCountersPending();
    QString shownText(QStringView text);
    void scannerMarks();
    void setTexts();
    void createCounterWindow();
    QAction* menuAction(MenuItem item) const;
    void form_KeyDown(int key);
    void form_KeyUp(int key);

    // MainWindowView
    void setMenuEnabled(MenuItem item, bool enabled) override;
    void setMenuVisible(MenuItem item, bool visible) override;
    void setVerticalItemCaption(Menu menu, int item, const QString& caption) override;
    void setFastMenuVisible(bool visible) override;
    void setScanButtonVisible(bool visible) override;
    void setPortDescription(const QString& text) override;
    void showTypeButtons(const std::vector<TypeButton>& buttons) override;
    void checkTypeButton(int index) override;
    void showCounterWindow() override;
    void hideCounterWindow() override;
    bool counterWindowShown() const override;
    void setBusy(bool busy) override;
    void setFileLabel(const QString& path) override;
    void showWindow() override;
    void closeWindow() override;
    void hideDisplayBox() override;
    int dlgNextPackage(const QString& caption, const QString& okCaption) override;

    // ErrorLogSink
    void PridejChybu(const QString& text) override;

    std::unique_ptr<Ui::frmHlavni> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    Shell& m_shell;
    std::array<QLabel*, kPanelCount> m_panels{};
    QLabel* m_statusBar2Panel1 = nullptr;
    QButtonGroup* m_optT = nullptr;
    QScrollArea* m_typesArea = nullptr;
    std::vector<QRadioButton*> m_typeButtons;
    QPointer<frmCounter> m_counter;
    QPointer<frmCounterPack> m_counterPack;
    QPointer<frmChyby> m_chyby;
    const Clock& m_clock;
    Printer* m_printer = nullptr;
    std::unique_ptr<Printer> m_ownPrinter;
    QPointer<QWidget> m_odvody;
    ReceiptWindows* m_windows = nullptr;
    std::unique_ptr<WorkingWindowIndicator> m_working;
    std::unique_ptr<MainWindowLogic> m_logic;
    MaintenanceMenus* m_maintenance = nullptr; // the settings, masks and other maintenance commands
    QTimer* m_viewTimer = nullptr;
    QString m_pendingDisplay;   // received text not yet in the display box
    bool m_displayReplaced = false;
    bool m_countersPending = false;
    bool m_shownEndsWithCr = false; // a CR shown as a line break: an LF right after it belongs to it
    qsizetype m_shownLineLength = 0;
    bool m_readerOn = true; // the design shows ScanOn checked
    QString m_readerText;   // the last on/off text written to panel 3
    bool m_readerGone = false;
    bool m_busy = false;
    bool m_unloaded = false;
    scanner::ScannerDriver* m_scannerDriver = nullptr;
    std::unique_ptr<ScannerPanel> m_scanner;
};

} // namespace trv
