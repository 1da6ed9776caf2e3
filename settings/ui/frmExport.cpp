#include "settings/ui/frmExport.h"

#include "core/ConfigAccess.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "ui_frmExport.h"

namespace trv {

frmExport::frmExport(const Config& config, Prompts& prompts, const Clock& clock, Export exportDne, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmExport>()), m_config(config), m_prompts(prompts),
      m_export(std::move(exportDne)) {
    m_ui->setupUi(this);
    m_ui->txtDate->setText(dateYYMMDD(clock.today()));
    const QString section = QStringLiteral("frmExport");
    setWindowTitle(config.DejText(section, QStringLiteral("Caption")));
    m_ui->OKButton->setText(config.DejText(section, QStringLiteral("btnOK")));
    m_ui->CancelButton->setText(config.DejText(section, QStringLiteral("btnCancel")));
    connect(m_ui->OKButton, &QPushButton::clicked, this, &frmExport::OKButton_Click);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

frmExport::~frmExport() = default;

void frmExport::OKButton_Click() {
    const QString datum = m_ui->txtDate->text();
    if (!parseYYMMDD(datum)) {
        m_prompts.error(m_config.DejText(QStringLiteral("frmExport"), QStringLiteral("ChybnyFormatDat")));
        return;
    }
    // A failed export is told and the dialog stays, so the day can be tried again.
    if (Status st = m_export(datum); !st) {
        m_prompts.error(st.message());
        return;
    }
    accept();
}

} // namespace trv
