#include "datafiles/ui/WorkingWindowIndicator.h"

#include "datafiles/ui/frmPracuji.h"

#include <QApplication>

namespace trv {

WorkingWindowIndicator::WorkingWindowIndicator(const Config& config, QWidget* owner)
    : m_config(config), m_owner(owner) {}

WorkingWindowIndicator::~WorkingWindowIndicator() {
    delete m_window.data();
}

void WorkingWindowIndicator::show(const QString& message) {
    if (message.isEmpty()) {
        hide();
        return;
    }
    if (!m_window) {
        m_window = new frmPracuji(m_config, message, m_owner.data());
    }
    m_window->show();
    m_window->raise();
    // The caller starts its long work right after this: the window must be on screen first. Port
    // and user input wait, so no code is booked while the window appears.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    m_window->repaint();
}

void WorkingWindowIndicator::hide() {
    delete m_window.data();
}

} // namespace trv
