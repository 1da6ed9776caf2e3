#include "closing/ui/ClosingWidgets.h"

#include "core/ConfigAccess.h"

#include <QAbstractButton>
#include <QFont>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace trv::closingui {

QString languageText(const Config& config, const QString& section, const QString& key) {
    return config.DejText(section, key);
}

void setCaption(QWidget* control, const Config& config, const QString& section) {
    const QString text = config.DejText(section, control->objectName());
    if (text.trimmed().isEmpty())
        return;
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* frame = qobject_cast<QGroupBox*>(control))
        frame->setTitle(text);
    else
        control->setWindowTitle(text);
}

void setupStatementBox(QPlainTextEdit* box) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), font.family()});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    box->setFont(font);
}

void showStatement(QPlainTextEdit* box, const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box->setPlainText(shown);
}

} // namespace trv::closingui
