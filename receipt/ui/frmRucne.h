#pragma once

#include "receipt/ManualEntry.h"

#include <QDialog>

#include <memory>

class QKeyEvent;

namespace trv {

struct AppState;
class Prompts;
class ReceiptHost;

namespace Ui {
class frmRucne;
}

// Manual entry of voucher codes the reader could not read. The operator chooses the voucher type (the one
// chosen on the main window to begin with) and types the code; only digits reach the box, and the code is
// submitted by itself once it has the type's length. A code that passes the checks is booked into the receipt
// and added to the main window's receipt box; the window stays open for the next code until it is closed.
class frmRucne final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmRucne)

public:
    frmRucne(AppState& state, Prompts& prompts, ReceiptHost& host, QWidget* parent = nullptr);
    ~frmRucne() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load(int chosenType);
    void cmbTypStr_Click(int index);
    bool txtKod_KeyPress(QKeyEvent* event); // true: the key is consumed
    void txtKod_Change();
    void cmdDalsi_Click();
    void cmdKonec_Click();
    void typeAgain();

    std::unique_ptr<Ui::frmRucne> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    ManualEntry m_entry;
};

} // namespace trv
