#include "closing/ui/ClosingWidgets.h"

#include "core/ConfigAccess.h"
#include "platform/ui/ControlText.h"

#include <QAbstractButton>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QtMath>

namespace trv::closingui {

QString languageText(const Config& config, const QString& section, const QString& key) {
    return config.DejText(section, key);
}

void setCaption(QWidget* control, const Config& config, const QString& section) {
    setCaptionText(control, config.DejText(section, control->objectName()));
}

void setupStatementBox(QPlainTextEdit* box) {
    const QFont font = fixedPitchFont();
    box->setFont(font);
    // However small the window is made, a whole statement line stays in view: a column cut off at the box's
    // edge reads as a different amount.
    const int text = QFontMetrics(font).horizontalAdvance(QString(kStatementColumns, u'0'));
    const int margins = 2 * box->frameWidth() + 2 * qCeil(box->document()->documentMargin());
    box->setMinimumWidth(text + margins + box->verticalScrollBar()->sizeHint().width());
}

void showStatement(QPlainTextEdit* box, const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box->setPlainText(shown);
}

} // namespace trv::closingui
