#include "closing/ui/frmUkonceniHled.h"

#include "closing/As400Duplicates.h"
#include "closing/ui/ClosingWidgets.h"
#include "closing/ui/frmTiskUloz.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Prompts.h"
#include "ui_frmUkonceniHled.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QListWidget>
#include <QPushButton>

namespace trv {

namespace {
const QString kSection = QStringLiteral("frmUkonceniHled");
}

frmUkonceniHled::frmUkonceniHled(AppState& state, Prompts& prompts, Printer& printer, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmUkonceniHled>()), m_state(state), m_prompts(prompts),
      m_printer(printer) {
    m_ui->setupUi(this);
    connect(m_ui->cmdSelAll, &QPushButton::clicked, this, &frmUkonceniHled::cmdSelAll_Click);
    connect(m_ui->btnHled, &QPushButton::clicked, this, &frmUkonceniHled::btnHled_Click);
    connect(m_ui->btnVolba, &QPushButton::clicked, this, &frmUkonceniHled::btnVolba_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &QDialog::reject);
    m_ui->ListView1->installEventFilter(this);
}

frmUkonceniHled::~frmUkonceniHled() = default;

QString frmUkonceniHled::text(const char* key) const {
    return m_state.config.DejText(kSection, QString::fromLatin1(key));
}

void frmUkonceniHled::Form_Load() {
    const QString caption = closingui::languageText(m_state.config, kSection, QStringLiteral("Caption"));
    if (!caption.trimmed().isEmpty())
        setWindowTitle(caption);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui->btnHled, m_ui->cmdSelAll, m_ui->btnVolba, m_ui->btnVen, m_ui->Frame1,
                                         m_ui->Frame2, m_ui->Frame3, m_ui->Frame4})
        closingui::setCaption(control, m_state.config, kSection);
    // The AS400 files are where the closing export writes them: the AS400 folder.
    const auto files = As400Duplicates::soubory(m_state.gDirAS400);
    if (!files.ok()) {
        m_prompts.error(files.message());
        return;
    }
    m_ui->ListView1->addItems(files.value());
}

bool frmUkonceniHled::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->ListView1 && event->type() == QEvent::FocusIn)
        resetMarks();
    return QDialog::eventFilter(watched, event);
}

void frmUkonceniHled::resetMarks() {
    for (int i = 0; i < m_ui->ListView1->count(); ++i) {
        QListWidgetItem* item = m_ui->ListView1->item(i);
        QFont f = item->font();
        f.setBold(false);
        item->setFont(f);
        item->setForeground(QBrush());
    }
}

void frmUkonceniHled::cmdSelAll_Click() {
    m_ui->ListView1->selectAll();
}

void frmUkonceniHled::btnHled_Click() {
    m_ui->lstDup->clear();
    if (m_ui->ListView1->selectedItems().isEmpty()) {
        m_prompts.info(text("NebylVybran"));
    } else if (m_prompts.message(text("HledaniMuzeTrvat") + QStringLiteral("\r\n") + text("OpravduChcete"),
                                 Prompts::Buttons::YesNo, Prompts::Icon::Question) == Prompts::Answer::Yes) {
        if (!m_state.gAS400 || !hledejDuplicity())
            m_prompts.error(text("BehHledChyba"));
    }
    const QString again = text("NovHled");
    if (!again.trimmed().isEmpty())
        m_ui->btnHled->setText(again);
}

bool frmUkonceniHled::hledejDuplicity() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QStringList chosen;
    for (int i = 0; i < m_ui->ListView1->count(); ++i) {
        if (m_ui->ListView1->item(i)->isSelected())
            chosen.append(m_ui->ListView1->item(i)->text());
    }
    As400Duplicates::Result partial;
    const auto found = As400Duplicates::hledej(
        m_state.gDirAS400, chosen, As400Duplicates::castiKodu(*m_state.gColStrav, m_state.gNoRead), &partial);
    const As400Duplicates::Result& shown = found.ok() ? found.value() : partial;
    for (int i = 0; i < m_ui->ListView1->count(); ++i) {
        QListWidgetItem* item = m_ui->ListView1->item(i);
        if (shown.filesWithHits.contains(item->text())) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            item->setForeground(QColor(255, 0, 0));
        }
    }
    for (const auto& hit : shown.hits)
        m_ui->lstDup->addItem(hit.line());
    QApplication::restoreOverrideCursor();
    return found.ok();
}

void frmUkonceniHled::btnVolba_Click() {
    QStringList hits;
    for (int i = 0; i < m_ui->lstDup->count(); ++i)
        hits.append(m_ui->lstDup->item(i)->text());
    frmTiskUloz dialog(m_state, m_prompts, m_printer, hits, this);
    dialog.exec();
}

} // namespace trv
