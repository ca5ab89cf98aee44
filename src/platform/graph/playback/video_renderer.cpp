#include "platform/graph/playback/video_renderer.h"

#include "platform/graph/interfaces.h"
#include "platform/graph/playback/video_widget.h"

extern "C" {
#include <libswscale/swscale.h>
}

namespace graph {

VideoRenderer::VideoRenderer()
    : Renderer("Video Renderer", MajorType::Video), slot_(std::make_shared<FrameSlot>()),
      notifier_(std::make_unique<QObject>()) {}

VideoRenderer::~VideoRenderer() {
    delete widget_.data();
    sws_freeContext(scaler_);
}

bool VideoRenderer::Accepts(const Pin&, const MediaType& type) const {
    // Decoded pictures only: a compressed stream needs a decoder first.
    return type.Major() == MajorType::Video && type.IsDecoded();
}

QSize VideoRenderer::VideoSize() const {
    MediaType type;
    if (FAILED(Input()->ConnectionMediaType(&type)) || !type.Parameters())
        return {};
    return {type.Parameters()->width, type.Parameters()->height};
}

REFERENCE_TIME VideoRenderer::AvgTimePerFrame() const {
    MediaType type;
    if (FAILED(Input()->ConnectionMediaType(&type)))
        return 0;
    return type.AvgTimePerFrame();
}

void VideoRenderer::SetOwner(QWidget* owner) {
    owner_ = owner;
    if (!owner) {
        delete widget_.data();
        return;
    }
    if (!widget_)
        widget_ = new VideoWidget(slot_);
    widget_->setParent(owner);
    ApplyWindow();
}

void VideoRenderer::SetDrain(QWidget* drain) {
    drain_ = drain;
    ApplyWindow();
}

void VideoRenderer::SetVisible(bool visible) {
    visible_ = visible;
    ApplyWindow();
}

void VideoRenderer::SetPlacement(const QRect& placement) {
    placement_ = placement;
    ApplyWindow();
}

void VideoRenderer::ApplyWindow() {
    if (!widget_)
        return;
    QRect placement = placement_;
    if (placement.isEmpty())
        placement = QRect(QPoint(0, 0), VideoSize());
    widget_->setGeometry(placement);
    widget_->SetDrain(drain_ ? drain_.data() : owner_.data());
    widget_->setVisible(visible_);
}

void VideoRenderer::Present(MediaSample& sample, bool first) {
    if (!sample.frame)
        return;
    if (!first) {
        if (!WaitForTime(sample.start))
            return;
        // A frame whose time has passed is dropped so the picture catches up with the clock.
        if (Position() >= sample.stop)
            return;
    }
    Show(sample.frame.get());
}

void VideoRenderer::Show(const AVFrame* frame) {
    scaler_ = sws_getCachedContext(
        scaler_, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
        frame->width, frame->height, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!scaler_)
        return;
    QImage image(frame->width, frame->height, QImage::Format_RGB32);
    std::uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int strides[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    sws_scale(scaler_, frame->data, frame->linesize, 0, frame->height, planes, strides);
    slot_->Publish(std::move(image));
    QMetaObject::invokeMethod(
        notifier_.get(),
        [this] {
            if (widget_)
                widget_->update();
        },
        Qt::QueuedConnection);
}

} // namespace graph
