#include "settings/ui/frmMaska.h"

#include "core/ConfigAccess.h"
#include "platform/Prompts.h"
#include "ui_frmMaska.h"
#include "ui_frmMaskaNova.h"
#include "ui_frmMaskaUpr.h"

namespace trv {

namespace {

QString errorText(const Config& config, const QString& section, const QString& key, const Error& e,
                  const QString& separator) {
    return config.DejText(section, key) + QStringLiteral("\r\nNum: ") + QString::number(e.number) + separator + e.message;
}

} // namespace

// --- frmMaska

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
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(m_ui->btnNastavit), static_cast<QAbstractButton*>(m_ui->btnUpravit),
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
        m_prompts.message(errorText(m_config, section, QStringLiteral("ChybaMazani"), st.error(), QStringLiteral(", descr.: ")));
        return;
    }
    obnov();
    zrusVyber();
}

void frmMaska::btnNastavit_Click() {
    // Sending a mask to the reader is not settled; the button has never done anything.
}

// --- frmMaskaNova

frmMaskaNova::frmMaskaNova(const Config& config, Prompts& prompts, const CodeMasks& masks, frmMaska& list)
    : QDialog(&list), m_ui(std::make_unique<Ui::frmMaskaNova>()), m_config(config), m_prompts(prompts), m_masks(masks),
      m_list(list) {
    m_ui->setupUi(this);
    const QString section = QStringLiteral("frmMaskaNova");
    setWindowTitle(config.DejText(section, QStringLiteral("Caption")));
    m_ui->Frame1->setTitle(config.DejText(section, QStringLiteral("Frame1")));
    m_ui->Frame2->setTitle(config.DejText(section, QStringLiteral("Frame2")));
    m_ui->btnUloz->setText(config.DejText(section, QStringLiteral("btnUloz")));
    m_ui->btnVen->setText(config.DejText(section, QStringLiteral("btnVen")));
    connect(m_ui->txtSouborM, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ui->btnUloz->setEnabled(!text.isEmpty()); });
    connect(m_ui->btnUloz, &QPushButton::clicked, this, &frmMaskaNova::btnUloz_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &QDialog::close);
    m_ui->txtMaska->setFocus();
}

frmMaskaNova::~frmMaskaNova() = default;

QString frmMaskaNova::chybaText(const QString& detail) const {
    return errorText(m_config, QStringLiteral("frmMaskaNova"), QStringLiteral("ChybaUkl"), Error{0, detail},
                     QStringLiteral(", descr: "));
}

void frmMaskaNova::btnUloz_Click() {
    const QString nazev = m_ui->txtSouborM->text();
    // The name becomes a file name in the mask folder: one that would lead elsewhere is refused, and the
    // window stays open so that the operator can correct it.
    if (const QString problem = CodeMasks::chybaNazvu(nazev); !problem.isEmpty()) {
        m_prompts.message(chybaText(problem));
        return;
    }
    const std::filesystem::path file = m_masks.souborNove(nazev);
    std::error_code ec;
    if (std::filesystem::exists(file, ec) &&
        m_prompts.message(m_config.DejText(QStringLiteral("frmMaskaNova"), QStringLiteral("SoubExist")),
                          Prompts::Buttons::YesNo, Prompts::Icon::Question) != Prompts::Answer::Yes) {
        m_list.zrusVyber();
        return;
    }
    if (Status st = m_masks.uloz(file, m_ui->txtMaska->text()); !st) {
        m_prompts.message(errorText(m_config, QStringLiteral("frmMaskaNova"), QStringLiteral("ChybaUkl"), st.error(),
                                    QStringLiteral(", descr: ")));
        close();
        return;
    }
    m_list.obnov();
    m_list.zrusVyber();
    close();
}

// --- frmMaskaUpr

frmMaskaUpr::frmMaskaUpr(const Config& config, Prompts& prompts, const CodeMasks& masks, frmMaska& list)
    : QDialog(&list), m_ui(std::make_unique<Ui::frmMaskaUpr>()), m_config(config), m_prompts(prompts), m_masks(masks),
      m_list(list), m_soubor(list.vybranySoubor()) {
    m_ui->setupUi(this);
    const QString section = QStringLiteral("frmMaskaUpr");
    const Result<QString> maska = masks.nacti(m_soubor);
    if (!maska.ok()) {
        prompts.message(errorText(config, section, QStringLiteral("ChybaNac"), maska.error(), QStringLiteral(", err: ")));
        return;
    }
    m_nacteno = true;
    connect(m_ui->txtMaska, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ui->btnUloz->setEnabled(!text.isEmpty()); });
    m_ui->txtMaska->setText(maska.value());
    setWindowTitle(config.DejText(section, QStringLiteral("Caption")));
    m_ui->Frame1->setTitle(config.DejText(section, QStringLiteral("Frame1")));
    m_ui->btnUloz->setText(config.DejText(section, QStringLiteral("btnUloz")));
    m_ui->btnVen->setText(config.DejText(section, QStringLiteral("btnVen")));
    connect(m_ui->btnUloz, &QPushButton::clicked, this, &frmMaskaUpr::btnUloz_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &QDialog::close);
}

frmMaskaUpr::~frmMaskaUpr() = default;

void frmMaskaUpr::btnUloz_Click() {
    if (Status st = m_masks.uloz(m_masks.soubor(m_soubor), m_ui->txtMaska->text()); !st)
        m_prompts.message(errorText(m_config, QStringLiteral("frmMaskaUpr"), QStringLiteral("ChybaUkl"), st.error(),
                                    QStringLiteral(", descr: ")));
    m_list.obnov();
    m_list.zrusVyber();
    close();
}

} // namespace trv
