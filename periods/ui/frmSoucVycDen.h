#pragma once

#include "summaries/DaySummary.h"

#include <QDialog>

#include <memory>

namespace trv {

class Printer;

namespace Ui {
class frmSoucVycDen;
}

// The daily summary window: the statement files of one day, optionally of some SMs and one operator, totalled per
// voucher type and face value, shown and printed.
class frmSoucVycDen final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSoucVycDen)

public:
    frmSoucVycDen(const PeriodServices& services, Printer& printer, QWidget* parent = nullptr);
    ~frmSoucVycDen() override;

private:
    void Form_Load();
    void cmdVyp_Click();
    void cmdPrint_Click();
    void cmdEnd_Click();

    std::unique_ptr<Ui::frmSoucVycDen> m_ui;
    PeriodServices m_services;
    Printer& m_printer;
    DaySummary m_souhrn;
};

} // namespace trv
