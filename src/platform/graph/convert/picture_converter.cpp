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

FramePtr PictureConverter::Convert(const AVFrame* picture) {
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return nullptr;
    frame->format = format_;
    frame->width = width_;
    frame->height = height_;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
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
