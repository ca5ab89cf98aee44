#include "controls/bitmap_slider.h"

#include <QMouseEvent>

CBitmapSlider::CBitmapSlider(int* draggingFlag, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), draggingFlag_(draggingFlag) {}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && draggingFlag_)
        *draggingFlag_ = 1;
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
