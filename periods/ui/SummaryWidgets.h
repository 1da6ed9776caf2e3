#pragma once

#include "summaries/PeriodState.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QString>

#include <vector>

class QPlainTextEdit;
class QWidget;

namespace trv {

class Config;

// Small helpers shared by the summary windows.
namespace periodsui {

// The language text under the control's name replaces its design caption; a missing text (a blank) keeps it.
void setCaption(QWidget* control, const Config& config, const QString& section);
// The result box: fixed pitch, so that the columns of the tables line up, never wrapping a line.
void setupResultBox(QPlainTextEdit* box);
// The text's CR LF line ends shown as lines.
void showText(QPlainTextEdit* box, const QString& text);
// Refills a type combo box without firing its handlers and selects the first entry.
void fillTypes(QComboBox* combo, const std::vector<TypeEntry>& entries);
// The types the selected entry shows: item data 0 is all of them.
TypeChoice chosenTypes(const QComboBox* combo);
// What the progress window of a ticket list says while the codes are written, %1 of %2.
inline QString stepTextCodesWritten() {
    return QStringLiteral("Zapsáno %1 z %2 stravenek");
}

} // namespace periodsui
} // namespace trv
