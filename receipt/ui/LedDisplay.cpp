#include "receipt/ui/LedDisplay.h"

#include <QLCDNumber>
#include <QString>

namespace trv {

void showWholeNumber(QLCDNumber* display, qint64 value) {
    const QString text = QString::number(value);
    if (text.size() > display->digitCount()) {
        display->setDigitCount(int(text.size()));
    }
    display->display(text);
}

} // namespace trv
