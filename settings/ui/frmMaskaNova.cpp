#include "settings/ui/frmMaskaNova.h"

#include "core/ConfigAccess.h"
#include "platform/Prompts.h"
#include "settings/ui/frmMaska.h"
#include "ui_frmMaskaNova.h"

namespace trv {

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
    return CodeMasks::hlaseni(m_config, QStringLiteral("frmMaskaNova"), QStringLiteral("ChybaUkl"), Error{0, detail},
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
        m_prompts.message(CodeMasks::hlaseni(m_config, QStringLiteral("frmMaskaNova"), QStringLiteral("ChybaUkl"),
                                             st.error(), QStringLiteral(", descr: ")));
        close();
        return;
    }
    m_list.obnov();
    m_list.zrusVyber();
    close();
}

} // namespace trv
