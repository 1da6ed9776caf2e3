#include "summaries/ui/SummaryWidgets.h"

#include "core/ConfigAccess.h"
#include "platform/ui/ControlText.h"

#include <QAbstractButton>
#include <QFont>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace trv::summariesui {

void setCaption(QWidget* control, const Config& config, const QString& section) {
    const QString text = config.DejText(section, control->objectName());
    if (text.trimmed().isEmpty())
        return;
    if (!setControlText(control, text))
        control->setWindowTitle(text);
}

void setupResultBox(QPlainTextEdit* box) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), font.family()});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
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

} // namespace trv::summariesui
