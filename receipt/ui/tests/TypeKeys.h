#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace trv::test {

// Types the text into the widget as the operator does, one key at a time; "\n" presses Enter. Each key event
// carries its character, so letters with diacritics arrive as typed (QTest::keyClicks takes Latin-1 only).
inline void typeKeys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c == u'\n') {
            QTest::keyClick(widget, Qt::Key_Return);
            continue;
        }
        const Qt::Key key = c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

} // namespace trv::test
