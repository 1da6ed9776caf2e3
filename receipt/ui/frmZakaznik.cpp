#include "receipt/ui/frmZakaznik.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "ui_frmZakaznik.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPalette>

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmZakaznik");

void setBackground(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

} // namespace

frmZakaznik::frmZakaznik(AppState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmZakaznik>()), m_state(state), m_prompts(prompts), m_table(state) {
    m_ui->setupUi(this);
    m_partners = {m_ui->txtZakCislo1, m_ui->txtZakCislo2, m_ui->txtZakCislo3, m_ui->txtZakCislo4,
                  m_ui->txtZakCislo5, m_ui->txtZakCislo6, m_ui->txtZakCislo7, m_ui->txtZakCislo8};
    for (QLineEdit* box : m_partners)
        box->installEventFilter(this);
    const std::array<std::pair<QLineEdit*, CustomerTable::Column>, 6> searches{{
        {m_ui->txtCislo, CustomerTable::Column::Cislo},
        {m_ui->txtIC, CustomerTable::Column::IC},
        {m_ui->txtNazev, CustomerTable::Column::Nazev},
        {m_ui->txtAdresa, CustomerTable::Column::Adresa},
        {m_ui->txtOdpovida, CustomerTable::Column::Odpovida},
        {m_ui->txtTel, CustomerTable::Column::Telefon},
    }};
    for (const auto& [box, column] : searches) {
        QLineEdit* searched = box;
        const CustomerTable::Column col = column;
        connect(box, &QLineEdit::returnPressed, this, [this, searched, col] { search(col, searched); });
    }
    connect(m_ui->lstZak, &QListWidget::itemClicked, this, &frmZakaznik::lstZak_Click);
    connect(m_ui->cmbStrav, &QComboBox::currentIndexChanged, this, &frmZakaznik::cmbStrav_Click);
    connect(m_ui->cmbVyber, &QPushButton::clicked, this, &frmZakaznik::cmbVyber_Click);
    connect(m_ui->btnCreateTable, &QPushButton::clicked, this, &frmZakaznik::btnCreateTable_Click);
    connect(m_ui->cmbPridatZak, &QPushButton::clicked, this, &frmZakaznik::cmbPridatZak_Click);
    connect(m_ui->cmdSaveChanges, &QPushButton::clicked, this, &frmZakaznik::cmdSaveChanges_Click);
    connect(m_ui->smdDel, &QPushButton::clicked, this, &frmZakaznik::smdDel_Click);
    Form_Load();
}

frmZakaznik::~frmZakaznik() = default;

bool frmZakaznik::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int k = 0; k < 8; ++k) {
            if (watched == m_partners[static_cast<size_t>(k)])
                txtZakCislo_Click(k + 1);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmZakaznik::Form_Load() {
    if (!m_table.exists())
        zalozChybejiciTabulku();
    const Config& config = m_state.config;
    setWindowTitle(config.DejText(kSection, QStringLiteral("Caption")));
    for (QWidget* w : std::initializer_list<QWidget*>{m_ui->Label1, m_ui->Label2, m_ui->Label3, m_ui->Label4,
                                                      m_ui->Label5, m_ui->Label6}) {
        static_cast<QLabel*>(w)->setText(config.DejText(kSection, w->objectName()));
    }
    m_ui->group->setTitle(config.DejText(kSection, QStringLiteral("group")));
    for (QPushButton* b :
         {m_ui->cmbPridatZak, m_ui->cmdSaveChanges, m_ui->smdDel, m_ui->btnCreateTable, m_ui->cmbVyber})
        b->setText(config.DejText(kSection, b->objectName()));
    naplnTypyStravenek();
    naplnSeznamZakazniku();
}

void frmZakaznik::naplnTypyStravenek() {
    m_ui->cmbStrav->clear();
    if (m_state.gColStrav)
        for (const auto& t : *m_state.gColStrav)
            m_ui->cmbStrav->addItem(t->Nazev);
    m_ui->cmbStrav->setCurrentIndex(m_ui->cmbStrav->count() > 0 ? 0 : -1);
    cmbStrav_Click(m_ui->cmbStrav->currentIndex());
}

void frmZakaznik::showRows(const Result<std::vector<CustomerRecord>>& rows) {
    m_ui->lstZak->clear();
    if (!rows.ok()) {
        m_prompts.error(rows.message());
        return;
    }
    for (const CustomerRecord& r : rows.value())
        m_ui->lstZak->addItem(CustomerTable::listRow(r));
}

void frmZakaznik::naplnSeznamZakazniku() {
    // A table the operator declined to create leaves an empty list, not an error at every refill.
    if (!m_table.exists()) {
        m_ui->lstZak->clear();
        return;
    }
    showRows(m_table.list());
}

void frmZakaznik::search(CustomerTable::Column column, QLineEdit* box) {
    if (!m_table.exists()) {
        m_ui->lstZak->clear();
        return;
    }
    showRows(m_table.search(column, box->text()));
}

CustomerRecord frmZakaznik::record() const {
    CustomerRecord r;
    r.cislo = m_ui->txtCislo->text();
    r.IC = m_ui->txtIC->text();
    r.nazev = m_ui->txtNazev->text();
    r.Adresa = m_ui->txtAdresa->text();
    r.odpovida = m_ui->txtOdpovida->text();
    r.telefon = m_ui->txtTel->text();
    for (size_t k = 0; k < 8; ++k)
        r.cisloSpol[k] = m_partners[k]->text();
    return r;
}

void frmZakaznik::showRecord(const CustomerRecord& r, int partners) {
    m_ui->txtCislo->setText(r.cislo);
    m_ui->txtIC->setText(r.IC);
    m_ui->txtNazev->setText(r.nazev);
    m_ui->txtAdresa->setText(r.Adresa);
    m_ui->txtOdpovida->setText(r.odpovida);
    m_ui->txtTel->setText(r.telefon);
    for (int k = 0; k < partners; ++k)
        m_partners[static_cast<size_t>(k)]->setText(r.cisloSpol[static_cast<size_t>(k)]);
}

void frmZakaznik::lstZak_Click() {
    QListWidgetItem* item = m_ui->lstZak->currentItem();
    if (item == nullptr)
        return;
    const auto found = m_table.find(CustomerTable::numberOfRow(item->text()));
    if (!found.ok()) {
        m_prompts.error(found.message());
    } else if (found.value()) {
        const int count = m_state.gColStrav ? m_state.gColStrav->pocetSpolecnosti() : 0;
        showRecord(*found.value(), CustomerTable::partnerColumns(count));
    }
    CustomerTable::zvol(m_state, record());
}

void frmZakaznik::cmbStrav_Click(int index) {
    const QColor light = QGuiApplication::palette().color(QPalette::Midlight);
    for (QLineEdit* box : m_partners)
        setBackground(box, light);
    if (index >= 0 && index < 8)
        setBackground(m_partners[static_cast<size_t>(index)], Qt::white);
}

void frmZakaznik::txtZakCislo_Click(int k) {
    if (k == 1 || m_ui->cmbStrav->count() >= k)
        m_ui->cmbStrav->setCurrentIndex(k - 1);
}

void frmZakaznik::cmbVyber_Click() {
    if (m_ui->txtCislo->text().isEmpty()) {
        m_prompts.message(m_state.config.DejText(kSection, QStringLiteral("MusZvolitZak")), Prompts::Buttons::Ok,
                          Prompts::Icon::Exclamation);
        return;
    }
    CustomerTable::zvol(m_state, record());
    accept();
}

void frmZakaznik::btnCreateTable_Click() {
    const Config& config = m_state.config;
    if (!m_prompts.askYesNo(config.DejText(kSection, QStringLiteral("OpravduSmazat")),
                            config.DejText(kSection, QStringLiteral("Smazat"))))
        return;
    vytvorTabulku();
}

void frmZakaznik::zalozChybejiciTabulku() {
    // There is nothing to delete yet: the question is whether to create the table, and where.
    const Config& config = m_state.config;
    const auto file = m_table.file();
    if (!file.ok()) {
        m_prompts.error(file.message());
        return;
    }
    const QString question = config.DejText(kSection, QStringLiteral("TabulkaNeexistuje")) + QStringLiteral("\r\n") +
                             TextFiles::toQString(file.value()) + QStringLiteral("\r\n\r\n") +
                             config.DejText(kSection, QStringLiteral("ZalozitTabulku"));
    if (!m_prompts.askYesNo(question, config.DejText(kSection, QStringLiteral("Caption"))))
        return;
    vytvorTabulku();
}

void frmZakaznik::vytvorTabulku() {
    if (const Status created = m_table.create(); !created)
        m_prompts.error(created.message());
    naplnSeznamZakazniku();
}

void frmZakaznik::cmbPridatZak_Click() {
    const CustomerRecord r = record();
    if (const QString refusal = m_table.numberRefusal(r.cislo); !refusal.isEmpty()) {
        m_prompts.error(refusal);
        return;
    }
    if (const Status added = m_table.add(r); !added) {
        // The boxes keep what the operator typed, so a too long value can be shortened and added again.
        m_prompts.error(added.message());
        return;
    }
    for (QLineEdit* box :
         {m_ui->txtCislo, m_ui->txtIC, m_ui->txtNazev, m_ui->txtAdresa, m_ui->txtOdpovida, m_ui->txtTel})
        box->clear();
    for (QLineEdit* box : m_partners)
        box->clear();
    naplnSeznamZakazniku();
}

void frmZakaznik::cmdSaveChanges_Click() {
    if (const Status saved = m_table.update(record()); !saved)
        m_prompts.error(saved.message());
    naplnSeznamZakazniku();
}

void frmZakaznik::smdDel_Click() {
    if (const Status removed = m_table.remove(m_ui->txtCislo->text()); !removed)
        m_prompts.error(removed.message());
    naplnSeznamZakazniku();
}

} // namespace trv
