#include "syncview/detail_reader.h"

#include "platform/editing/audio_sample_reader.h"
#include "platform/editing/media_file.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>

namespace syncview {

namespace {
// Pictures kept: a few screens' worth at any zoom.
constexpr std::size_t kMaxThumbnails = 1500;
// Decoding on is cheaper than seeking when the wanted frame is this close ahead.
constexpr REFERENCE_TIME kDecodeOnReach = 2 * UNITS;

} // namespace

// The decoders the reader's thread keeps between pieces of work.
struct DetailReader::Decoders {
    editing::MediaFile video;
    bool videoOpen = false;
    REFERENCE_TIME lastFrame = -1;
    editing::AudioSampleReader sound;
    bool soundOpen = false;
    SwsContext* scaler = nullptr;
    ~Decoders() { sws_freeContext(scaler); }
};

DetailReader::DetailReader(std::string videoPath, std::string soundPath, int thumbnailHeight,
                           std::function<void()> ready)
    : videoPath_(std::move(videoPath)), soundPath_(std::move(soundPath)),
      thumbnailHeight_(thumbnailHeight), ready_(std::move(ready)),
      decoders_(std::make_unique<Decoders>()), thread_([this] { Run(); }) {}

DetailReader::~DetailReader() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void DetailReader::WantFrames(std::vector<REFERENCE_TIME> starts) {
    {
        std::lock_guard lock(mutex_);
        starts.erase(std::remove_if(starts.begin(), starts.end(),
                                    [this](REFERENCE_TIME t) { return thumbnails_.count(t) > 0; }),
                     starts.end());
        wantedFrames_ = std::move(starts);
    }
    wake_.notify_all();
}

QImage DetailReader::Thumbnail(REFERENCE_TIME start) const {
    std::lock_guard lock(mutex_);
    const auto found = thumbnails_.find(start);
    return found == thumbnails_.end() ? QImage() : found->second;
}

void DetailReader::WantSamples(std::int64_t first, std::int64_t count) {
    {
        std::lock_guard lock(mutex_);
        if (samples_.first <= first &&
            first + count <= samples_.first + std::int64_t(samples_.samples.size()))
            return;
        wantedSamples_ = {first, count};
    }
    wake_.notify_all();
}

SampleSpan DetailReader::Samples() const {
    std::lock_guard lock(mutex_);
    return samples_;
}

void DetailReader::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || wantedSamples_ || !wantedFrames_.empty(); });
        if (stop_)
            return;
        if (wantedSamples_) {
            const auto [first, count] = *wantedSamples_;
            wantedSamples_.reset();
            lock.unlock();
            ReadSamples(first, count);
        } else {
            const REFERENCE_TIME start = wantedFrames_.front();
            wantedFrames_.erase(wantedFrames_.begin());
            lock.unlock();
            ReadFrame(start);
        }
        ready_();
        lock.lock();
    }
}

void DetailReader::ReadSamples(std::int64_t first, std::int64_t count) {
    Decoders& d = *decoders_;
    if (!d.soundOpen)
        d.soundOpen = SUCCEEDED(d.sound.Open(soundPath_)) && d.sound.HasSound();
    if (!d.soundOpen)
        return;
    SampleSpan span;
    span.first = first;
    span.rate = d.sound.SampleRate();
    std::vector<float> stereo(std::size_t(count) * 2);
    d.sound.Read(first, count, stereo.data());
    span.samples.resize(std::size_t(count));
    for (std::size_t i = 0; i < span.samples.size(); ++i)
        span.samples[i] = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
    std::lock_guard lock(mutex_);
    samples_ = std::move(span);
}

void DetailReader::ReadFrame(REFERENCE_TIME start) {
    Decoders& d = *decoders_;
    if (!d.videoOpen)
        d.videoOpen = SUCCEEDED(d.video.Open(videoPath_, AVMEDIA_TYPE_VIDEO));
    if (!d.videoOpen)
        return;
    if (start <= d.lastFrame || start > d.lastFrame + kDecodeOnReach) {
        d.video.SeekBefore(start);
        d.lastFrame = -1;
    }
    graph::FramePtr frame(av_frame_alloc());
    while (d.video.Decode(frame.get())) {
        const REFERENCE_TIME at = d.video.StartOf(frame.get());
        d.lastFrame = at;
        if (at != AV_NOPTS_VALUE && at + 1 >= start)
            break;
        av_frame_unref(frame.get());
    }
    if (!frame->data[0])
        return;
    const int height = thumbnailHeight_;
    const int width =
        std::max(1, frame->height > 0 ? frame->width * height / frame->height : height);
    d.scaler = sws_getCachedContext(d.scaler, frame->width, frame->height,
                                    static_cast<AVPixelFormat>(frame->format), width, height,
                                    AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!d.scaler)
        return;
    QImage image(width, height, QImage::Format_RGB32);
    std::uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
    sws_scale(d.scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    std::lock_guard lock(mutex_);
    if (thumbnails_.size() >= kMaxThumbnails)
        thumbnails_.clear();
    thumbnails_[start] = std::move(image);
}

} // namespace syncview
