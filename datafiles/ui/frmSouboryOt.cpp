#include "datafiles/ui/frmSouboryOt.h"

#include "core/AppState.h"
#include "datafiles/DataFileOps.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "ui_frmSouboryOt.h"

#include <QSignalBlocker>

namespace trv {

frmSouboryOt::frmSouboryOt(AppState& state, Prompts& prompts, std::filesystem::path file, QWidget* parent)
    : QDialog(parent), m_state(state), m_prompts(prompts), m_file(std::move(file)),
      m_ui(std::make_unique<Ui::frmSouboryOt>()) {
    m_ui->setupUi(this);
    // Enter belongs to the text: a new line, never the save.
    m_ui->btnUloz->setAutoDefault(false);
    m_ui->btnVen->setAutoDefault(false);
    connect(m_ui->rtbEdit, &QPlainTextEdit::textChanged, this, &frmSouboryOt::rtbEdit_Change);
    connect(m_ui->btnUloz, &QPushButton::clicked, this, &frmSouboryOt::btnUloz_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &frmSouboryOt::btnVen_Click);
}

frmSouboryOt::~frmSouboryOt() = default;

QString frmSouboryOt::text(const char* key) const {
    return m_state.config.DejText(QStringLiteral("frmSouboryOt"), QString::fromLatin1(key));
}

bool frmSouboryOt::Form_Load() {
    m_ui->lblEdit->setText(TextFiles::toQString(m_file));
    const auto loaded = DataFileOps::nactiKEditaci(m_file);
    if (!loaded.ok()) {
        m_prompts.error(text("ChybaOtevr") + QStringLiteral("\r\nNum: ") + QString::number(loaded.error().number) +
                        QStringLiteral(", popis: ") + loaded.message());
        return false;
    }
    m_encoding = loaded.value().encoding;
    {
        // Loading is not a change: the save button waits for the operator's first edit.
        const QSignalBlocker blocker(m_ui->rtbEdit);
        m_ui->rtbEdit->setPlainText(loaded.value().text);
    }
    setWindowTitle(text("Caption"));
    m_ui->btnUloz->setText(text("btnUloz"));
    m_ui->btnVen->setText(text("btnVen"));
    return true;
}

void frmSouboryOt::rtbEdit_Change() {
    m_ui->btnUloz->setEnabled(true);
}

void frmSouboryOt::btnUloz_Click() {
    const QString path = TextFiles::toQString(m_file);
    if (TextFiles::exists(m_file) &&
        !m_prompts.askYesNo(QStringLiteral("Soubor ") + path + QStringLiteral(" již existuje.\r\nPřepsat jej ?")))
        return;
    const Status saved = DataFileOps::ulozZEditace(m_file, m_ui->rtbEdit->toPlainText(), m_encoding);
    if (!saved.ok())
        m_prompts.error(text("ChybaUkl") + QStringLiteral("\r\nNum: ") + QString::number(saved.error().number) +
                        QStringLiteral(", popis: ") + saved.message());
    accept();
}

void frmSouboryOt::btnVen_Click() {
    reject();
}

} // namespace trv
