#pragma once

#include "settings/VoucherTypeEditor.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCloseEvent;

namespace trv {

struct AppState;
class CStrav;
class Prompts;

namespace Ui {
class frmStrav;
}

// The voucher-type editor: the types of the running program's collection, added, changed on a copy and
// deleted at once; after a change "Zpět" asks whether to write them to the definition file.
class frmStrav final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmStrav)

public:
    // `kodyOdebrany` runs after a deleted type took its codes out of memory: the owner of a running receipt
    // brings the receipt's file in line, so that a crash cannot bring the codes back.
    frmStrav(AppState& state, Prompts& prompts, QWidget* parent = nullptr, std::function<void()> kodyOdebrany = {});
    ~frmStrav() override;

private:
    void NaplnSeznam();
    std::shared_ptr<CStrav> vybrany() const;
    void cmdAdd_Click();
    void cmdEdir_Click();
    void cmdDel_Click();
    void cmdCancel_Click();

    std::unique_ptr<Ui::frmStrav> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
    std::function<void()> m_kodyOdebrany;
    bool m_zmeneno = false;
};

} // namespace trv
