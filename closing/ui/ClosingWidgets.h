#pragma once

#include <QComboBox>
#include <QSignalBlocker>
#include <QString>

class QPlainTextEdit;
class QWidget;

namespace trv {

class Config;

// Small helpers shared by the closing windows.
namespace closingui {

// The language text of the control's name replaces its design caption; a missing text (a blank) keeps it.
void setCaption(QWidget* control, const Config& config, const QString& section);
QString languageText(const Config& config, const QString& section, const QString& key);
// The widest line of the statements (their rules and total lines) with a little room to spare.
inline constexpr int kStatementColumns = 50;
// The statement box: a fixed-pitch font, so that the statement's columns line up, and never narrower than a
// statement line.
void setupStatementBox(QPlainTextEdit* box);
// The statement's CR LF line ends shown as lines.
void showStatement(QPlainTextEdit* box, const QString& text);

// Refills a company list without firing its selection handler; item data as the entries give it.
template <typename Entries> void fillCompanies(QComboBox* combo, const Entries& entries) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const auto& e : entries)
        combo->addItem(e.text, e.itemData);
}

} // namespace closingui
} // namespace trv
