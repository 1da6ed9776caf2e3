#include "settings/ui/frmMaska.h"

#include "core/ConfigAccess.h"
#include "platform/Prompts.h"
#include "settings/ui/frmMaskaNova.h"
#include "settings/ui/frmMaskaUpr.h"
#include "ui_frmMaska.h"

namespace trv {

frmMaska::frmMaska(const Config& config, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmMaska>()), m_config(config), m_prompts(prompts),
      m_masks(config.programFolder()) {
    m_ui->setupUi(this);
    connect(m_ui->flbMaska, &QListWidget::itemClicked, this, &frmMaska::flbMaska_Click);
    connect(m_ui->btnNova, &QPushButton::clicked, this, &frmMaska::btnNova_Click);
    connect(m_ui->btnUpravit, &QPushButton::clicked, this, &frmMaska::btnUpravit_Click);
    connect(m_ui->btnSmaz, &QPushButton::clicked, this, &frmMaska::btnSmaz_Click);
    connect(m_ui->btnNastavit, &QPushButton::clicked, this, &frmMaska::btnNastavit_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &QDialog::close);
    m_ui->btnVen->setFocus();
    Form_Load();
}

frmMaska::~frmMaska() = default;

void frmMaska::Form_Load() {
    // A first opening creates the folder and goes on preparing the window as on any other.
    if (Status st = m_masks.vytvorSlozku(); !st)
        m_prompts.error(st.message());
    obnov();
    const QString section = QStringLiteral("frmMaska");
    setWindowTitle(m_config.DejText(section, QStringLiteral("Caption")));
    m_ui->Frame1->setTitle(m_config.DejText(section, QStringLiteral("Caption")));
    for (QAbstractButton* b :
         {static_cast<QAbstractButton*>(m_ui->btnNastavit), static_cast<QAbstractButton*>(m_ui->btnUpravit),
          static_cast<QAbstractButton*>(m_ui->btnNova), static_cast<QAbstractButton*>(m_ui->btnSmaz),
          static_cast<QAbstractButton*>(m_ui->btnVen)})
        b->setText(m_config.DejText(section, b->objectName()));
    m_ui->Label1->setText(m_config.DejText(section, QStringLiteral("Label1")));
}

void frmMaska::obnov() {
    m_ui->flbMaska->clear();
    m_ui->flbMaska->addItems(m_masks.soubory());
}

void frmMaska::zrusVyber() {
    m_ui->flbMaska->clearSelection();
    m_ui->flbMaska->setCurrentItem(nullptr);
    m_ui->btnNastavit->setEnabled(false);
    m_ui->btnUpravit->setEnabled(false);
    m_ui->btnSmaz->setEnabled(false);
    m_ui->lblMaska->clear();
}

QString frmMaska::vybranySoubor() const {
    const QListWidgetItem* item = m_ui->flbMaska->currentItem();
    return item ? item->text() : QString();
}

void frmMaska::flbMaska_Click() {
    if (vybranySoubor().isEmpty())
        return;
    m_ui->btnNastavit->setEnabled(true);
    m_ui->btnUpravit->setEnabled(true);
    m_ui->btnSmaz->setEnabled(true);
    m_ui->lblMaska->setText(CodeMasks::nazevMasky(vybranySoubor()));
}

void frmMaska::btnNova_Click() {
    frmMaskaNova dialog(m_config, m_prompts, m_masks, *this);
    dialog.exec();
}

void frmMaska::btnUpravit_Click() {
    frmMaskaUpr dialog(m_config, m_prompts, m_masks, *this);
    if (dialog.nacteno())
        dialog.exec();
}

void frmMaska::btnSmaz_Click() {
    const QString soubor = vybranySoubor();
    if (soubor.isEmpty())
        return;
    const QString section = QStringLiteral("frmMaska");
    if (m_prompts.message(m_config.DejText(section, QStringLiteral("SmazatSoub")) + soubor + QStringLiteral("' ?"),
                          Prompts::Buttons::YesNo, Prompts::Icon::Question) != Prompts::Answer::Yes)
        return;
    if (Status st = m_masks.smaz(soubor); !st) {
        m_prompts.message(CodeMasks::hlaseni(m_config, section, QStringLiteral("ChybaMazani"), st.error(),
                                             QStringLiteral(", descr.: ")));
        return;
    }
    obnov();
    zrusVyber();
}

void frmMaska::btnNastavit_Click() {
    // Sending a mask to the reader is not settled; the button has never done anything.
}

} // namespace trv
