#include "platform/editing/video_frame_reader.h"

#include <limits>

namespace editing {

namespace {
// Decoding on is cheaper than seeking up to this far ahead.
constexpr REFERENCE_TIME kDecodeAhead = 3 * UNITS;
} // namespace

HRESULT VideoFrameReader::Open(const std::string& path) {
    return file_.Open(path, AVMEDIA_TYPE_VIDEO);
}

bool VideoFrameReader::DecodeNext() {
    graph::FramePtr frame(av_frame_alloc());
    while (file_.Decode(frame.get())) {
        const REFERENCE_TIME start = file_.StartOf(frame.get());
        if (start == AV_NOPTS_VALUE || (current_ && start <= currentStart_)) {
            av_frame_unref(frame.get());
            continue; // a frame without a place, or out of order after a seek: skip it
        }
        next_ = std::move(frame);
        nextStart_ = start;
        return true;
    }
    return false;
}

void VideoFrameReader::Reposition(REFERENCE_TIME t) {
    file_.SeekBefore(t);
    current_.reset();
    next_.reset();
    ended_ = false;
}

const AVFrame* VideoFrameReader::FrameAt(REFERENCE_TIME t) {
    if (current_ && t >= currentStart_ && (t < currentStop_ || ended_))
        return current_.get();
    if (!current_ || t < currentStart_ || t - currentStart_ > kDecodeAhead)
        Reposition(t);
    for (;;) {
        if (!next_ && !DecodeNext()) {
            ended_ = true;
            currentStop_ = std::numeric_limits<REFERENCE_TIME>::max();
            return current_.get();
        }
        if (current_ && nextStart_ > t) {
            currentStop_ = nextStart_;
            return current_.get();
        }
        current_ = std::move(next_);
        currentStart_ = nextStart_;
    }
}

} // namespace editing
