#include "closing/ui/frmKontrVyc.h"

#include "closing/ui/ClosingWidgets.h"
#include "core/AppState.h"
#include "platform/Prompts.h"

#include "ui_frmKontrVyc.h"

namespace trv {

namespace {
const QString kSection = QStringLiteral("frmKontrVyc");
}

frmKontrVyc::frmKontrVyc(AppState& state, const ReceiptInfo& receipt, Prompts& prompts, const Clock& clock,
                         Printer& printer, ClosingHooks hooks, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmKontrVyc>()), m_state(state), m_prompts(prompts),
      m_logika(state, receipt, prompts, clock, printer, std::move(hooks)) {
    m_ui->setupUi(this);
    closingui::setupStatementBox(m_ui->rtbVyc);
    connect(m_ui->cmdSmazStrav, &QPushButton::clicked, this, &frmKontrVyc::cmdSmazStrav_Click);
    connect(m_ui->cmdSmazNominal, &QPushButton::clicked, this, &frmKontrVyc::cmdSmazNominal_Click);
    connect(m_ui->cmdTisk, &QPushButton::clicked, this, &frmKontrVyc::cmdTisk_Click);
    connect(m_ui->cmdUkonci, &QPushButton::clicked, this, &frmKontrVyc::cmdUkonci_Click);
    connect(m_ui->cmdZpet, &QPushButton::clicked, this, &frmKontrVyc::cmdZpet_Click);
    Form_Load();
}

frmKontrVyc::~frmKontrVyc() = default;

void frmKontrVyc::Form_Load() {
    naplnCmbStrav();
    const bool balicek = m_state.sw.gFBalicky;
    m_ui->cmdUkonci->setVisible(!balicek);
    // Enter goes on to closing; in package mode, where that way is hidden, back to reading.
    (balicek ? m_ui->cmdZpet : m_ui->cmdUkonci)->setDefault(true);
    if (balicek) {
        setWindowTitle(QStringLiteral("Tisk balíčku"));
    } else {
        const QString caption = closingui::languageText(m_state.config, kSection, QStringLiteral("Caption"));
        if (!caption.trimmed().isEmpty())
            setWindowTitle(caption);
    }
    for (QWidget* control : {static_cast<QWidget*>(m_ui->lblStrav), static_cast<QWidget*>(m_ui->cmdUkonci),
                             static_cast<QWidget*>(m_ui->cmdSmazStrav), static_cast<QWidget*>(m_ui->cmdSmazNominal),
                             static_cast<QWidget*>(m_ui->cmdTisk), static_cast<QWidget*>(m_ui->cmdZpet)})
        closingui::setCaption(control, m_state.config, kSection);
}

void frmKontrVyc::naplnCmbStrav() {
    closingui::fillCompanies(m_ui->cmbStrav, m_logika.polozkyVyberu());
    m_ui->cmbStrav->setCurrentIndex(0);
}

qint32 frmKontrVyc::Start() {
    if (const auto status = m_logika.vyhodNoread())
        m_ui->staBar->showMessage(*status);
    m_logika.souctyBaliku();
    zobrazKontrolniVycetku();
    exec();
    return m_vysledek;
}

void frmKontrVyc::zobrazKontrolniVycetku() {
    const auto text = m_logika.vycetka();
    if (!text.ok()) {
        m_ui->rtbVyc->clear();
        m_prompts.error(text.message());
        return;
    }
    closingui::showStatement(m_ui->rtbVyc, text.value());
}

void frmKontrVyc::cmdSmazStrav_Click() {
    m_logika.smazStravenku();
    zobrazKontrolniVycetku();
}

void frmKontrVyc::cmdSmazNominal_Click() {
    m_logika.smazNominal(m_ui->cmbStrav->currentText());
    zobrazKontrolniVycetku();
}

void frmKontrVyc::cmdTisk_Click() {
    m_logika.tisk();
}

void frmKontrVyc::cmdUkonci_Click() {
    m_vysledek = UkoncitPrijem;
    hide();
}

void frmKontrVyc::cmdZpet_Click() {
    m_vysledek = Zpet;
    hide();
}

} // namespace trv
