#include "receipt/ui/frmRucne.h"

#include "core/AppState.h"
#include "platform/Prompts.h"
#include "receipt/ReceiptHost.h"
#include "ui_frmRucne.h"

#include <QKeyEvent>

#include <exception>

namespace trv {

frmRucne::frmRucne(AppState& state, Prompts& prompts, ReceiptHost& host, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmRucne>()), m_state(state), m_prompts(prompts),
      m_entry(state, prompts, host) {
    m_ui->setupUi(this);
    m_ui->txtKod->installEventFilter(this);
    connect(m_ui->cmdDalsi, &QPushButton::clicked, this, &frmRucne::cmdDalsi_Click);
    connect(m_ui->cmdKonec, &QPushButton::clicked, this, &frmRucne::cmdKonec_Click);
    Form_Load(host.chosenTypeIndex());
    connect(m_ui->txtKod, &QLineEdit::textChanged, this, &frmRucne::txtKod_Change);
}

frmRucne::~frmRucne() = default;

void frmRucne::Form_Load(int chosenType) {
    m_ui->txtKod->clear();
    for (const ManualEntry::TypeEntry& t : m_entry.typeEntries())
        m_ui->cmbTypStr->addItem(t.nazev, t.delka);
    if (m_ui->cmbTypStr->count() > 0) {
        m_ui->cmbTypStr->setCurrentIndex(0);
        cmbTypStr_Click(0);
    }
    connect(m_ui->cmbTypStr, &QComboBox::currentIndexChanged, this, &frmRucne::cmbTypStr_Click);
    // The window opens on the type chosen on the main window; a button without an entry here changes nothing.
    if (chosenType >= 0 && chosenType < m_ui->cmbTypStr->count())
        m_ui->cmbTypStr->setCurrentIndex(chosenType);

    const Config& config = m_state.config;
    const QString section = QStringLiteral("frmRucne");
    setWindowTitle(config.DejText(section, QStringLiteral("Caption")));
    m_ui->lblTyp->setText(config.DejText(section, QStringLiteral("lblTyp")));
    m_ui->Label1->setText(config.DejText(section, QStringLiteral("Label1")));
    m_ui->cmdDalsi->setText(config.DejText(section, QStringLiteral("cmdDalsi")));
    m_ui->cmdKonec->setText(config.DejText(section, QStringLiteral("cmdKonec")));
    // The operator starts typing digits at once: they go to the code box, not to the type list.
    m_ui->txtKod->setFocus();
}

void frmRucne::cmbTypStr_Click(int index) {
    if (index < 0)
        return;
    m_entry.chooseType(index, m_ui->cmbTypStr->itemData(index).toInt());
}

bool frmRucne::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->txtKod && event->type() == QEvent::KeyPress)
        return txtKod_KeyPress(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

bool frmRucne::txtKod_KeyPress(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter never submits. A code of the wrong length is told and stays selected: the operator mends it or
        // types over it.
        if (const std::optional<QString> refusal = m_entry.enterRefusal(m_ui->txtKod->text())) {
            m_prompts.message(*refusal, Prompts::Buttons::Ok, Prompts::Icon::Critical, m_entry.messageTitle());
            m_ui->txtKod->setFocus();
            m_ui->txtKod->selectAll();
        }
        return true;
    }
    // Keys that type no character (arrows, Delete, shortcuts) and control characters edit the box as usual;
    // of the characters only the digits reach it.
    const QString text = event->text();
    for (const QChar c : text) {
        const bool control = c.unicode() < 32 || c.unicode() == 127;
        const bool digit = c >= u'0' && c <= u'9';
        if (!control && !digit)
            return true;
    }
    return false;
}

void frmRucne::txtKod_Change() {
    if (m_entry.submitsAutomatically(m_ui->txtKod->text()))
        cmdDalsi_Click();
}

void frmRucne::typeAgain() {
    m_ui->txtKod->clear();
    m_ui->txtKod->setFocus();
}

void frmRucne::cmdDalsi_Click() {
    ManualEntry::Outcome outcome;
    try {
        outcome = m_entry.submit(m_ui->txtKod->text());
    } catch (const std::exception& e) {
        outcome = {ManualEntry::Outcome::Kind::Refused, QString::fromLocal8Bit(e.what())};
    }
    switch (outcome.kind) {
    case ManualEntry::Outcome::Kind::Nothing:
    case ManualEntry::Outcome::Kind::Silent:
        return;
    case ManualEntry::Outcome::Kind::Booked:
        typeAgain();
        return;
    case ManualEntry::Outcome::Kind::Refused:
        if (!outcome.message.isEmpty()) {
            m_prompts.message(outcome.message, Prompts::Buttons::Ok, Prompts::Icon::Critical, m_entry.messageTitle());
        }
        typeAgain();
        return;
    }
}

void frmRucne::cmdKonec_Click() {
    accept();
}

} // namespace trv
