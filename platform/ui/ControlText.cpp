#include "platform/ui/ControlText.h"

#include <QAbstractButton>
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

} // namespace trv
