#include "periods/ui/SummaryWidgets.h"

#include "core/ConfigAccess.h"
#include "platform/ui/ControlText.h"

#include <QAbstractButton>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace trv::periodsui {

void setCaption(QWidget* control, const Config& config, const QString& section) {
    setCaptionText(control, config.DejText(section, control->objectName()));
}

void setupResultBox(QPlainTextEdit* box) {
    const QFont font = fixedPitchFont();
    box->setFont(font);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
}

void showText(QPlainTextEdit* box, const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box->setPlainText(shown);
}

void fillTypes(QComboBox* combo, const std::vector<TypeEntry>& entries) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const auto& e : entries)
        combo->addItem(e.text, e.itemData);
    combo->setCurrentIndex(entries.empty() ? -1 : 0);
}

TypeChoice chosenTypes(const QComboBox* combo) {
    if (combo->currentIndex() < 0 || combo->currentData().toInt() == 0)
        return {};
    return {false, combo->currentText()};
}

} // namespace trv::periodsui
