#include "align/picture_events.h"

#include "platform/editing/media_file.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace align {

namespace {
// Frames are compared as small grey pictures: enough to see a flash or a board, too coarse
// for grain and compression noise to count.
constexpr int kGreyWidth = 64;
constexpr int kGreyHeight = 36;
// An event changes the picture by this much on average (of 255) at least ...
constexpr double kMinChange = 8;
// ... and by this many times the usual change of the frames before it, so that motion and
// camera shake do not count.
constexpr double kOverUsual = 4;
constexpr std::size_t kUsualFrames = 12;
// A change back to the frame before an event within this many frames ends a flash.
constexpr int kFlashFrames = 4;
// Progress is told at most this often, in frames.
constexpr int kFramesPerReport = 32;

double MeanDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    long sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return double(sum) / double(a.size());
}

double Median(std::deque<double> values) {
    if (values.empty())
        return 0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}
} // namespace

PictureEventDetector::~PictureEventDetector() {
    sws_freeContext(scaler_);
}

bool PictureEventDetector::Shrink(const AVFrame* frame, Grey* grey) {
    scaler_ = sws_getCachedContext(
        scaler_, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), kGreyWidth,
        kGreyHeight, AV_PIX_FMT_GRAY8, SWS_AREA, nullptr, nullptr, nullptr);
    if (!scaler_)
        return false;
    grey->assign(std::size_t(kGreyWidth) * kGreyHeight, 0);
    std::uint8_t* planes[4] = {grey->data(), nullptr, nullptr, nullptr};
    int strides[4] = {kGreyWidth, 0, 0, 0};
    return sws_scale(scaler_, frame->data, frame->linesize, 0, frame->height, planes, strides) > 0;
}

void PictureEventDetector::Feed(const AVFrame* frame, REFERENCE_TIME start) {
    Grey grey;
    if (!Shrink(frame, &grey))
        return;
    if (last_.empty()) {
        last_ = std::move(grey);
        return;
    }
    const double change = MeanDifference(grey, last_);
    const double usual = Median(recentChanges_);
    if (framesSinceEvent_ >= 0)
        ++framesSinceEvent_;
    const bool sudden = change >= kMinChange && change >= kOverUsual * usual;
    // A flash going out: the picture comes back to what it was before the flash came.
    const bool flashEnds = sudden && framesSinceEvent_ >= 0 && framesSinceEvent_ <= kFlashFrames &&
                           MeanDifference(grey, beforeEvent_) < change / kOverUsual;
    if (sudden && !flashEnds) {
        events_.push_back(start);
        beforeEvent_ = last_;
        framesSinceEvent_ = 0;
    }
    // An event's own change is not part of the usual one.
    if (!sudden) {
        recentChanges_.push_back(change);
        if (recentChanges_.size() > kUsualFrames)
            recentChanges_.pop_front();
    }
    last_ = std::move(grey);
}

HRESULT FindPictureEvents(const std::string& path, const std::function<bool(double)>& progress,
                          std::vector<REFERENCE_TIME>* events, REFERENCE_TIME* frameDuration) {
    events->clear();
    *frameDuration = 0;
    editing::MediaFile file;
    if (const HRESULT hr = file.Open(path, AVMEDIA_TYPE_VIDEO); FAILED(hr))
        return hr;
    // The deblocking filter only smooths block edges; a flash or a cut shows without it, and
    // the whole video decodes faster.
    file.Codec()->skip_loop_filter = AVDISCARD_ALL;
    const AVStream* stream = file.Stream();
    if (stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0)
        *frameDuration = graph::ToRefTime(1, av_inv_q(stream->avg_frame_rate));
    REFERENCE_TIME length = 0;
    if (file.Format()->duration != AV_NOPTS_VALUE && file.Format()->duration > 0)
        length = graph::ToRefTime(file.Format()->duration, AV_TIME_BASE_Q);
    PictureEventDetector detector;
    graph::FramePtr frame(av_frame_alloc());
    REFERENCE_TIME start = 0;
    for (int frames = 0; file.Decode(frame.get()); ++frames) {
        // A frame without a time follows the one before.
        const REFERENCE_TIME stated = file.StartOf(frame.get());
        start = stated != AV_NOPTS_VALUE ? stated : start + *frameDuration;
        detector.Feed(frame.get(), start);
        av_frame_unref(frame.get());
        if (frames % kFramesPerReport == 0 && progress &&
            !progress(length > 0 ? std::clamp(double(start) / double(length), 0.0, 1.0) : 0.0))
            return E_ABORT;
    }
    *events = detector.Events();
    return file.Failure();
}

} // namespace align
