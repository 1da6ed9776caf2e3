#include "closing/ui/frmTiskUloz.h"

#include "closing/As400Duplicates.h"
#include "closing/PrintJob.h"
#include "closing/ui/ClosingWidgets.h"
#include "core/AppState.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "ui_frmTiskUloz.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace trv {

namespace {
const QString kSection = QStringLiteral("frmTiskUloz");
}

frmTiskUloz::frmTiskUloz(AppState& state, Prompts& prompts, Printer& printer, QStringList hits, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmTiskUloz>()), m_state(state), m_prompts(prompts),
      m_printer(printer), m_hits(std::move(hits)) {
    m_ui->setupUi(this);
    const QString caption = closingui::languageText(m_state.config, kSection, QStringLiteral("Caption"));
    if (!caption.trimmed().isEmpty())
        setWindowTitle(caption);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui->chkS, m_ui->chkT, m_ui->btnOK, m_ui->btnVen, m_ui->Frame1})
        closingui::setCaption(control, m_state.config, kSection);
    m_ui->lblCesta->setText(text("DoAdr") + TextFiles::toQString(m_state.gDatovyAdresar));
    connect(m_ui->chkS, &QCheckBox::toggled, this, &frmTiskUloz::applyRule);
    connect(m_ui->chkT, &QCheckBox::toggled, this, &frmTiskUloz::applyRule);
    connect(m_ui->txtNazevS, &QLineEdit::textChanged, this, &frmTiskUloz::applyRule);
    connect(m_ui->btnOK, &QPushButton::clicked, this, &frmTiskUloz::btnOK_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &QDialog::reject);
    applyRule();
}

frmTiskUloz::~frmTiskUloz() = default;

QString frmTiskUloz::text(const char* key) const {
    return m_state.config.DejText(kSection, QString::fromLatin1(key));
}

void frmTiskUloz::applyRule() {
    const bool save = m_ui->chkS->isChecked();
    const bool print = m_ui->chkT->isChecked();
    const bool named = !m_ui->txtNazevS->text().isEmpty();
    m_ui->txtNazevS->setReadOnly(!save);
    m_ui->txtNazevS->setEnabled(save);
    m_ui->btnOK->setEnabled(save ? named : print);
}

void frmTiskUloz::btnOK_Click() {
    const QStringList lines = As400Duplicates::vystup(text("zobrDuplicit"), m_hits);
    bool written = false;
    if (m_ui->chkS->isChecked()) {
        const QString name = m_ui->txtNazevS->text();
        if (const QString why = As400Duplicates::chybaNazvu(name); !why.isEmpty()) {
            m_prompts.error(text("DosloKChybe") + QStringLiteral("\r\n") + why, QStringLiteral("Chyba"));
            return;
        }
        const auto file = m_state.gDatovyAdresar / (name + QStringLiteral(".txt")).toStdU16String();
        bool save = true;
        if (TextFiles::exists(file))
            save = m_prompts.askYesNo(QStringLiteral("Zadaný soubor již existuje. Přepsat ?"));
        if (save) {
            if (Status s = TextFiles::writeLines(file, lines); !s.ok()) {
                m_prompts.error(text("DosloKChybe") + QStringLiteral("\r\n") + s.message(), QStringLiteral("Chyba"));
                return;
            }
            written = true;
        }
    }
    if (m_ui->chkT->isChecked()) {
        m_printer.setFontName(QStringLiteral("Courier New"));
        for (const QString& line : lines)
            m_printer.print(line);
        if (dokonciTisk(m_printer, 1, m_state.config, m_prompts, kSection))
            written = true;
    }
    if (written)
        accept();
}

} // namespace trv
