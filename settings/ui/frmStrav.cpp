#include "settings/ui/frmStrav.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Prompts.h"
#include "ui_frmStrav.h"
#include "ui_frmStravPol.h"

#include <QGroupBox>

namespace trv {

namespace {

constexpr int kTypeRole = Qt::UserRole;

} // namespace

// --- frmStrav

frmStrav::frmStrav(AppState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmStrav>()), m_state(state), m_prompts(prompts) {
    m_ui->setupUi(this);
    m_ui->lvwStrav->setHeaderLabels({QStringLiteral("Název")});
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &frmStrav::cmdAdd_Click);
    connect(m_ui->cmdEdir, &QPushButton::clicked, this, &frmStrav::cmdEdir_Click);
    connect(m_ui->cmdDel, &QPushButton::clicked, this, &frmStrav::cmdDel_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &frmStrav::cmdCancel_Click);
    NaplnSeznam();
    const QString section = QStringLiteral("frmStrav");
    setWindowTitle(state.config.DejText(section, QStringLiteral("Caption")));
    for (QPushButton* b : {m_ui->cmdAdd, m_ui->cmdEdir, m_ui->cmdDel, m_ui->cmdCancel})
        b->setText(state.config.DejText(section, b->objectName()));
}

frmStrav::~frmStrav() = default;

void frmStrav::NaplnSeznam() {
    m_ui->lvwStrav->clear();
    if (!m_state.gColStrav)
        return;
    int index = 0;
    for (const CColStrav::StravPtr& t : m_state.gColStrav->types()) {
        auto* item = new QTreeWidgetItem(m_ui->lvwStrav, {t->Nazev});
        // The row knows its type by position; the list is rebuilt after every change.
        item->setData(0, kTypeRole, index++);
    }
}

std::shared_ptr<CStrav> frmStrav::vybrany() const {
    const QTreeWidgetItem* item = m_ui->lvwStrav->currentItem();
    if (item == nullptr || !m_state.gColStrav)
        return nullptr;
    return m_state.gColStrav->Item(item->data(0, kTypeRole).toInt() + 1);
}

void frmStrav::cmdAdd_Click() {
    if (!m_state.gColStrav)
        return;
    frmStravPol dialog(m_state, m_prompts, this);
    auto type = std::make_shared<CStrav>();
    if (dialog.AddStrav(*type) != 1)
        return;
    if (Status st = m_state.gColStrav->Add(type); !st) {
        m_prompts.error(st.message());
        return;
    }
    VoucherTypeEditor::typyZmeneny(*m_state.gColStrav);
    NaplnSeznam();
}

void frmStrav::cmdEdir_Click() {
    const std::shared_ptr<CStrav> selected = vybrany();
    if (!selected)
        return;
    frmStravPol dialog(m_state, m_prompts, this);
    // The dialog works on a copy: the selected type keeps its codes and every other field, and Cancel
    // leaves it untouched.
    CStrav copy;
    VoucherTypeEditor::kopiruj(*selected, copy);
    if (dialog.EditStrav(copy) != 1)
        return;
    VoucherTypeEditor::kopiruj(copy, *selected);
    VoucherTypeEditor::typyZmeneny(*m_state.gColStrav);
    NaplnSeznam();
}

void frmStrav::cmdDel_Click() {
    const std::shared_ptr<CStrav> selected = vybrany();
    if (!selected)
        return;
    if (m_prompts.message(QStringLiteral("Smazat typ stravenek ") + selected->Nazev + QStringLiteral(" ?"),
                          Prompts::Buttons::YesNo, Prompts::Icon::Exclamation,
                          QStringLiteral("Smazání typu stravenky")) != Prompts::Answer::Yes)
        return;
    VoucherTypeEditor::smaz(*m_state.gColStrav, selected);
    VoucherTypeEditor::typyZmeneny(*m_state.gColStrav);
    NaplnSeznam();
}

void frmStrav::cmdCancel_Click() {
    if (m_state.gColStrav &&
        m_prompts.message(m_state.config.DejText(QStringLiteral("frmStrav"), QStringLiteral("UlozitZmeny")),
                          Prompts::Buttons::YesNo, Prompts::Icon::Exclamation,
                          QStringLiteral("Typy stravenek")) == Prompts::Answer::Yes) {
        // The definition file reports its own failure; the editor stays open so nothing edited is lost.
        if (Status st = m_state.gColStrav->UlozINI(); !st) {
            m_prompts.error(st.message());
            return;
        }
    }
    hide();
    accept();
}

// --- frmStravPol

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
        QWidget* w = findChild<QWidget*>(QLatin1String(name));
        const QString text = state.config.DejText(section, QLatin1String(name));
        if (auto* box = qobject_cast<QGroupBox*>(w))
            box->setTitle(text);
        else if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(text);
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
