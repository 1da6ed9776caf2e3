#include "mainwindow/ui/SteadyScrollBar.h"

#include <QApplication>
#include <QBackingStore>
#include <QEvent>
#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include <gtest/gtest.h>

using namespace trv;

namespace {

// Lets the window paint what is pending into its backing store.
void paintPending() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The pixels of the bar as they stand in the window's backing store (what the screen is given).
QImage shown(QWidget& window, const QWidget& bar) {
    auto* image = dynamic_cast<QImage*>(window.backingStore()->paintDevice());
    if (!image)
        return {};
    const qreal ratio = image->devicePixelRatio();
    const QRect rect(bar.mapTo(&window, QPoint(0, 0)) * ratio, bar.size() * ratio);
    return image->copy(rect).convertToFormat(QImage::Format_RGB32);
}

} // namespace

// A box growing at its end moves its slider by a few pixels at a time, and back to a whole repaint when the
// value leaves the end or the range goes: after every step the screen holds exactly what a scroll bar painted
// whole would show.
TEST(SteadyScrollBarTest, ShowsWhatAWholeRepaintShowsAfterEveryChange) {
    // The bar and, beside it, a plain scroll bar that repaints itself whole on every change.
    QWidget window;
    window.resize(80, 400);
    auto* bar = new SteadyScrollBar(Qt::Vertical, &window);
    auto* whole = new QScrollBar(Qt::Vertical, &window);
    bar->setGeometry(10, 10, 16, 380);
    whole->setGeometry(50, 10, 16, 380);
    for (QScrollBar* b : {static_cast<QScrollBar*>(bar), whole}) {
        b->setPageStep(20);
        b->setRange(0, 0);
    }
    window.show();
    paintPending();

    struct Step {
        int maximum;
        int value;
    };
    const Step steps[] = {{0, 0}, {5, 5}, {40, 40}, {42, 42}, {43, 43}, {300, 300}, {302, 302}, {303, 303},
                          {310, 200}, {310, 310}, {2000, 2000}, {2002, 2002}, {2002, 0}, {0, 0}, {50, 50}};
    for (const Step& step : steps) {
        for (QScrollBar* b : {static_cast<QScrollBar*>(bar), whole}) {
            b->setRange(0, step.maximum);
            b->setValue(step.value);
        }
        paintPending();
        const QImage expected = shown(window, *whole);
        ASSERT_FALSE(expected.isNull());
        EXPECT_TRUE(shown(window, *bar) == expected) << "maximum " << step.maximum << ", value " << step.value;
    }
}

namespace {

// Paint events a widget received.
class PaintCount : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// Once shown (and so polished by the style), a move of the slider repaints the bar alone: the window behind it is
// not painted again.
TEST(SteadyScrollBarTest, AMoveOfTheSliderDoesNotRepaintTheWindowBehind) {
    QWidget window;
    window.resize(80, 400);
    auto* bar = new SteadyScrollBar(Qt::Vertical, &window);
    bar->setGeometry(10, 10, 16, 380);
    bar->setPageStep(20);
    bar->setRange(0, 300);
    bar->setValue(300);
    window.show();
    paintPending();

    PaintCount behind;
    PaintCount own;
    window.installEventFilter(&behind);
    bar->installEventFilter(&own);
    bar->setRange(0, 302);
    bar->setValue(302);
    paintPending();

    EXPECT_EQ(own.count, 1);
    EXPECT_EQ(behind.count, 0);
}
