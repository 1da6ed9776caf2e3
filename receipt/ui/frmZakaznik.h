#pragma once

#include "receipt/CustomerTable.h"

#include <QDialog>

#include <array>
#include <memory>

class QLineEdit;

namespace trv {

struct AppState;
class Prompts;

namespace Ui {
class frmZakaznik;
}

// "Zákazník": customer mode's customer table. The operator finds a customer (Enter in a box searches its
// column), clicks a row to load it, edits the boxes, maintains the table (add, save changes, delete, empty the
// table) and chooses the customer with OK. A row click already makes that customer the chosen one; OK confirms
// the boxes as they stand. A failed table operation is reported and the window stays usable.
class frmZakaznik final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmZakaznik)

public:
    frmZakaznik(AppState& state, Prompts& prompts, QWidget* parent = nullptr);
    ~frmZakaznik() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void naplnTypyStravenek();
    void naplnSeznamZakazniku();
    void showRows(const Result<std::vector<CustomerRecord>>& rows);
    void search(CustomerTable::Column column, QLineEdit* box);
    void lstZak_Click();
    void cmbStrav_Click(int index);
    void txtZakCislo_Click(int k);
    void cmbVyber_Click();
    void btnCreateTable_Click();
    // Asks whether to create the missing table, naming its file, and creates it on Yes.
    void zalozChybejiciTabulku();
    void vytvorTabulku();
    void cmbPridatZak_Click();
    void cmdSaveChanges_Click();
    void smdDel_Click();

    CustomerRecord record() const;
    void showRecord(const CustomerRecord& record, int partners);

    std::unique_ptr<Ui::frmZakaznik> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    CustomerTable m_table;
    std::array<QLineEdit*, 8> m_partners{};
};

} // namespace trv
