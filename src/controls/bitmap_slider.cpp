#include "controls/bitmap_slider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

CBitmapSlider::CBitmapSlider(int* draggingFlag, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), draggingFlag_(draggingFlag) {}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (draggingFlag_)
            *draggingFlag_ = 1;
        // With the handle under the pointer, the press below goes on as a drag of it.
        JumpTo(event->position().toPoint());
    }
    QSlider::mousePressEvent(event);
    update();
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && draggingFlag_)
        *draggingFlag_ = 0;
    QSlider::mouseReleaseEvent(event);
    update();
    if (event->button() == Qt::LeftButton)
        emit releasedCapture();
}

void CBitmapSlider::JumpTo(const QPoint& point) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    if (handle.contains(point))
        return;
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const bool horizontal = orientation() == Qt::Horizontal;
    const int handleLength = horizontal ? handle.width() : handle.height();
    const int start = horizontal ? groove.left() : groove.top();
    const int span = (horizontal ? groove.width() : groove.height()) - handleLength;
    const int at = (horizontal ? point.x() : point.y()) - start - handleLength / 2;
    setSliderPosition(
        QStyle::sliderValueFromPosition(minimum(), maximum(), at, span, option.upsideDown));
}
