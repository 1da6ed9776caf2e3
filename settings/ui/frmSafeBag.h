#pragma once

#include <QDialog>

#include <memory>

namespace trv {

struct AppState;
class Prompts;
enum class PracovniRezim;

namespace Ui {
class frmSafeBag;
}

// The working-mode choice before a receipt: cash desk, daily safe bag or collected safe bag. A button sets the
// mode and its data folder and closes the window; closing it otherwise keeps the mode as it was.
class frmSafeBag final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSafeBag)

public:
    frmSafeBag(AppState& state, Prompts& prompts, QWidget* owner = nullptr);
    ~frmSafeBag() override;

private:
    void cmdPokladni_Click();
    void cmdDennySafeBag_Click();
    void cmdSafeBag_Click();
    void zvol(PracovniRezim rezim);

    std::unique_ptr<Ui::frmSafeBag> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
};

} // namespace trv
