#include "platform/graph/convert/picture_converter.h"

extern "C" {
#include <libswscale/swscale.h>
}

namespace graph {

PictureConverter::PictureConverter(int width, int height, AVPixelFormat format)
    : width_(width), height_(height), format_(format) {}

PictureConverter::~PictureConverter() {
    sws_freeContext(scaler_);
}

FramePtr PictureConverter::Blank() const {
    FramePtr frame(av_frame_alloc());
    if (frame) {
        frame->format = format_;
        frame->width = width_;
        frame->height = height_;
    }
    return frame;
}

// A picture already in the size and format shares its pixels: a conversion would only copy
// them. Nothing else of the decoded frame comes along (its picture type would force the
// encoder's).
FramePtr PictureConverter::Share(const AVFrame* picture) const {
    FramePtr frame = Blank();
    if (!frame)
        return nullptr;
    for (int i = 0; i < AV_NUM_DATA_POINTERS; ++i) {
        if (picture->buf[i] && !(frame->buf[i] = av_buffer_ref(picture->buf[i])))
            return nullptr;
        frame->data[i] = picture->data[i];
        frame->linesize[i] = picture->linesize[i];
    }
    return frame;
}

FramePtr PictureConverter::Convert(const AVFrame* picture) {
    if (picture->width == width_ && picture->height == height_ && picture->format == format_ &&
        picture->buf[0] && !picture->hw_frames_ctx)
        return Share(picture);
    FramePtr frame = Blank();
    if (!frame || av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    scaler_ = sws_getCachedContext(scaler_, picture->width, picture->height,
                                   static_cast<AVPixelFormat>(picture->format), width_, height_,
                                   format_, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!scaler_)
        return nullptr;
    sws_scale(scaler_, picture->data, picture->linesize, 0, picture->height, frame->data,
              frame->linesize);
    return frame;
}

} // namespace graph
