#pragma once

#include "closing/ClosingWindowLogic.h"

#include <QDialog>

#include <filesystem>
#include <memory>

namespace trv {

namespace Ui {
class frmUkonceniPr;
}

// The closing window: the statement of the receipt just read, per company and nominal value, with the removal
// of NOREAD readings and repeated codes, printing, and the three ways to finish the receipt: save, AS400
// export, or leaving without saving.
class frmUkonceniPr final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmUkonceniPr)

public:
    // How the receipt was finished.
    enum class Konec {
        Otevreno,  // not yet closed (or loaded in sorting mode)
        Zavreno,   // Escape or the close box: nothing saved, nothing deleted, the receipt keeps running
        Ulozeno,   // btnUloz
        Vytisteno, // cmbTiskVyc: saved and printed
        As400,     // btnAS400
        Storno,    // btnVen
        Chyba,     // the safe-bag list of the load could not be written: the receipt keeps running
    };

    frmUkonceniPr(AppState& state, ReceiptInfo& receipt, Prompts& prompts, const Clock& clock, Printer& printer,
                  ClosingHooks hooks = {}, QWidget* parent = nullptr);
    ~frmUkonceniPr() override;

    // Loads the window for the receipt read into dayFile (its load steps run) and, unless sorting mode is on,
    // shows it modally until it closes.
    void Otevri(const std::filesystem::path& dayFile);
    // The load alone; false when the window closed itself (the safe-bag list failed).
    bool Form_Load(const std::filesystem::path& dayFile);

    Konec konec() const { return m_konec; }

    // Accepted exactly when the receipt ended (saved, exported, or discarded after the operator confirmed it);
    // Rejected when the operator left it running.
    void done(int r) override;
    void reject() override;

private:
    void naplnCmbStrav();
    void zobrazVycetku();
    StatementChoice volba() const;
    void zavri(Konec konec);

    void cmbStrav_Click();
    void btnNoRead_Click();
    void btnHlTady_Click();
    void btnHlVse_Click();
    void btnSmazObs_Click();
    void btnTiskSou_Click();
    void cmbTiskVyc_Click();
    void cmdExportSpol_Click();
    void btnVen_Click();
    void btnUloz_Click();
    void btnAS400_Click();

    std::unique_ptr<Ui::frmUkonceniPr> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    ClosingHooks m_hooks;
    UkonceniPrijmu m_logika;
    Konec m_konec = Konec::Otevreno;
    bool m_unloaded = false;
};

} // namespace trv
