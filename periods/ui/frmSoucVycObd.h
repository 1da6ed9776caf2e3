#pragma once

#include "summaries/PeriodFiles.h"
#include "summaries/PeriodState.h"
#include "summaries/PeriodWindowSetup.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>

class QAbstractButton;

namespace trv {

class PeriodLoader;
class Progress;
class ProgressWindow;
class Shell;
class Printer;
struct SmReportChoice;

namespace Ui {
class frmSoucVycObd;
}

// The period summary window: the operator picks a period (dates, SM or cash desk, operator, voucher type, package
// and week) and computes its totals, checks it for codes read twice or saves its codes as a ticket list. The
// period's collection and the window's state (`stav()`) are kept between operations. The period print (cmdPrint)
// prints the computed period; the reports per SM (cmdPrintSM, cmbZobrPrehleduSm) load the period on their own and
// leave the computed one as it was. The exports need the window's shell: cmdExportDel is enabled with one,
// cmdExport with one after a period has been loaded and while one voucher type is chosen. After a load that
// failed the print, the exports and the reports refuse until a load succeeds.
class frmSoucVycObd final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSoucVycObd)

public:
    struct Hooks {
        // Panel 1 of the main window's second status bar: the per-type sums of package/week mode.
        std::function<void(const QString&)> zobrazSoucty;
        // The shell the exports open their templates and programs with; without one the exports stay disabled.
        Shell* shell;
        // The program's printer for the period print and the reports per SM; without one the window keeps a
        // printer of its own.
        Printer* printer;
    };

    frmSoucVycObd(const PeriodServices& services, Hooks hooks = {}, QWidget* parent = nullptr);
    ~frmSoucVycObd() override;

    PeriodState& stav() { return m_stav; }
    // The filter controls as a period operation reads them.
    PeriodChoice volba() const;
    // Opens the file with the program the desktop associates with it (the shell's "open"); the outcome is not
    // looked at. Nothing happens without a shell.
    void OtevriPDF(const std::filesystem::path& file);

private:
    void Form_Load();
    void naplnCmbStrav();
    void setExportEnabled(bool enabled);
    void zobrazVysledek();
    // Runs a load with the hourglass and the progress window (the loader is told of it); a failure is shown in
    // the pane and told, and the per-type sums of the status bar go with the period. A load that succeeds takes
    // the failure text out of the pane. False when it failed or was cancelled.
    bool nactiHodinky(const std::function<Status(PeriodLoader&, ProgressWindow&)>& operation);
    // The window's services with the progress window of one load.
    PeriodServices sPrubehem(Progress& progress) const;
    // After a failed load: tells the operator that the period is not computed; true when the caller must stop.
    bool odmitnutoPoChybe();

    SmReportChoice volbaSM() const;
    Printer& tiskarna();
    // Ends the print job and says where it went; false when it failed.
    bool dokonciTisk();

    void cmdVyp_Click();
    void cmdPrint_Click();
    void cmdPrintSM_Click();
    void cmbZobrPrehleduSm_Click();
    void cmbDuplicity_Click();
    void cmdSaveTicketsAs_Click();
    void cmdEnd_Click();
    void cmdExport_Click();
    void cmdExportDel_Click();
    void cmbStrav_Click();
    void chkGroupByDay_Click();
    void chkNespojovatSM_Click();
    void balikUpDown_Change(int value);
    void tydenUpDown_Change(int value);
    void UpDPoradi_Change(int value);
    void UpDMesic_Change(int value);
    void UpDRok_Change(int value);

    std::unique_ptr<Ui::frmSoucVycObd> m_ui;
    PeriodServices m_services;
    Hooks m_hooks;
    PeriodState m_stav;
    std::unique_ptr<Printer> m_ownPrinter;
};

} // namespace trv
