#include "datafiles/ui/frmUlozJako.h"

#include "core/AppState.h"
#include "datafiles/DataFileOps.h"
#include "datafiles/ui/ErrorMessage.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "ui_frmUlozJako.h"

namespace trv {

frmUlozJako::frmUlozJako(AppState& state, Prompts& prompts, std::filesystem::path source, std::filesystem::path folder,
                         QWidget* parent)
    : QDialog(parent), m_state(state), m_prompts(prompts), m_source(std::move(source)), m_folder(std::move(folder)),
      m_ui(std::make_unique<Ui::frmUlozJako>()) {
    m_ui->setupUi(this);
    m_ui->btnUloz->setDefault(true);
    m_ui->btnVen->setAutoDefault(false);
    connect(m_ui->txtUlozJako, &QLineEdit::textChanged, this, &frmUlozJako::txtUlozJako_Change);
    connect(m_ui->btnUloz, &QPushButton::clicked, this, &frmUlozJako::btnUloz_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &frmUlozJako::btnVen_Click);

    setWindowTitle(text("Caption"));
    m_ui->Frame1->setTitle(text("Frame1"));
    m_ui->btnUloz->setText(text("btnUloz"));
    m_ui->btnVen->setText(text("btnVen"));
}

frmUlozJako::~frmUlozJako() = default;

QString frmUlozJako::text(const char* key) const {
    return m_state.config.DejText(QStringLiteral("frmUlozJako"), QString::fromLatin1(key));
}

void frmUlozJako::txtUlozJako_Change() {
    if (!m_ui->txtUlozJako->text().isEmpty() && !toNumber(m_ui->txtUlozJako->text())) {
        m_ui->txtUlozJako->clear(); // runs this handler again for the empty box
        return;
    }
    m_ui->btnUloz->setEnabled(!m_ui->txtUlozJako->text().isEmpty());
}

void frmUlozJako::btnUloz_Click() {
    const QString typed = m_ui->txtUlozJako->text();
    if (typed.isEmpty())
        return;
    const auto target = m_folder / DataFileOps::ulozJakoNazev(typed).toStdU16String();
    if (TextFiles::exists(target) && !m_prompts.askYesNo(text("soubExist") + QStringLiteral("\r\n") + text("Preps"))) {
        accept();
        return;
    }
    const Status copied = DataFileOps::ulozJako(m_source, target);
    if (!copied.ok())
        m_prompts.message(errorMessage(text("Chyba"), copied.error(), QStringLiteral(" descr: ")));
    accept();
}

void frmUlozJako::btnVen_Click() {
    reject();
}

} // namespace trv
