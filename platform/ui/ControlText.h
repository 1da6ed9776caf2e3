#pragma once

#include <QString>

class QWidget;

namespace trv {

// Puts a language text where the control shows it: a frame's title, a label's or a button's text.
// False for any other kind of control, which is left as it was.
bool setControlText(QWidget* control, const QString& text);

} // namespace trv
