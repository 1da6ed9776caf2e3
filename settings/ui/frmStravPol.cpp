#include "settings/ui/frmStravPol.h"

#include "core/AppState.h"
#include "core/CStrav.h"
#include "platform/Prompts.h"
#include "platform/ui/ControlText.h"
#include "ui_frmStravPol.h"

#include <QGroupBox>

namespace trv {

frmStravPol::frmStravPol(AppState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmStravPol>()), m_state(state), m_prompts(prompts) {
    m_ui->setupUi(this);
    const bool provize = state.sw.gFTiskSM;
    m_ui->Label7->setVisible(provize);
    m_ui->txtProvize->setVisible(provize);
    m_ui->Label8->setVisible(provize);
    m_ui->txtDPH->setVisible(provize);
    const QString section = QStringLiteral("frmStravPol");
    for (const char* name : {"fraZakl", "Label1", "Label6", "Label9", "Label2", "Label3", "Label4", "Label5", "Label7",
                             "Label8", "fraExp", "chkExport", "lblPrip", "lblExpTyp", "cmdOK", "cmdCancel"}) {
        setControlText(findChild<QWidget*>(QLatin1String(name)), state.config.DejText(section, QLatin1String(name)));
    }
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmStravPol::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmStravPol::~frmStravPol() = default;

int frmStravPol::AddStrav(CStrav& type) {
    setWindowTitle(m_state.config.DejText(QStringLiteral("frmStravPol"), QStringLiteral("novyTyp")));
    NactiStrav(VoucherTypeEditor::novePolozky());
    return spust(type);
}

int frmStravPol::EditStrav(CStrav& type) {
    setWindowTitle(m_state.config.DejText(QStringLiteral("frmStravPol"), QStringLiteral("uprava")));
    NactiStrav(VoucherTypeEditor::polozky(type));
    return spust(type);
}

int frmStravPol::spust(CStrav& type) {
    m_result = 2;
    m_type = &type;
    exec();
    m_type = nullptr;
    return m_result;
}

void frmStravPol::NactiStrav(const StravPolozky& p) {
    m_ui->txtNazev->setText(p.nazev);
    m_ui->txtDelka->setText(p.delka);
    m_ui->txtDelka2->setText(p.delka2);
    m_ui->txtPozRok->setText(p.pozRok);
    m_ui->txtPozCastka->setText(p.pozCastka);
    m_ui->txtDelkaCastka->setText(p.delkaCastka);
    m_ui->txtKoef->setText(p.koef);
    m_ui->chkIL->setChecked(p.checkIL);
    m_ui->chkExport->setChecked(p.exportDat);
    m_ui->txtPrip->setText(p.pripona);
    m_ui->txtPath->setText(p.cesta);
    m_ui->txtExpTyp->setText(p.expTyp);
    m_ui->txtProvize->setText(p.provize);
    m_ui->txtDPH->setText(p.dph);
}

StravPolozky frmStravPol::polozky() const {
    StravPolozky p;
    p.nazev = m_ui->txtNazev->text();
    p.delka = m_ui->txtDelka->text();
    p.delka2 = m_ui->txtDelka2->text();
    p.pozRok = m_ui->txtPozRok->text();
    p.pozCastka = m_ui->txtPozCastka->text();
    p.delkaCastka = m_ui->txtDelkaCastka->text();
    p.koef = m_ui->txtKoef->text();
    p.checkIL = m_ui->chkIL->isChecked();
    p.exportDat = m_ui->chkExport->isChecked();
    p.pripona = m_ui->txtPrip->text();
    p.cesta = m_ui->txtPath->text();
    p.expTyp = m_ui->txtExpTyp->text();
    p.provize = m_ui->txtProvize->text();
    p.dph = m_ui->txtDPH->text();
    return p;
}

void frmStravPol::cmdOK_Click() {
    if (m_type == nullptr)
        return;
    if (Status st = VoucherTypeEditor::uloz(polozky(), *m_type); !st) {
        m_prompts.error(st.message());
        return;
    }
    m_result = 1;
    accept();
}

} // namespace trv
