#include "periods/ui/frmSoucVycDen.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "periods/ui/DateField.h"
#include "periods/ui/SummaryWidgets.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "platform/ui/ProgressWindow.h"
#include "summaries/PeriodLoader.h"

#include "ui_frmSoucVycDen.h"

#include <QApplication>

namespace trv {

namespace {
const QString kSection = QStringLiteral("frmSoucVycDen");
}

frmSoucVycDen::frmSoucVycDen(const PeriodServices& services, Printer& printer, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmSoucVycDen>()), m_services(services), m_printer(printer),
      m_souhrn(services) {
    m_ui->setupUi(this);
    periodsui::setupResultBox(m_ui->rtbVyc);
    periodsui::setupDateField(m_ui->dt1, m_ui->Label1, m_services.prompts);
    connect(m_ui->cmdVyp, &QPushButton::clicked, this, &frmSoucVycDen::cmdVyp_Click);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &frmSoucVycDen::cmdPrint_Click);
    connect(m_ui->cmdEnd, &QPushButton::clicked, this, &frmSoucVycDen::cmdEnd_Click);
    Form_Load();
}

frmSoucVycDen::~frmSoucVycDen() = default;

void frmSoucVycDen::Form_Load() {
    const Config& config = m_services.state.config;
    m_ui->dt1->setDate(m_services.clock.today());
    // The list of types comes from the definitions, as every computation loads them (never the groups).
    const auto col = PeriodLoader(m_services).novaKolekce(false);
    if (!col.ok())
        m_services.prompts.error(col.message());
    else
        periodsui::fillTypes(m_ui->cmbStrav,
                             typeEntries(*col.value().types, config.DejText(kSection, QStringLiteral("Vsechny"))));
    const QString caption = config.DejText(kSection, QStringLiteral("Caption"));
    if (!caption.trimmed().isEmpty())
        setWindowTitle(caption);
    for (QWidget* control : {static_cast<QWidget*>(m_ui->Label1), static_cast<QWidget*>(m_ui->lblStrav),
                             static_cast<QWidget*>(m_ui->Label3), static_cast<QWidget*>(m_ui->cmdVyp),
                             static_cast<QWidget*>(m_ui->cmdPrint), static_cast<QWidget*>(m_ui->cmdEnd)})
        periodsui::setCaption(control, config, kSection);
}

void frmSoucVycDen::cmdVyp_Click() {
    Status done;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ProgressWindow progress(this, windowTitle());
        done = m_souhrn.vypocet({m_ui->dt1->date(), m_ui->txtSM->text(), m_ui->txtOper->text()}, &progress);
        QApplication::restoreOverrideCursor();
    }
    if (!done.ok()) {
        // The preview must not go on showing the previous day as if it were this one.
        m_ui->cmdPrint->setEnabled(false);
        periodsui::showText(m_ui->rtbVyc, QStringLiteral("Výpočet součtů se nezdařil.\r\n") + done.message());
        m_services.prompts.error(done.message());
        return;
    }
    periodsui::showText(m_ui->rtbVyc, m_souhrn.nahled(periodsui::chosenTypes(m_ui->cmbStrav)));
    m_ui->cmdPrint->setEnabled(true);
}

void frmSoucVycDen::cmdPrint_Click() {
    const Config& config = m_services.state.config;
    const auto printed = m_souhrn.vytiskni(m_printer, periodsui::chosenTypes(m_ui->cmbStrav), m_services.clock.now());
    if (!printed.ok()) {
        m_services.prompts.error(config.DejText(kSection, QStringLiteral("ChybaTisku")) + QStringLiteral("\r\n") +
                                 printed.message());
        return;
    }
    if (!printed.value().pdfFile.empty()) {
        m_services.prompts.info(config.DejText(kSection, QStringLiteral("TiskDoSouboru")) +
                                TextFiles::toQString(printed.value().pdfFile));
        return;
    }
    m_services.prompts.info(config.DejText(kSection, QStringLiteral("ProbTiskSouc")));
}

void frmSoucVycDen::cmdEnd_Click() {
    accept();
}

} // namespace trv
