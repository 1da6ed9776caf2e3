#pragma once

#include "core/ReceiptRecord.h"
#include "receipt/PackageNumbering.h"
#include "receipt/SmReceiptStart.h"
#include "receipt/ui/ReceiptFileChoice.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class QKeyEvent;

namespace trv {

namespace Ui {
class frmPrijemSec;
}

// "Příjem dat" of statement mode (customer switch 10): starts a receipt named by date, SM, operator and order
// (with package and week, or with the hand-over date, as the customer switches say), appends to a listed file,
// reads into Barcode.txt or a package file, or starts the sorting mode. In package/week mode it also steps the
// package number of each voucher type and the week. In customer mode it first lets the operator choose the
// customer, whose number becomes the SM.
//
// exec() returns Accepted when a receipt was started. When the dialog cannot open it has said so while being
// constructed, and exec() returns Rejected at once.
class frmPrijemSec final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmPrijemSec)

public:
    frmPrijemSec(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host, QWidget* parent = nullptr);
    ~frmPrijemSec() override;

    bool loaded() const { return m_loaded; }
    int exec() override;
    // Appending to this file of the list, chosen and started as the operator would choose and start it. False
    // when the dialog is still to be shown: the file is not listed (nothing chosen), or the start was refused
    // (the operator was told; the append stays chosen). True when the start ended the dialog, started or failed.
    // In depot mode the receipt's ids fill the depot, envelope and invoice boxes.
    bool startAppend(const QString& fileName, const ReceiptRecord::Ids& ids = {});

    // The hand-over date proposed for today, put into dtDek.
    QDate VypocitejPerioduDelvity(const QDate& today);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void btnPrijem_Click();
    void btnVen_Click();
    void chkSorting_Click(bool checked);
    void cmbTypSeku_Click(int index);
    void optNovy_Click(bool checked);
    void optPrid_Click(bool checked);
    void optBarC_Click(bool checked);
    void txtSoubor_Change();
    void listDataS_Click();
    void flbDataS_Click();
    void cmbTypStravBalik_Click(int index);
    void UpDownBalik_Change(int value);
    void UpDownTyden_Change(int value);
    void setTexts();
    ReceiptFileChoice fileChoice() const;
    void enableSortingControls(bool enabled);
    SmReceiptInput input() const;

    std::unique_ptr<Ui::frmPrijemSec> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    const Clock& m_clock;
    SmReceiptStart m_start;
    PackageNumbering m_numbering;
    QString m_datumPriNacteni; // the date and SM fields as the set-up left them, given back for "Faktura"
    int m_balikSpinner = 1;    // the spinners' values before a click, to tell up from down
    int m_tydenSpinner = 1;
    bool m_loaded = false;
};

} // namespace trv
