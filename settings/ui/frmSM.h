#pragma once

#include <QWidget>

#include <memory>

namespace trv {

class Config;
class Prompts;

namespace Ui {
class frmSM;
}

// The editor of the list of valid SMs ([Data] SM), non-modal. "Zpět" asks whether to save and only hides the
// window, which keeps its list (unsaved changes too) for the next opening; the close box asks the same and
// releases the window, so the next opening reads the configuration again.
class frmSM final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSM)

public:
    frmSM(const Config& config, Prompts& prompts, QWidget* parent = nullptr);
    ~frmSM() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void cmdAdd_Click();
    void txtSM_Enter();
    void cmdDel_Click();
    void cmdCancel_Click();
    void pridej(const QString& text);
    bool ulozPoOtazce(const QString& title);

    std::unique_ptr<Ui::frmSM> m_ui;
    const Config& m_config;
    Prompts& m_prompts;
};

} // namespace trv
