#pragma once

#include "receipt/ChequeEntry.h"

#include <QDialog>

#include <memory>

class QLineEdit;

namespace trv {

namespace Ui {
class frmRucneCheque;
}

// Cheque entry by hand, one cheque at a time while a receipt is read: the whole code read into one field with
// a hand scanner (checked on its 22nd character), or its printed fields typed on the keyboard, the check keys
// worked out. Only digits reach the fields; Enter in a keyboard field moves to the next one. Nothing in the
// program opens it yet.
class frmRucneCheque final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmRucneCheque)

public:
    frmRucneCheque(AppState& state, Prompts& prompts, ReceiptHost& host, QWidget* parent = nullptr);
    ~frmRucneCheque() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void vymazPole();
    void opt1_Click(bool checked);
    void opt2_Click(bool checked);
    void txtKod_Change();
    void cmdDalsi_Click();
    void cmdKonec_Click();
    bool txtCislo_Validate();
    void txtHodnota_Validate();
    void refuse(const ChequeEntry::Outcome& outcome);

    std::unique_ptr<Ui::frmRucneCheque> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    ChequeEntry m_entry;
};

} // namespace trv
