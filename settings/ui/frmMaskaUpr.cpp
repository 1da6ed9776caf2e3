#include "settings/ui/frmMaskaUpr.h"

#include "core/ConfigAccess.h"
#include "platform/Prompts.h"
#include "settings/ui/frmMaska.h"
#include "ui_frmMaskaUpr.h"

namespace trv {

frmMaskaUpr::frmMaskaUpr(const Config& config, Prompts& prompts, const CodeMasks& masks, frmMaska& list)
    : QDialog(&list), m_ui(std::make_unique<Ui::frmMaskaUpr>()), m_config(config), m_prompts(prompts), m_masks(masks),
      m_list(list), m_soubor(list.vybranySoubor()) {
    m_ui->setupUi(this);
    const QString section = QStringLiteral("frmMaskaUpr");
    const Result<QString> maska = masks.nacti(m_soubor);
    if (!maska.ok()) {
        prompts.message(
            CodeMasks::hlaseni(config, section, QStringLiteral("ChybaNac"), maska.error(), QStringLiteral(", err: ")));
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
        m_prompts.message(CodeMasks::hlaseni(m_config, QStringLiteral("frmMaskaUpr"), QStringLiteral("ChybaUkl"),
                                             st.error(), QStringLiteral(", descr: ")));
    m_list.obnov();
    m_list.zrusVyber();
    close();
}

} // namespace trv
