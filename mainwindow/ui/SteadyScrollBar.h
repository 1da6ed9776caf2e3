#pragma once

#include <QRect>
#include <QScrollBar>

namespace trv {

// A scroll bar that repaints only the pixels a change of its range or value alters. A box that grows at its end
// changes its scroll bar's range on every new line, and a plain scroll bar repaints itself whole each time
// (groove, arrows and slider, with the style's gradients); once the box holds a few hundred lines the slider
// moves by a pixel or less, so most of those repaints drew the same pixels. Here a change repaints the
// slider's old and new place, and the whole bar only when the arrows' state (value at an end, no range) changes.
// What is repainted is painted in bands (see the source): a taller fill of the style's gradients wakes the
// threads of Qt's global pool for a few hundred pixels.
class SteadyScrollBar final : public QScrollBar {
    Q_OBJECT

public:
    explicit SteadyScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What of the bar's look follows from its range and value.
    struct Look {
        QRect slider;
        bool atMinimum = false;
        bool atMaximum = false;
        bool noRange = false;
        bool operator==(const Look&) const = default;
    };
    Look look() const;

    Look m_painted;
    bool m_paintedValid = false;
};

} // namespace trv
