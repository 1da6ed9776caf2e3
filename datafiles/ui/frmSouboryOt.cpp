#include "datafiles/ui/frmSouboryOt.h"

#include "core/AppState.h"
#include "datafiles/ui/ErrorMessage.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "platform/ui/ProgressWindow.h"
#include "ui_frmSouboryOt.h"

#include <algorithm>

namespace trv {

frmSouboryOt::frmSouboryOt(AppState& state, Prompts& prompts, std::filesystem::path file, QWidget* parent)
    : QDialog(parent), m_state(state), m_prompts(prompts), m_file(std::move(file)),
      m_ui(std::make_unique<Ui::frmSouboryOt>()) {
    m_ui->setupUi(this);
    // Enter belongs to the text: a new line, never the save.
    m_ui->btnUloz->setAutoDefault(false);
    m_ui->btnVen->setAutoDefault(false);
    connect(m_ui->btnUloz, &QPushButton::clicked, this, &frmSouboryOt::btnUloz_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &frmSouboryOt::btnVen_Click);
}

frmSouboryOt::~frmSouboryOt() = default;

QString frmSouboryOt::text(const char* key) const {
    return m_state.config.DejText(QStringLiteral("frmSouboryOt"), QString::fromLatin1(key));
}

bool frmSouboryOt::Form_Load() {
    m_ui->lblEdit->setText(TextFiles::toQString(m_file));
    Result<DataFileText> loaded = Error{};
    bool cancelled = false;
    {
        ProgressWindow window(parentWidget() != nullptr ? parentWidget() : this, text("Caption"));
        window.setStepText(QStringLiteral("Načteno %1 z %2 MB"));
        // The loader counts bytes; the window shows megabytes.
        struct InMegabytes final : Progress {
            Progress& to;
            explicit InMegabytes(Progress& p) : to(p) {}
            bool step(qint64 done, qint64 total) override {
                return to.step(done >> 20, std::max<qint64>(1, total >> 20));
            }
        } progress(window);
        // A large file: the window says at once that the program works, before the first piece is read.
        std::error_code ec;
        if (const auto size = std::filesystem::file_size(m_file, ec); !ec && size >= (std::uintmax_t(16) << 20))
            window.showBusy();
        loaded = DataFileText::load(m_file, &progress);
        cancelled = window.cancelled();
    }
    if (!loaded.ok()) {
        // The operator stopped it: nothing failed, and the editor does not open.
        if (cancelled)
            m_prompts.error(Progress::cancelledText());
        else
            m_prompts.error(errorMessage(text("ChybaOtevr"), loaded.error(), QStringLiteral(", popis: ")));
        return false;
    }
    m_text = std::move(loaded).value();
    // Loading is not a change: the save button waits for the operator's first edit.
    m_ui->rtbEdit->setText(&m_text, [this] { rtbEdit_Change(); });
    m_ui->rtbEdit->setFocus();
    setWindowTitle(text("Caption"));
    m_ui->btnUloz->setText(text("btnUloz"));
    m_ui->btnVen->setText(text("btnVen"));
    return true;
}

void frmSouboryOt::rtbEdit_Change() {
    m_ui->btnUloz->setEnabled(true);
}

void frmSouboryOt::btnUloz_Click() {
    m_ui->rtbEdit->commitEdit();
    const QString path = TextFiles::toQString(m_file);
    if (TextFiles::exists(m_file) &&
        !m_prompts.askYesNo(QStringLiteral("Soubor ") + path + QStringLiteral(" již existuje.\r\nPřepsat jej ?")))
        return;
    const Status saved = m_text.save(m_file);
    if (!saved.ok())
        m_prompts.error(errorMessage(text("ChybaUkl"), saved.error(), QStringLiteral(", popis: ")));
    accept();
}

void frmSouboryOt::btnVen_Click() {
    // The button says what it does: close without saving.
    QDialog::reject();
}

void frmSouboryOt::reject() {
    m_ui->rtbEdit->commitEdit();
    // Enter starts a new line in the editor: a typist's Enter that meets this question must keep the changes.
    if (m_text.isModified() &&
        !m_prompts.askYesNo(QStringLiteral("Změny v souboru ") + TextFiles::toQString(m_file) +
                                QStringLiteral(" nejsou uloženy.\r\nZavřít editor a změny zahodit?"),
                            {}, Prompts::Answer::No))
        return;
    QDialog::reject();
}

} // namespace trv
