#include "platform/graph/video_widget.h"

#include <QPainter>

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
    // Clicks and keys over the picture belong to the window that holds it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
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
