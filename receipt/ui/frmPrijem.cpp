#include "receipt/ui/frmPrijem.h"

#include "core/SettingsLoader.h"
#include "platform/Prompts.h"
#include "receipt/DocumentKind.h"
#include "ui_frmPrijem.h"

#include <QGuiApplication>

#include <exception>

namespace trv {

frmPrijem::frmPrijem(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmPrijem>()), m_prompts(prompts),
      m_start(state, prompts, clock, host) {
    m_ui->setupUi(this);
    connect(m_ui->btnPrijem, &QPushButton::clicked, this, &frmPrijem::btnPrijem_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &frmPrijem::btnVen_Click);
    connect(m_ui->optNovy, &QRadioButton::toggled, this, &frmPrijem::optNovy_Click);
    connect(m_ui->optPrid, &QRadioButton::toggled, this, &frmPrijem::optPrid_Click);
    connect(m_ui->optBarC, &QRadioButton::toggled, this, &frmPrijem::optBarC_Click);
    connect(m_ui->txtSoubor, &QLineEdit::textChanged, this, &frmPrijem::txtSoubor_Change);
    connect(m_ui->listDataS, &QListWidget::itemSelectionChanged, this, &frmPrijem::listDataS_Click);
    connect(m_ui->flbDataS, &QListWidget::itemSelectionChanged, this, &frmPrijem::flbDataS_Click);
    connect(m_ui->cmbTypSeku, &QComboBox::activated, this, &frmPrijem::cmbTypSeku_Click);
    Form_Load();
}

frmPrijem::~frmPrijem() = default;

int frmPrijem::exec() {
    if (!m_loaded)
        return QDialog::Rejected;
    return QDialog::exec();
}

void frmPrijem::Form_Load() {
    const Result<ReceiptStart::View> view = m_start.load();
    if (!view.ok()) {
        m_prompts.error(ReceiptStart::loadFailureText(view.error()));
        return;
    }
    m_ui->txtSoubor->setText(view.value().datum);
    m_ui->txtPokladni->clear();
    m_fakturaSoubor = m_ui->txtSoubor->text() + m_ui->txtPokladni->text();

    if (!view.value().folderExists) {
        m_prompts.error(missingDataFolderText(view.value().folder));
    }
    m_ui->cmbTypSeku->addItem(kDruhFaktura);
    m_ui->cmbTypSeku->setCurrentIndex(0);
    // The file list in name order, and the list the operator chooses from with the newest day on top.
    for (auto it = view.value().files.crbegin(); it != view.value().files.crend(); ++it)
        m_ui->flbDataS->addItem(*it);
    m_ui->listDataS->addItems(view.value().files);
    optNovy_Click(m_ui->optNovy->isChecked());
    // The date is filled in; the cash desk is what the operator types first.
    m_ui->txtPokladni->setFocus();
    m_loaded = true;
}

bool frmPrijem::startAppend(const QString& fileName) {
    if (!m_loaded)
        return false;
    if (!fileChoice().selectFile(fileName))
        return false;
    m_ui->optPrid->setChecked(true);
    // Not shown yet: a result set by the start says it ended the dialog.
    setResult(-1);
    btnPrijem_Click();
    return result() != -1;
}

void frmPrijem::optNovy_Click(bool checked) {
    if (checked)
        fileChoice().chooseNew();
}

void frmPrijem::optPrid_Click(bool checked) {
    if (checked)
        fileChoice().chooseAppend();
}

void frmPrijem::optBarC_Click(bool checked) {
    if (checked)
        fileChoice().chooseBarcode();
}

void frmPrijem::txtSoubor_Change() {
    fileChoice().fileTextChanged();
}

ReceiptFileChoice frmPrijem::fileChoice() const {
    return {m_ui->optNovy, m_ui->txtSoubor, m_ui->flbDataS, m_ui->listDataS, m_ui->btnPrijem};
}

// Appending needs a file chosen in the list: Ctrl+click takes the choice away again, and the start with it.
void frmPrijem::listDataS_Click() {
    if (m_ui->optPrid->isChecked())
        m_ui->btnPrijem->setEnabled(!m_ui->listDataS->selectedItems().isEmpty());
}

void frmPrijem::flbDataS_Click() {
    if (m_ui->optPrid->isChecked())
        m_ui->btnPrijem->setEnabled(!m_ui->listDataS->selectedItems().isEmpty());
}

void frmPrijem::cmbTypSeku_Click(int index) {
    if (m_ui->cmbTypSeku->itemText(index) == kDruhFaktura)
        m_ui->txtSoubor->setText(m_fakturaSoubor);
}

ReceiptStartInput frmPrijem::input() const {
    ReceiptStartInput in;
    if (m_ui->optBarC->isChecked())
        in.mode = ReceiptStartMode::Barcode;
    else if (m_ui->optPrid->isChecked())
        in.mode = ReceiptStartMode::Append;
    else
        in.mode = ReceiptStartMode::NewFile;
    in.datum = m_ui->txtSoubor->text();
    in.pokladni = m_ui->txtPokladni->text();
    in.poradi = m_ui->txtPoradi->text();
    const QList<QListWidgetItem*> chosen = m_ui->listDataS->selectedItems();
    if (!chosen.isEmpty())
        in.chosenFile = chosen.front()->text();
    in.typSeku = m_ui->cmbTypSeku->currentText();
    return in;
}

void frmPrijem::btnPrijem_Click() {
    ReceiptStart::Outcome outcome;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        outcome = m_start.start(input());
    } catch (const std::exception& e) {
        outcome.kind = ReceiptStart::Outcome::Kind::Failed;
        outcome.message = ReceiptStart::startFailureText(kStartImpossible, Error{0, QString::fromLocal8Bit(e.what())});
    }
    QGuiApplication::restoreOverrideCursor();

    switch (outcome.kind) {
    case ReceiptStart::Outcome::Kind::Started:
        accept();
        return;
    case ReceiptStart::Outcome::Kind::Refused:
        m_prompts.error(outcome.message);
        return;
    case ReceiptStart::Outcome::Kind::Failed:
        m_prompts.error(outcome.message);
        reject();
        return;
    }
}

void frmPrijem::btnVen_Click() {
    reject();
}

} // namespace trv
