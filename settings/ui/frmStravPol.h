#pragma once

#include "settings/VoucherTypeEditor.h"

#include <QDialog>

#include <memory>

namespace trv {

struct AppState;
class CStrav;
class Prompts;

namespace Ui {
class frmStravPol;
}

// The fourteen fields of one voucher type. OK checks every box first; a box at fault is named in a message
// and the dialog stays open.
class frmStravPol final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmStravPol)

public:
    frmStravPol(AppState& state, Prompts& prompts, QWidget* parent = nullptr);
    ~frmStravPol() override;

    // 1 when the type was changed by OK, 2 when left by "Zpět" or the close box.
    int AddStrav(CStrav& type);
    int EditStrav(CStrav& type);

private:
    void NactiStrav(const StravPolozky& p);
    StravPolozky polozky() const;
    void cmdOK_Click();
    int spust(CStrav& type);

    std::unique_ptr<Ui::frmStravPol> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    CStrav* m_type = nullptr;
    int m_result = 2;
};

} // namespace trv
