#pragma once

#include <QString>

class QDateEdit;
class QLabel;

namespace trv {

class Prompts;

namespace periodsui {

// Makes a date control of a summary window behave as a date field does for the operator: a typed digit replaces
// the section under the cursor (the control would otherwise drop a digit typed into a full day or month), the
// date is taken on Enter or on leaving the field, and a text that is no valid date is refused with a message
// naming the field (the label's text) and the date in force shown again, never replaced silently.
void setupDateField(QDateEdit* edit, const QLabel* label, Prompts& prompts);

} // namespace periodsui
} // namespace trv
