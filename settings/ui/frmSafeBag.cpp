#include "settings/ui/frmSafeBag.h"

#include "core/AppState.h"
#include "platform/Prompts.h"
#include "settings/WorkingMode.h"
#include "ui_frmSafeBag.h"

namespace trv {

namespace {

void colour(QPushButton* button, const QColor& c) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, c);
    button->setPalette(palette);
    button->setAutoFillBackground(true);
}

} // namespace

frmSafeBag::frmSafeBag(AppState& state, Prompts& prompts, QWidget* owner)
    : QDialog(owner), m_ui(std::make_unique<Ui::frmSafeBag>()), m_state(state), m_prompts(prompts) {
    m_ui->setupUi(this);
    colour(m_ui->cmdDennySafeBag, QColor(255, 192, 128));
    colour(m_ui->cmdSafeBag, QColor(192, 192, 255));
    setTabOrder(m_ui->cmdPokladni, m_ui->cmdSafeBag);
    setTabOrder(m_ui->cmdSafeBag, m_ui->cmdDennySafeBag);
    connect(m_ui->cmdPokladni, &QPushButton::clicked, this, &frmSafeBag::cmdPokladni_Click);
    connect(m_ui->cmdDennySafeBag, &QPushButton::clicked, this, &frmSafeBag::cmdDennySafeBag_Click);
    connect(m_ui->cmdSafeBag, &QPushButton::clicked, this, &frmSafeBag::cmdSafeBag_Click);
}

frmSafeBag::~frmSafeBag() = default;

void frmSafeBag::cmdPokladni_Click() {
    zvol(PracovniRezim::Pokladni);
}

void frmSafeBag::cmdDennySafeBag_Click() {
    zvol(PracovniRezim::DennySafeBag);
}

void frmSafeBag::cmdSafeBag_Click() {
    zvol(PracovniRezim::SafeBag);
}

void frmSafeBag::zvol(PracovniRezim rezim) {
    if (Status st = zvolRezim(m_state, rezim); !st) {
        // The mode stays as it was; the operator may choose another or close the window.
        m_prompts.error(st.message());
        return;
    }
    accept();
}

} // namespace trv
