#include "datafiles/ui/frmNajdiStrav.h"

#include "core/AppState.h"
#include "datafiles/CodeSearch.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/ui/ProgressWindow.h"
#include "ui_frmNajdiStrav.h"

#include <QApplication>
#include <QStringListModel>

namespace trv {

frmNajdiStrav::frmNajdiStrav(AppState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_state(state), m_prompts(prompts), m_ui(std::make_unique<Ui::frmNajdiStrav>()) {
    m_ui->setupUi(this);
    m_files = new QStringListModel(this);
    m_files->setObjectName(QStringLiteral("lstFilesModel"));
    m_ui->lstFiles->setModel(m_files);
    connect(m_ui->cmdNajdi, &QPushButton::clicked, this, &frmNajdiStrav::cmdNajdi_Click);
    connect(m_ui->cmdBack, &QPushButton::clicked, this, &frmNajdiStrav::cmdBack_Click);

    setWindowTitle(text("Caption"));
    m_ui->Label1->setText(text("Label1"));
    m_ui->cmdNajdi->setText(text("cmdNajdi"));
    m_ui->lblCount->setText(text("lblCount"));
    m_ui->cmdBack->setText(text("cmdBack"));
}

frmNajdiStrav::~frmNajdiStrav() = default;

QString frmNajdiStrav::text(const char* key) const {
    return m_state.config.DejText(QStringLiteral("frmNajdiStrav"), QString::fromLatin1(key));
}

void frmNajdiStrav::cmdNajdi_Click() {
    m_files->setStringList({});
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Result<CodeSearch::Hits> hits = Error{};
    {
        ProgressWindow progress(this, windowTitle());
        hits = CodeSearch::najdi(m_state.gDatovyAdresar, m_ui->txtCode->text(), &progress);
    }
    QApplication::restoreOverrideCursor();
    if (!hits.ok()) {
        m_ui->lblCount->setText(text("lblCount"));
        m_prompts.error(hits.message());
        return;
    }
    m_files->setStringList(hits.value().files);
    if (hits.value().count == 0)
        m_ui->lblCount->setText(text("stravNenal"));
    else
        m_ui->lblCount->setText(text("pocetVyskytu") + signedText(hits.value().count));
    // The count stands for the files that could be read; the operator learns which could not.
    if (!hits.value().unreadable.isEmpty())
        m_prompts.error(QStringLiteral("Tyto soubory nebylo možné prohledat:\r\n") +
                        hits.value().unreadable.join(QStringLiteral("\r\n")));
}

void frmNajdiStrav::cmdBack_Click() {
    reject();
}

} // namespace trv
