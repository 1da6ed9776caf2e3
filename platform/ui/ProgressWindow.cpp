#include "platform/ui/ProgressWindow.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace trv {

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// Painting more often than this costs the load time and shows nothing more.
constexpr qint64 kRepaintMs = 50;

} // namespace

ProgressWindow::ProgressWindow(QWidget* owner, const QString& title, int showAfterMs)
    : QDialog(owner), m_owner(owner ? owner->window() : nullptr), m_showAfterMs(showAfterMs) {
    setObjectName(QStringLiteral("frmPrubeh"));
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblPrubeh"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("prgPrubeh"));
    m_bar->setRange(0, 0);
    m_cancel = new QPushButton(QStringLiteral("Přerušit"), this);
    m_cancel->setObjectName(QStringLiteral("cmdPrerusit"));
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel);
    connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::reject);
    qApp->installEventFilter(this);
    m_started.start();
}

ProgressWindow::~ProgressWindow() {
    qApp->removeEventFilter(this);
}

bool ProgressWindow::eventFilter(QObject* watched, QEvent* event) {
    if (m_owner && isUserInput(event->type()) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == m_owner)
        return true;
    return QDialog::eventFilter(watched, event);
}

void ProgressWindow::reject() {
    m_cancelled = true;
    m_cancel->setEnabled(false);
}

void ProgressWindow::showBusy() {
    // Nothing can be cancelled until the load tells its progress.
    m_cancel->setVisible(false);
    show();
    raise();
    QApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    repaint();
}

bool ProgressWindow::step(qint64 done, qint64 total) {
    // The last step is shown at once, the first time it comes; a step told again from within long work (a large
    // file, the work after the last file, a listing not yet counted) waits its turn like any other.
    const bool again = done == m_lastDone && total == m_lastTotal;
    m_lastDone = done;
    m_lastTotal = total;
    if (m_painted.isValid() && m_painted.elapsed() < kRepaintMs && (done < total || again))
        return !m_cancelled;
    m_painted.start();
    m_cancel->setVisible(true);
    if (!isVisible() && m_started.elapsed() >= m_showAfterMs)
        show();
    if (total > 0) {
        // The bar counts in thousandths: a year of files is more than an int holds in some offices' counts.
        m_bar->setRange(0, 1000);
        m_bar->setValue(int(done * 1000 / total));
        m_label->setText(m_stepText.arg(done).arg(total));
    }
    QApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    return !m_cancelled;
}

} // namespace trv
