#include "mainwindow/ValidityToggle.h"

#include "core/AppState.h"

namespace trv {

bool ValidityToggle::keyDown(Key key) {
    if (key == Key::Ctrl)
        m_stisknutoCtrl = true;
    else if (key == Key::E)
        m_stisknutoE = true;
    if (!m_stisknutoCtrl || !m_stisknutoE)
        return false;
    m_stisknutoCtrl = false;
    m_stisknutoE = false;
    const bool on = !m_state.gKontrolaPlatnostiZap;
    m_state.gKontrolaPlatnostiZap = on;
    m_state.sw.gFKontrolaSpolecnosti = on;
    return true;
}

void ValidityToggle::keyUp(Key key) {
    if (key == Key::Ctrl)
        m_stisknutoCtrl = false;
    else if (key == Key::E)
        m_stisknutoE = false;
}

QString ValidityToggle::panelText() const {
    return m_state.gKontrolaPlatnostiZap ? QStringLiteral("E") : QString();
}

} // namespace trv
