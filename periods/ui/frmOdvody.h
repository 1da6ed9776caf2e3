#pragma once

#include "summaries/Deductions.h"

#include <QDialog>

#include <memory>

namespace trv {

class Shell;

namespace Ui {
class frmOdvody;
}

// The deductions window "Odvody stravenek": the codes of a date range (or of a package and week) are written into
// tickets.txt and the outside deduction program is started on it, for verifying or for deducting them. Shown
// without blocking; Konec closes it.
class frmOdvody final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmOdvody)

public:
    frmOdvody(const PeriodServices& services, Shell& shell, QWidget* parent = nullptr);
    ~frmOdvody() override;

private:
    void Form_Load();
    void pripravOdvody();
    void cmbStrav_Change();
    void cmdSpust_Click();
    void cmdOdvod_Click();
    void cmdEnd_Click();
    void balikUpDown_Change(int value);
    void tydenUpDown_Change(int value);

    std::unique_ptr<Ui::frmOdvody> m_ui;
    PeriodServices m_services;
    Shell& m_shell;
    bool m_vypocteno = false;
    bool m_overeni = false;
};

} // namespace trv
