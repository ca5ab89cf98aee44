#include "platform/editing/video_group_stream.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <limits>

namespace editing {

namespace {

// The media time a source plays at output time t: its media span laid over its timeline span.
REFERENCE_TIME MediaTimeAt(const PlacedSource& source, REFERENCE_TIME t) {
    const double into = static_cast<double>(t - source.timeline.start);
    const double rate = static_cast<double>(source.media.Length()) /
                        static_cast<double>(source.timeline.Length());
    return source.media.start + static_cast<REFERENCE_TIME>(std::floor(into * rate));
}

// Where a source shows media time m on the timeline: the first timeline time that maps to m
// or later, so a frame's span comes back whole; the source's end past its last frame.
REFERENCE_TIME TimelineTimeOf(const PlacedSource& source, REFERENCE_TIME m) {
    const REFERENCE_TIME into = m - source.media.start;
    if (m == std::numeric_limits<REFERENCE_TIME>::max() || into >= source.media.Length())
        return source.timeline.stop;
    if (source.media.Length() == source.timeline.Length())
        return source.timeline.start + into;
    const double rate =
        static_cast<double>(source.timeline.Length()) / static_cast<double>(source.media.Length());
    return source.timeline.start + static_cast<REFERENCE_TIME>(std::ceil(into * rate));
}

// A rate of {0, 1} declares no steady frame time.
graph::MediaType DeclaredType(int width, int height, AVRational rate) {
    AVCodecParameters* p = avcodec_parameters_alloc();
    p->codec_type = AVMEDIA_TYPE_VIDEO;
    p->codec_id = AV_CODEC_ID_NONE;
    p->width = width;
    p->height = height;
    p->format = AV_PIX_FMT_RGB24;
    graph::MediaType type(graph::MajorType::Video, p, graph::kRefTimeBase,
                          rate.num > 0 ? av_rescale(UNITS, rate.den, rate.num) : 0);
    avcodec_parameters_free(&p);
    return type;
}

} // namespace

VideoGroupStream::VideoGroupStream(std::vector<PlacedSource> sources, int width, int height,
                                   double fps)
    : sources_(JoinContinuingPieces(std::move(sources))), width_(width), height_(std::abs(height)),
      rate_(graph::ExactFrameRate(fps)), length_(GroupLength(sources_)),
      type_(DeclaredType(width_, height_, rate_)) {}

VideoGroupStream::~VideoGroupStream() {
    sws_freeContext(scaler_);
}

HRESULT VideoGroupStream::Create(std::vector<PlacedSource> sources, int width, int height,
                                 double fps, bool followSourceTimes,
                                 std::unique_ptr<VideoGroupStream>* out) {
    if (width <= 0 || height == 0 || !(fps > 0))
        return E_INVALIDARG;
    std::unique_ptr<VideoGroupStream> stream(new VideoGroupStream(std::move(sources), width, height, fps));
    const HRESULT hr = OpenReaders(stream->sources_, stream->readers_);
    if (FAILED(hr))
        return hr;
    // A steady source is better served by the exact grid of its own rate.
    stream->sourceTimes_ =
        followSourceTimes && !stream->readers_.empty() &&
        std::all_of(stream->readers_.begin(), stream->readers_.end(),
                    [](const auto& reader) { return reader.second->FrameTimesVary(); });
    if (stream->sourceTimes_)
        stream->type_ = DeclaredType(stream->width_, stream->height_, {0, 1});
    *out = std::move(stream);
    return S_OK;
}

REFERENCE_TIME VideoGroupStream::FrameTime(std::int64_t k) const {
    // Rounded as a writer rounds its time stamps, so frame k lands on tick k of the rate.
    return av_rescale_rnd(k, UNITS * rate_.den, rate_.num, AV_ROUND_NEAR_INF);
}

std::int64_t VideoGroupStream::FrameHolding(REFERENCE_TIME t) const {
    // The last frame starting at or before t; FrameTime rounds, so the first guess may be one off.
    std::int64_t k = av_rescale_rnd(t, rate_.num, UNITS * rate_.den, AV_ROUND_DOWN);
    while (k > 0 && FrameTime(k) > t)
        --k;
    while (FrameTime(k + 1) <= t)
        ++k;
    return std::max<std::int64_t>(k, 0);
}

void VideoGroupStream::Seek(REFERENCE_TIME t) {
    next_ = FrameHolding(t);
    nextTime_ = std::max<REFERENCE_TIME>(t, 0);
}

bool VideoGroupStream::NextInSourceTime(graph::MediaSample& sample) {
    const REFERENCE_TIME start = nextTime_;
    if (start >= length_)
        return false;
    const PlacedSource* source = SourceAt(sources_, start);
    const AVFrame* picture = nullptr;
    REFERENCE_TIME stop = length_;
    if (source) {
        VideoFrameReader& reader = *readers_[source->path];
        picture = reader.FrameAt(MediaTimeAt(*source, start));
        stop = std::min(TimelineTimeOf(*source, reader.ShownUntil()), source->timeline.stop);
    } else {
        // Black at the grid's pace up to where the next source starts.
        stop = FrameTime(FrameHolding(start) + 1);
        for (const PlacedSource& later : sources_) {
            if (later.timeline.start > start) {
                stop = std::min(stop, later.timeline.start);
                break;
            }
        }
    }
    sample.start = start;
    sample.stop = std::clamp(stop, start + 1, length_);
    nextTime_ = sample.stop;
    sample.frame = picture ? Fit(picture, source->stretchMode) : Black();
    if (!sample.frame)
        return false;
    sample.frame->pts = sample.start;
    return true;
}

bool VideoGroupStream::Next(graph::MediaSample& sample) {
    if (sourceTimes_)
        return NextInSourceTime(sample);
    const REFERENCE_TIME start = FrameTime(next_);
    if (start >= length_)
        return false;
    sample.start = start;
    sample.stop = std::min(FrameTime(next_ + 1), length_);
    ++next_;
    const PlacedSource* source = SourceAt(sources_, start);
    // The picture on screen halfway through the output frame: each source frame lands on the
    // output frame nearest to its own time, never more than half an output frame off, and a
    // source whose times are rounded (to milliseconds, say) still meets a grid of its own rate.
    const REFERENCE_TIME middle = start + (sample.stop - start) / 2;
    const AVFrame* picture = source ? readers_[source->path]->FrameAt(MediaTimeAt(
                                          *source, std::min(middle, source->timeline.stop - 1)))
                                    : nullptr;
    sample.frame = picture ? Fit(picture, source->stretchMode) : Black();
    if (!sample.frame)
        return false;
    sample.frame->pts = sample.start;
    return true;
}

graph::FramePtr VideoGroupStream::Black() const {
    graph::FramePtr frame(av_frame_alloc());
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width_;
    frame->height = height_;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    const std::ptrdiff_t lines[4] = {frame->linesize[0], frame->linesize[1], frame->linesize[2], 0};
    av_image_fill_black(frame->data, lines, AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG, width_, height_);
    return frame;
}

graph::FramePtr VideoGroupStream::Fit(const AVFrame* picture, int stretchMode) {
    if (picture->width == width_ && picture->height == height_)
        return graph::FramePtr(av_frame_clone(picture)); // shares the decoded picture
    // Scaled into the group's frame: whole when stretched, else as large as fits, centred.
    int w = width_;
    int h = height_;
    if (stretchMode != 0) {
        const double scale = std::min(static_cast<double>(width_) / picture->width,
                                      static_cast<double>(height_) / picture->height);
        w = std::clamp(static_cast<int>(std::lround(picture->width * scale)), 1, width_);
        h = std::clamp(static_cast<int>(std::lround(picture->height * scale)), 1, height_);
    }
    graph::FramePtr frame = Black();
    if (!frame)
        return nullptr;
    scaler_ = sws_getCachedContext(scaler_, picture->width, picture->height,
                                   static_cast<AVPixelFormat>(picture->format), w, h,
                                   AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!scaler_)
        return nullptr;
    // Even offsets keep the half-size colour planes aligned with the brightness plane.
    const int left = ((width_ - w) / 2) & ~1;
    const int top = ((height_ - h) / 2) & ~1;
    std::uint8_t* planes[4] = {frame->data[0] + top * frame->linesize[0] + left,
                               frame->data[1] + (top / 2) * frame->linesize[1] + left / 2,
                               frame->data[2] + (top / 2) * frame->linesize[2] + left / 2, nullptr};
    sws_scale(scaler_, picture->data, picture->linesize, 0, picture->height, planes, frame->linesize);
    return frame;
}

} // namespace editing
