#include "settings/ui/frmStrav.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Prompts.h"
#include "settings/ui/frmStravPol.h"
#include "ui_frmStrav.h"

namespace trv {

namespace {

constexpr int kTypeRole = Qt::UserRole;

} // namespace

frmStrav::frmStrav(AppState& state, Prompts& prompts, QWidget* parent, std::function<void()> kodyOdebrany)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmStrav>()), m_state(state), m_prompts(prompts),
      m_kodyOdebrany(std::move(kodyOdebrany)) {
    m_ui->setupUi(this);
    m_ui->lvwStrav->setHeaderLabels({QStringLiteral("Název")});
    connect(m_ui->lvwStrav, &QTreeWidget::itemDoubleClicked, this, &frmStrav::cmdEdir_Click);
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
    m_zmeneno = true;
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
    if (VoucherTypeEditor::polozky(copy) == VoucherTypeEditor::polozky(*selected))
        return;
    m_zmeneno = true;
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
    if (VoucherTypeEditor::smaz(*m_state.gColStrav, selected)) {
        m_zmeneno = true;
        if (m_kodyOdebrany)
            m_kodyOdebrany();
    }
    VoucherTypeEditor::typyZmeneny(*m_state.gColStrav);
    NaplnSeznam();
}

void frmStrav::cmdCancel_Click() {
    if (m_state.gColStrav && m_zmeneno &&
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

} // namespace trv
