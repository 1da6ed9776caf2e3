#include "settings/ui/frmAbout.h"

#include "core/ConfigAccess.h"
#include "platform/Shell.h"
#include "settings/AboutInfo.h"
#include "ui_frmAbout.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QUrl>

namespace trv {

frmAbout::frmAbout(const Config& config, Shell& shell, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmAbout>()), m_shell(shell) {
    m_ui->setupUi(this);
    QFont bold = m_ui->Label1->font();
    bold.setBold(true);
    m_ui->Label1->setFont(bold);
    m_ui->Label2->setText(textVerze(TRV_VERSION_MAJOR, TRV_VERSION_MINOR, TRV_VERSION_PATCH));
    m_ui->lblWeb->setText(QUrl(kWebAdresa).host());
    m_ui->lblMail->setText(kMailAdresa);
    const QString section = QStringLiteral("frmAbout");
    setWindowTitle(config.DejText(section, QStringLiteral("Caption")));
    m_ui->Label3->setText(config.DejText(section, QStringLiteral("Info")));
    m_ui->btnZavri->setText(config.DejText(section, QStringLiteral("btnZavri")));
    for (QWidget* w : {static_cast<QWidget*>(m_ui->frmWeb), static_cast<QWidget*>(m_ui->lblWeb),
                       static_cast<QWidget*>(m_ui->frmMail), static_cast<QWidget*>(m_ui->lblMail)}) {
        w->installEventFilter(this);
        w->setCursor(Qt::PointingHandCursor);
    }
    connect(m_ui->btnZavri, &QPushButton::clicked, this, &QDialog::close);
}

frmAbout::~frmAbout() = default;

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_ui->frmWeb || watched == m_ui->lblWeb) {
            frmWeb_Click();
            return true;
        }
        if (watched == m_ui->frmMail || watched == m_ui->lblMail) {
            frmMail_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::frmWeb_Click() {
    // Nothing is reported when no browser can open it.
    (void)m_shell.openUrl(QUrl(kWebAdresa));
}

void frmAbout::frmMail_Click() {
    (void)m_shell.openUrl(QUrl(QStringLiteral("mailto:") + kMailAdresa));
}

} // namespace trv
