#include "settings/ui/frmSM.h"

#include "core/ConfigAccess.h"
#include "platform/Prompts.h"
#include "settings/SmListFile.h"
#include "ui_frmSM.h"

#include <QCloseEvent>

namespace trv {

namespace {
const QString kSection = QStringLiteral("frmSM");
}

frmSM::frmSM(const Config& config, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::frmSM>()), m_config(config), m_prompts(prompts) {
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &frmSM::cmdAdd_Click);
    connect(m_ui->txtSM, &QLineEdit::returnPressed, this, &frmSM::txtSM_Enter);
    connect(m_ui->cmdDel, &QPushButton::clicked, this, &frmSM::cmdDel_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &frmSM::cmdCancel_Click);
    Form_Load();
}

frmSM::~frmSM() = default;

void frmSM::Form_Load() {
    m_ui->lstSM->addItems(SmListFile::nacti(m_config));
    setWindowTitle(m_config.DejText(kSection, QStringLiteral("Caption")));
    m_ui->Label1->setText(m_config.DejText(kSection, QStringLiteral("Label1")));
    m_ui->cmdAdd->setText(m_config.DejText(kSection, QStringLiteral("cmdAdd")));
    m_ui->cmdDel->setText(m_config.DejText(kSection, QStringLiteral("cmdDel")));
    m_ui->cmdCancel->setText(m_config.DejText(kSection, QStringLiteral("cmdCancel")));
}

void frmSM::pridej(const QString& text) {
    // An entry is a whole SM: blanks around it are no part of it, and an empty one cannot be stored.
    const QString sm = text.trimmed();
    if (const QString chyba = SmListFile::chybaZaznamu(sm); !chyba.isEmpty()) {
        // The entry stays in the box for correction.
        m_prompts.error(chyba);
        m_ui->txtSM->setFocus();
        m_ui->txtSM->selectAll();
        return;
    }
    if (!sm.isEmpty())
        m_ui->lstSM->addItem(sm);
    m_ui->txtSM->clear();
}

void frmSM::cmdAdd_Click() {
    pridej(m_ui->txtSM->text());
}

void frmSM::txtSM_Enter() {
    if (m_ui->txtSM->text().size() == 4)
        pridej(m_ui->txtSM->text());
}

void frmSM::cmdDel_Click() {
    QListWidgetItem* selected = m_ui->lstSM->currentItem();
    if (selected == nullptr || !selected->isSelected()) {
        m_prompts.error(m_config.DejText(kSection, QStringLiteral("MusiteOznSmaz")));
        return;
    }
    delete selected;
}

bool frmSM::ulozPoOtazce(const QString& title) {
    if (m_prompts.message(m_config.DejText(kSection, QStringLiteral("UlozitZmeny")), Prompts::Buttons::YesNo,
                          Prompts::Icon::Exclamation, title) != Prompts::Answer::Yes)
        return true;
    QStringList entries;
    for (int i = 0; i < m_ui->lstSM->count(); ++i)
        entries.append(m_ui->lstSM->item(i)->text());
    if (Status st = SmListFile::uloz(m_config, entries); !st) {
        m_prompts.error(st.message());
        return false;
    }
    return true;
}

void frmSM::cmdCancel_Click() {
    ulozPoOtazce(QString());
    hide();
}

void frmSM::closeEvent(QCloseEvent* event) {
    // A list that could not be saved stays open rather than being dropped with the window.
    if (!ulozPoOtazce(QStringLiteral("Typy stravenek"))) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace trv
