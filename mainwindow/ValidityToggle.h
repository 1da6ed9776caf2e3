#pragma once

#include <QString>

namespace trv {

struct AppState;

// Ctrl+E on the main window switches the validity check and the company check off and on together, whatever
// their values before; panel 2 of the status bar shows "E" while they are on. The keys are tracked as held
// down, so Ctrl then E and E then Ctrl both toggle once, and one key pressed twice never does.
class ValidityToggle {
public:
    enum class Key { Ctrl, E, Other };

    explicit ValidityToggle(AppState& state) : m_state(state) {}

    // True when this key completed Ctrl+E and the checks were switched.
    bool keyDown(Key key);
    void keyUp(Key key);

    // "E" while the checks are on, else empty.
    QString panelText() const;

private:
    AppState& m_state;
    bool m_stisknutoCtrl = false;
    bool m_stisknutoE = false;
};

} // namespace trv
