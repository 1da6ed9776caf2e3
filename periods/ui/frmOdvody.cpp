#include "periods/ui/frmOdvody.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "periods/ui/SummaryWidgets.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/ui/ProgressWindow.h"
#include "summaries/PeriodLoader.h"

#include "periods/ui/DateField.h"
#include "ui_frmOdvody.h"

#include <QApplication>

namespace trv {

namespace {
const QString kSection = QStringLiteral("frmOdvody");
}

frmOdvody::frmOdvody(const PeriodServices& services, Shell& shell, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmOdvody>()), m_services(services), m_shell(shell) {
    m_ui->setupUi(this);
    periodsui::setupDateField(m_ui->dt1, m_ui->Label1, m_services.prompts);
    periodsui::setupDateField(m_ui->dt2, m_ui->Label2, m_services.prompts);
    connect(m_ui->cmbStrav, &QComboBox::currentTextChanged, this, &frmOdvody::cmbStrav_Change);
    connect(m_ui->cmdSpust, &QPushButton::clicked, this, &frmOdvody::cmdSpust_Click);
    connect(m_ui->cmdOdvod, &QPushButton::clicked, this, &frmOdvody::cmdOdvod_Click);
    connect(m_ui->cmdEnd, &QPushButton::clicked, this, &frmOdvody::cmdEnd_Click);
    connect(m_ui->balikUpDown, &QSpinBox::valueChanged, this, &frmOdvody::balikUpDown_Change);
    connect(m_ui->tydenUpDown, &QSpinBox::valueChanged, this, &frmOdvody::tydenUpDown_Change);
    Form_Load();
}

frmOdvody::~frmOdvody() = default;

void frmOdvody::Form_Load() {
    const QDate today = m_services.clock.today();
    m_ui->dt1->setDate(today);
    m_ui->dt2->setDate(today);
    const auto col = PeriodLoader(m_services).novaKolekce(m_services.state.sw.gFSkupiny);
    if (!col.ok()) {
        m_services.prompts.error(col.message());
        return;
    }
    periodsui::fillTypes(m_ui->cmbStrav, typeEntries(*col.value().types, m_services.state.config.DejText(
                                                                             kSection, QStringLiteral("Vsechny"))));
}

void frmOdvody::cmbStrav_Change() {
    m_ui->cmdSpust->setEnabled(m_ui->cmbStrav->currentText() !=
                                   m_services.state.config.DejText(kSection, QStringLiteral("Vsechny")) &&
                               m_vypocteno);
}

void frmOdvody::pripravOdvody() {
    m_vypocteno = true;
    if (m_ui->cmbStrav->currentText() != m_services.state.config.DejText(kSection, QStringLiteral("Vsechny")))
        m_ui->cmdSpust->setEnabled(true);
    m_ui->txtBalik->setText(m_ui->txtBalik->text().trimmed());
    m_ui->txtTyden->setText(m_ui->txtTyden->text().trimmed());
    PeriodChoice choice;
    choice.datumOd = m_ui->dt1->date();
    choice.datumDo = m_ui->dt2->date();
    choice.sm = m_ui->txtSM->text();
    choice.oper = m_ui->txtOper->text();
    choice.txtBalik = m_ui->txtBalik->text();
    choice.txtTyden = m_ui->txtTyden->text();
    // Item data 0 lists all types; a typed text that is no entry names the types of that name.
    const int entry = m_ui->cmbStrav->findText(m_ui->cmbStrav->currentText());
    const TypeChoice types = entry >= 0 && m_ui->cmbStrav->itemData(entry).toInt() == 0
                                 ? TypeChoice{}
                                 : TypeChoice{false, m_ui->cmbStrav->currentText()};
    Status done;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // The load and the write of tickets.txt in the progress window of the period window, with its cancel.
        ProgressWindow progress(this, windowTitle());
        PeriodServices services = m_services;
        services.progress = &progress;
        done = Deductions(services, m_shell).pripravOdvody(choice, types, m_overeni, [&progress] {
            progress.setStepText(periodsui::stepTextCodesWritten());
        });
        QApplication::restoreOverrideCursor();
    }
    if (!done.ok())
        m_services.prompts.error(done.message());
}

void frmOdvody::cmdSpust_Click() {
    m_overeni = true;
    pripravOdvody();
}

void frmOdvody::cmdOdvod_Click() {
    m_overeni = false;
    pripravOdvody();
}

void frmOdvody::cmdEnd_Click() {
    close();
}

void frmOdvody::balikUpDown_Change(int value) {
    m_ui->txtBalik->setText(QString::number(value));
}

void frmOdvody::tydenUpDown_Change(int value) {
    m_ui->txtTyden->setText(QString::number(value));
}

} // namespace trv
