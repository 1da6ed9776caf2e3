#include "mainwindow/ui/AppendingTextLayout.h"

#include <QApplication>
#include <QBackingStore>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QWidget>

#include <gtest/gtest.h>

using namespace trv;

namespace {

void paintPending() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The pixels of the box's text area as they stand in the window's backing store (what the screen is given).
QImage shown(QWidget& window, const QPlainTextEdit& box) {
    auto* image = dynamic_cast<QImage*>(window.backingStore()->paintDevice());
    if (!image)
        return {};
    const qreal ratio = image->devicePixelRatio();
    const QWidget* viewport = box.viewport();
    const QRect rect(viewport->mapTo(&window, QPoint(0, 0)) * ratio, viewport->size() * ratio);
    return image->copy(rect).convertToFormat(QImage::Format_RGB32);
}

QPlainTextEdit* makeBox(QWidget& window, int left) {
    auto* box = new QPlainTextEdit(&window);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setGeometry(left, 10, 300, 200);
    return box;
}

// What the main window does with a tick's text: added at the end, the caret and the view follow it.
void appendTick(QPlainTextEdit& box, const QString& text) {
    QTextCursor end(box.document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    box.moveCursor(QTextCursor::End);
}

// The region the box's text area repainted.
class PaintedRegion : public QObject {
public:
    QRegion region;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            region += static_cast<QPaintEvent*>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// Ticks of a reader add a few lines, one line, a line in two parts, or a chunk of more lines than the box shows:
// after every tick the box shows exactly what a box given its whole text at once shows, and once it is full a
// tick of two lines repaints those lines, not the whole box.
TEST(AppendingTextLayoutTest, ShowsWhatTheWholeTextShowsAndRepaintsOnlyTheAddedLines) {
    QWidget window;
    window.resize(640, 220);
    QPlainTextEdit* box = makeBox(window, 10);
    QPlainTextEdit* whole = makeBox(window, 330);
    AppendingTextLayout::install(*box);
    EXPECT_FALSE(box->document()->isUndoRedoEnabled());
    window.show();
    paintPending();

    QString text;
    int serial = 0;
    const auto lines = [&](int count) {
        QString chunk;
        for (int i = 0; i < count; ++i)
            chunk += QStringLiteral("12000%1850\n").arg(++serial, 6, 10, QLatin1Char('0'));
        return chunk;
    };
    const QString ticks[] = {lines(2), lines(1), QStringLiteral("1300"), QStringLiteral("0042850\n"), lines(5),
                             lines(20), lines(2), lines(100), lines(2), lines(1)};
    int tick = 0;
    for (const QString& chunk : ticks) {
        ++tick;
        appendTick(*box, chunk);
        text += chunk;
        whole->setPlainText(text);
        whole->moveCursor(QTextCursor::End);
        paintPending();
        ASSERT_EQ(box->toPlainText(), text);
        const QImage expected = shown(window, *whole);
        ASSERT_FALSE(expected.isNull());
        EXPECT_TRUE(shown(window, *box) == expected) << "tick " << tick;
    }

    PaintedRegion painted;
    box->viewport()->installEventFilter(&painted);
    appendTick(*box, lines(2));
    paintPending();
    const int lineHeight = box->fontMetrics().lineSpacing();
    EXPECT_FALSE(painted.region.isEmpty());
    EXPECT_LE(painted.region.boundingRect().height(), 4 * lineHeight) << "viewport " << box->viewport()->height();
}
