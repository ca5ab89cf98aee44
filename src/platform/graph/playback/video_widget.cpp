#include "platform/graph/playback/video_widget.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace graph {

void FrameSlot::Publish(QImage image) {
    std::lock_guard lock(mutex_);
    image_ = std::move(image);
}

QImage FrameSlot::Latest() const {
    std::lock_guard lock(mutex_);
    return image_;
}

VideoWidget::VideoWidget(std::shared_ptr<const FrameSlot> slot) : slot_(std::move(slot)) {
    // Keys belong to the window that holds the picture.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

// Mouse input over the picture is handed on to the drain, in the drain's coordinates.
bool VideoWidget::event(QEvent* event) {
    if (!drain_)
        return QWidget::event(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        QMouseEvent moved(mouse->type(), drain_->mapFromGlobal(mouse->globalPosition()),
                          mouse->globalPosition(), mouse->button(), mouse->buttons(),
                          mouse->modifiers());
        QCoreApplication::sendEvent(drain_, &moved);
        return true;
    }
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        QWheelEvent moved(drain_->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                          wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                          wheel->modifiers(), wheel->phase(), wheel->inverted());
        QCoreApplication::sendEvent(drain_, &moved);
        return true;
    }
    case QEvent::ContextMenu: {
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        QContextMenuEvent moved(menu->reason(), drain_->mapFromGlobal(menu->globalPos()),
                                menu->globalPos(), menu->modifiers());
        QCoreApplication::sendEvent(drain_, &moved);
        return true;
    }
    default:
        return QWidget::event(event);
    }
}

void VideoWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage image = slot_->Latest();
    if (image.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(rect(), image);
}

} // namespace graph
