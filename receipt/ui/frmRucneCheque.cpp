#include "receipt/ui/frmRucneCheque.h"

#include "core/AppState.h"
#include "platform/Prompts.h"
#include "ui_frmRucneCheque.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmRucneCheque");

// Digits and control characters (Backspace) reach a field; every other character is dropped.
bool dropped(const QKeyEvent* key) {
    const QString text = key->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    return c.unicode() >= 32 && !(c >= u'0' && c <= u'9');
}

} // namespace

frmRucneCheque::frmRucneCheque(AppState& state, Prompts& prompts, ReceiptHost& host, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmRucneCheque>()), m_state(state), m_prompts(prompts),
      m_entry(state, prompts, host) {
    m_ui->setupUi(this);
    connect(m_ui->opt1, &QRadioButton::toggled, this, &frmRucneCheque::opt1_Click);
    connect(m_ui->opt2, &QRadioButton::toggled, this, &frmRucneCheque::opt2_Click);
    connect(m_ui->txtKod, &QLineEdit::textChanged, this, &frmRucneCheque::txtKod_Change);
    connect(m_ui->cmdDalsi, &QPushButton::clicked, this, &frmRucneCheque::cmdDalsi_Click);
    connect(m_ui->cmdKonec, &QPushButton::clicked, this, &frmRucneCheque::cmdKonec_Click);
    for (QLineEdit* box :
         {m_ui->txtKod, m_ui->txtCislo, m_ui->txtHodnota, m_ui->txtVyrobce, m_ui->txtRok, m_ui->txtTyp, m_ui->txtKontr})
        box->installEventFilter(this);
    setTabOrder(m_ui->txtCislo, m_ui->txtHodnota);
    setTabOrder(m_ui->txtHodnota, m_ui->txtVyrobce);
    setTabOrder(m_ui->txtVyrobce, m_ui->txtRok);
    setTabOrder(m_ui->txtRok, m_ui->txtTyp);
    setTabOrder(m_ui->txtTyp, m_ui->txtKontr);
    setTabOrder(m_ui->txtKontr, m_ui->cmdDalsi);
    setTabOrder(m_ui->cmdDalsi, m_ui->cmdKonec);
    Form_Load();
}

frmRucneCheque::~frmRucneCheque() = default;

void frmRucneCheque::Form_Load() {
    vymazPole();
    m_ui->opt1->setChecked(true);
    m_ui->fr1->setEnabled(true);
    m_ui->fr2->setEnabled(false);
    const Config& config = m_state.config;
    setWindowTitle(config.DejText(kSection, QStringLiteral("Caption")));
    m_ui->opt1->setText(config.DejText(kSection, QStringLiteral("RucniSnimac")));
    m_ui->opt2->setText(config.DejText(kSection, QStringLiteral("ZadKlav")));
    for (QLabel* label :
         {m_ui->Label1, m_ui->Label2, m_ui->Label3, m_ui->Label4, m_ui->Label5, m_ui->Label6, m_ui->Label7})
        label->setText(config.DejText(kSection, label->objectName()));
    m_ui->cmdDalsi->setText(config.DejText(kSection, QStringLiteral("cmdDalsi")));
    m_ui->cmdKonec->setText(config.DejText(kSection, QStringLiteral("cmdKonec")));
}

void frmRucneCheque::vymazPole() {
    for (QLineEdit* box : {m_ui->txtKod, m_ui->txtCislo, m_ui->txtHodnota, m_ui->txtVyrobce, m_ui->txtRok, m_ui->txtTyp,
                           m_ui->txtKontr}) {
        const QSignalBlocker blocker(box);
        box->clear();
    }
}

bool frmRucneCheque::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && watched != m_ui->txtKod) {
            focusNextChild();
            return true;
        }
        if (!enter && dropped(key))
            return true;
    } else if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving a field by the operator's move, not because a message box took the focus.
        const bool left = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                          reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
        if (left && watched == m_ui->txtCislo && m_ui->fr2->isEnabled())
            txtCislo_Validate();
        else if (left && watched == m_ui->txtHodnota)
            txtHodnota_Validate();
    }
    return QDialog::eventFilter(watched, event);
}

bool frmRucneCheque::txtCislo_Validate() {
    if (m_ui->txtCislo->text().size() == 9)
        return true;
    m_prompts.message(m_entry.cisloMusiMit9Cislic(), Prompts::Buttons::Ok, Prompts::Icon::Critical, m_entry.titulek());
    m_ui->txtCislo->setFocus();
    return false;
}

void frmRucneCheque::txtHodnota_Validate() {
    m_ui->txtHodnota->setText(ChequeEntry::doplnHodnotu(m_ui->txtHodnota->text()));
}

void frmRucneCheque::opt1_Click(bool checked) {
    if (!checked)
        return;
    m_ui->fr1->setEnabled(true);
    m_ui->fr2->setEnabled(false);
    m_ui->txtKod->setFocus();
}

void frmRucneCheque::opt2_Click(bool checked) {
    if (!checked)
        return;
    m_ui->fr2->setEnabled(true);
    m_ui->fr1->setEnabled(false);
    m_ui->txtCislo->setFocus();
}

void frmRucneCheque::txtKod_Change() {
    if (m_ui->txtKod->text().size() == 22)
        cmdDalsi_Click();
}

void frmRucneCheque::refuse(const ChequeEntry::Outcome& outcome) {
    m_prompts.message(outcome.message, Prompts::Buttons::Ok, Prompts::Icon::Critical, outcome.title);
}

void frmRucneCheque::cmdDalsi_Click() {
    if (m_ui->opt1->isChecked()) {
        const ChequeEntry::Outcome outcome = m_entry.zadejNacteny(m_ui->txtKod->text());
        if (outcome.kind == ChequeEntry::Outcome::Kind::Refused) {
            refuse(outcome);
            if (outcome.vymazat) {
                const QSignalBlocker blocker(m_ui->txtKod);
                m_ui->txtKod->clear();
            } else {
                m_ui->txtKod->selectAll();
            }
            m_ui->txtKod->setFocus();
            return;
        }
        vymazPole();
        m_ui->txtKod->setFocus();
        return;
    }
    // The value field is padded when it is left; a click straight from it pads it here.
    txtHodnota_Validate();
    ChequeEntry::Fields fields;
    fields.cislo = m_ui->txtCislo->text();
    fields.hodnota = m_ui->txtHodnota->text();
    fields.vyrobce = m_ui->txtVyrobce->text();
    fields.rok = m_ui->txtRok->text();
    fields.typ = m_ui->txtTyp->text();
    fields.kontr = m_ui->txtKontr->text();
    const ChequeEntry::Outcome outcome = m_entry.zadejSlozeny(ChequeEntry::slozKod(fields));
    if (outcome.kind == ChequeEntry::Outcome::Kind::Refused) {
        refuse(outcome);
        m_ui->txtCislo->selectAll();
        m_ui->txtCislo->setFocus();
        return;
    }
    vymazPole();
    m_ui->txtCislo->setFocus();
}

void frmRucneCheque::cmdKonec_Click() {
    accept();
}

} // namespace trv
