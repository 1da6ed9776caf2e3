#pragma once

#include <QtGlobal>

class QLCDNumber;

namespace trv {

// Shows a whole number on an LED display. The display widens to the number instead of
// dropping it: a count past the designed width must still be readable.
void showWholeNumber(QLCDNumber* display, qint64 value);

} // namespace trv
