#include "settings/ui/frmLoginService.h"

#include "core/AppState.h"
#include "platform/Prompts.h"
#include "settings/ServisPassword.h"
#include "ui_frmLoginService.h"

namespace trv {

frmLoginService::frmLoginService(AppState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmLoginService>()), m_state(state), m_prompts(prompts) {
    m_ui->setupUi(this);
    m_state.gServisLogin = false;
    const QString section = QStringLiteral("frmLoginHeslo");
    setWindowTitle(state.config.DejText(section, QStringLiteral("Caption")));
    m_ui->Label1->setText(state.config.DejText(section, QStringLiteral("Label1")));
    m_ui->Command1->setText(state.config.DejText(section, QStringLiteral("Command1")));
    // Enter in the box is the OK button: it is the dialog's default button.
    connect(m_ui->Command1, &QPushButton::clicked, this, &frmLoginService::Command1_Click);
    m_ui->Text1->setFocus();
}

frmLoginService::~frmLoginService() = default;

bool frmLoginService::prihlas(AppState& state, Prompts& prompts, QWidget* parent) {
    frmLoginService dialog(state, prompts, parent);
    dialog.exec();
    return state.gServisLogin;
}

void frmLoginService::Command1_Click() {
    m_state.gServisLogin = overServisHeslo(m_ui->Text1->text());
    if (!m_state.gServisLogin)
        m_prompts.error(m_state.config.DejText(QStringLiteral("frmLoginHeslo"), QStringLiteral("ChybneHeslo")));
    close();
}

} // namespace trv
