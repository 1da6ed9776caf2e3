#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace trv {

// Puts a language text where the control shows it: a frame's title, a label's or a button's text.
// False for any other kind of control, which is left as it was.
bool setControlText(QWidget* control, const QString& text);

// A language text as the control's caption (the title for a control of any other kind); a missing text (a blank)
// keeps the design caption.
void setCaptionText(QWidget* control, const QString& text);

// The fixed-pitch font statements and results are shown in, so that their columns line up.
QFont fixedPitchFont();

} // namespace trv
