#include "mainwindow/ui/SteadyScrollBar.h"

#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>

namespace trv {

namespace {

// The raster engine hands a fill of a gradient over more rows than this to the global thread pool, waking its
// threads for a few hundred pixels of a scroll bar; painted in bands of at most this height, each fill stays on
// the painting thread.
constexpr int kBandRows = 64;

} // namespace

SteadyScrollBar::SteadyScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool SteadyScrollBar::event(QEvent* event) {
    const bool handled = QScrollBar::event(event);
    // The bar paints the window's background under itself: a repaint of the slider is not a repaint of the
    // window, the frame and the box behind it as well. The style takes the mark away when it polishes a
    // scroll bar, so it is given again after every polish.
    if (event->type() == QEvent::Polish)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

SteadyScrollBar::Look SteadyScrollBar::look() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    Look l;
    l.slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    l.atMinimum = value() == minimum();
    l.atMaximum = value() == maximum();
    l.noRange = minimum() == maximum();
    return l;
}

void SteadyScrollBar::sliderChange(SliderChange change) {
    // Changes of orientation and the like, and any change before the first paint, repaint as ever.
    if (!m_paintedValid || (change != SliderRangeChange && change != SliderValueChange)) {
        QScrollBar::sliderChange(change);
        return;
    }
    const Look now = look();
    if (now == m_painted)
        return;
    const bool sliderOnly = now.atMinimum == m_painted.atMinimum && now.atMaximum == m_painted.atMaximum &&
                            now.noRange == m_painted.noRange && !now.noRange;
    if (sliderOnly)
        update(now.slider.united(m_painted.slider));
    else
        update();
    // The bar is drawn as `now` by the update just asked for.
    m_painted = now;
}

void SteadyScrollBar::paintEvent(QPaintEvent* event) {
    {
        QPainter background(this);
        for (const QRect& rect : event->region())
            background.fillRect(rect, palette().brush(QPalette::Window));
    }
    // Pressed or under the pointer the bar shows states only QScrollBar knows: it paints itself then.
    if (underMouse() || isSliderDown() || repeatAction() != SliderNoAction) {
        QScrollBar::paintEvent(event);
    } else {
        // What QScrollBar paints with nothing hovered or pressed, band by band.
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_All;
        option.activeSubControls = QStyle::SC_None;
        const qreal ratio = devicePixelRatio();
        QPainter painter(this);
        for (const QRect& rect : event->region()) {
            for (int top = rect.top(); top <= rect.bottom(); top += kBandRows) {
                const QRect band(rect.left(), top, rect.width(), std::min(kBandRows, rect.bottom() - top + 1));
                // Drawn whole into an image of the band: the style draws some lines differently under a clip.
                QImage image(band.size() * ratio, QImage::Format_ARGB32_Premultiplied);
                image.setDevicePixelRatio(ratio);
                image.fill(Qt::transparent);
                QPainter bandPainter(&image);
                bandPainter.translate(-band.topLeft());
                style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &bandPainter, this);
                bandPainter.end();
                painter.drawImage(band.topLeft(), image);
            }
        }
    }
    m_painted = look();
    m_paintedValid = true;
}

} // namespace trv
