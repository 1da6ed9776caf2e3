#pragma once

#include <QDialog>

#include <memory>

namespace trv {

struct AppState;
class Prompts;

namespace Ui {
class frmLoginService;
}

// The maintenance password prompt. Opening it clears the settings-access flag; OK (or Enter in the box) sets
// it when the password is right, else shows the refusal; either way the prompt closes. The caller reads
// AppState::gServisLogin afterwards.
class frmLoginService final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmLoginService)

public:
    frmLoginService(AppState& state, Prompts& prompts, QWidget* parent = nullptr);
    ~frmLoginService() override;

    // Loads, shows modal, and tells whether access was granted.
    static bool prihlas(AppState& state, Prompts& prompts, QWidget* parent);

private:
    void Command1_Click();

    std::unique_ptr<Ui::frmLoginService> m_ui;
    AppState& m_state;
    Prompts& m_prompts;
};

} // namespace trv
