#include "platform/ui/ControlText.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>

namespace trv {

bool setControlText(QWidget* control, const QString& text) {
    if (auto* box = qobject_cast<QGroupBox*>(control))
        box->setTitle(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else
        return false;
    return true;
}

void setCaptionText(QWidget* control, const QString& text) {
    if (text.trimmed().isEmpty())
        return;
    if (!setControlText(control, text))
        control->setWindowTitle(text);
}

QFont fixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), font.family()});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

} // namespace trv
