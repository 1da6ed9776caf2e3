#pragma once

#include "closing/CheckStatementLogic.h"

#include <QDialog>

#include <memory>

namespace trv {

namespace Ui {
class frmKontrVyc;
}

// The check statement: what the receipt holds so far, per company and nominal value, while reading goes on.
// The operator deletes a code or the codes of one nominal value, prints, and goes on to closing (1) or back to
// reading (2). In package mode it is the statement of the current package, without the way on to closing.
class frmKontrVyc final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmKontrVyc)

public:
    enum Vysledek : qint32 { Zavreno = 0, UkoncitPrijem = 1, Zpet = 2 };

    frmKontrVyc(AppState& state, const ReceiptInfo& receipt, Prompts& prompts, const Clock& clock, Printer& printer,
                ClosingHooks hooks = {}, QWidget* parent = nullptr);
    ~frmKontrVyc() override;

    // Removes NOREAD readings and repeated codes, shows the statement modally and returns the operator's choice.
    qint32 Start();

private:
    void Form_Load();
    void naplnCmbStrav();
    void zobrazKontrolniVycetku();
    void cmdSmazStrav_Click();
    void cmdSmazNominal_Click();
    void cmdTisk_Click();
    void cmdUkonci_Click();
    void cmdZpet_Click();

    std::unique_ptr<Ui::frmKontrVyc> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    KontrolniVycetka m_logika;
    qint32 m_vysledek = Zavreno;
};

} // namespace trv
