#pragma once

#include "receipt/ReceiptStart.h"
#include "receipt/ui/ReceiptFileChoice.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace trv {

namespace Ui {
class frmPrijem;
}

// "Příjem dat": starts a receipt outside statement mode. The operator names a new day data file by date,
// cash desk and order, or chooses an existing one to append to, or reads into Barcode.txt; the dialog then
// switches the reader on and opens the port through the main window and closes. All its texts are fixed.
//
// exec() returns Accepted when a receipt was started. When the dialog cannot open (the configuration lacks
// the data folder) it has said so while being constructed, and exec() returns Rejected at once.
class frmPrijem final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmPrijem)

public:
    frmPrijem(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host, QWidget* parent = nullptr);
    ~frmPrijem() override;

    bool loaded() const { return m_loaded; }
    int exec() override;
    // Appending to this file of the list, chosen and started as the operator would choose and start it. False
    // when the dialog is still to be shown: the file is not listed (nothing chosen), or the start was refused
    // (the operator was told; the append stays chosen). True when the start ended the dialog, started or failed.
    bool startAppend(const QString& fileName);

private:
    void Form_Load();
    void btnPrijem_Click();
    void btnVen_Click();
    void optNovy_Click(bool checked);
    void optPrid_Click(bool checked);
    void optBarC_Click(bool checked);
    void txtSoubor_Change();
    void listDataS_Click();
    void flbDataS_Click();
    void cmbTypSeku_Click(int index);

    ReceiptFileChoice fileChoice() const;
    ReceiptStartInput input() const;

    std::unique_ptr<Ui::frmPrijem> m_ui;
    Prompts& m_prompts;
    ReceiptStart m_start;
    QString m_fakturaSoubor; // the file field as the dialog opened, given back when "Faktura" is chosen
    bool m_loaded = false;
};

} // namespace trv
