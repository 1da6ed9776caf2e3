#include "receipt/ui/LedDisplay.h"

#include <QLCDNumber>
#include <QString>
#include <QVariant>

namespace trv {

void showWholeNumber(QLCDNumber* display, qint64 value) {
    // Counts come many times a second while a reader runs: an unchanged count costs nothing.
    if (display->value() == static_cast<double>(value) && display->property("trvShown").toBool())
        return;
    display->setProperty("trvShown", true);
    const QString text = QString::number(value);
    if (text.size() > display->digitCount()) {
        display->setDigitCount(int(text.size()));
    }
    display->display(text);
}

} // namespace trv
