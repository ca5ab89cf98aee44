#include "platform/editing/audio_group_stream.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>

namespace editing {

namespace {

constexpr std::int64_t kBlock = 1024; // output samples per sample pushed downstream
constexpr std::int64_t kFadeSamples = AudioGroupStream::kSampleRate / 200; // 5 ms

graph::MediaType DeclaredType() {
    AVCodecParameters* p = avcodec_parameters_alloc();
    p->codec_type = AVMEDIA_TYPE_AUDIO;
    p->codec_id = AV_CODEC_ID_NONE;
    p->sample_rate = AudioGroupStream::kSampleRate;
    p->format = AV_SAMPLE_FMT_S16;
    p->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
    graph::MediaType type(graph::MajorType::Audio, p, graph::kRefTimeBase, 0);
    avcodec_parameters_free(&p);
    return type;
}

} // namespace

std::int64_t AudioGroupStream::SampleAt(REFERENCE_TIME t) {
    return av_rescale_rnd(t, kSampleRate, UNITS, AV_ROUND_NEAR_INF);
}

AudioGroupStream::AudioGroupStream(std::vector<PlacedSource> sources)
    : sources_(std::move(sources)), length_(GroupLength(sources_)),
      totalSamples_(SampleAt(length_)), type_(DeclaredType()) {
    for (const PlacedSource& source : sources_) {
        const std::int64_t first = SampleAt(source.timeline.start);
        const std::int64_t end = SampleAt(source.timeline.stop);
        if (end > first)
            segments_.push_back({first, end, &source});
    }
    for (Segment& segment : segments_) {
        const auto touches = [&](auto edge) {
            return std::any_of(segments_.begin(), segments_.end(), [&](const Segment& other) {
                return &other != &segment && other.first <= edge && edge <= other.end;
            });
        };
        segment.fadeIn = segment.first > 0 && !touches(segment.first);
        segment.fadeOut = segment.end < totalSamples_ && !touches(segment.end);
    }
}

void AudioGroupStream::Fade(const Segment& segment, std::int64_t from, std::int64_t count,
                            float* out) {
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t j = from + i;
        float gain = 1.0f;
        if (segment.fadeIn)
            gain = std::min(gain, static_cast<float>(j - segment.first + 1) / kFadeSamples);
        if (segment.fadeOut)
            gain = std::min(gain, static_cast<float>(segment.end - j) / kFadeSamples);
        if (gain < 1.0f) {
            out[2 * i] *= gain;
            out[2 * i + 1] *= gain;
        }
    }
}

HRESULT AudioGroupStream::Create(std::vector<PlacedSource> sources,
                                 std::unique_ptr<AudioGroupStream>* out) {
    std::unique_ptr<AudioGroupStream> stream(new AudioGroupStream(std::move(sources)));
    const HRESULT hr = OpenReaders(stream->sources_, stream->readers_);
    if (FAILED(hr))
        return hr;
    *out = std::move(stream);
    return S_OK;
}

void AudioGroupStream::Seek(REFERENCE_TIME t) {
    next_ = std::clamp<std::int64_t>(av_rescale_rnd(t, kSampleRate, UNITS, AV_ROUND_DOWN), 0,
                                     totalSamples_);
}

const SincKernel& AudioGroupStream::KernelFor(double step) {
    const double cutoff = step > 1.0 ? 1.0 / step : 1.0;
    const long key = std::lround(cutoff * 100'000);
    auto& kernel = kernels_[key];
    if (!kernel)
        kernel = std::make_unique<SincKernel>(static_cast<double>(key) / 100'000);
    return *kernel;
}

// Output samples [from, from + count) of one segment: sample j plays the source at the media
// time that divides the media span as j divides the segment's samples.
void AudioGroupStream::Render(const Segment& segment, std::int64_t from, std::int64_t count,
                              float* out) {
    AudioSampleReader& reader = *readers_[segment.source->path];
    if (!reader.HasSound())
        return; // `out` stays silent
    const double rate = reader.SampleRate();
    const TimeSpan media = segment.source->media;
    const double samples = static_cast<double>(segment.end - segment.first);
    // Source samples per output sample, and the source position of output sample j.
    const double step = static_cast<double>(media.Length()) * rate / UNITS / samples;
    const double origin = static_cast<double>(media.start) * rate / UNITS;
    auto positionOf = [&](std::int64_t j) {
        return origin + static_cast<double>(j - segment.first) * step;
    };
    const SincKernel& kernel = KernelFor(step);
    const double firstPosition = positionOf(from);
    const double lastPosition = positionOf(from + count - 1);
    const std::int64_t windowStart = static_cast<std::int64_t>(std::floor(firstPosition)) - kernel.Reach();
    const std::int64_t windowCount =
        static_cast<std::int64_t>(std::floor(lastPosition)) + kernel.Reach() + 2 - windowStart;
    window_.resize(2 * static_cast<std::size_t>(windowCount));
    reader.Read(windowStart, windowCount, window_.data());
    for (std::int64_t i = 0; i < count; ++i)
        Interpolate(kernel, window_.data(), windowStart, windowCount, positionOf(from + i), out + 2 * i);
}

bool AudioGroupStream::Next(graph::MediaSample& sample) {
    if (next_ >= totalSamples_)
        return false;
    std::int64_t end = std::min(next_ + kBlock, totalSamples_);
    // A block never spans two segments, nor a segment's edge with silence.
    const Segment* segment = nullptr;
    for (const Segment& s : segments_) {
        if (s.end <= next_)
            continue;
        if (s.first <= next_) {
            segment = &s;
            end = std::min(end, s.end);
        } else {
            end = std::min(end, s.first);
        }
        break;
    }
    const std::int64_t count = end - next_;
    std::vector<float> mixed(2 * static_cast<std::size_t>(count), 0.0f);
    if (segment) {
        Render(*segment, next_, count, mixed.data());
        Fade(*segment, next_, count, mixed.data());
    }

    graph::FramePtr frame(av_frame_alloc());
    frame->format = AV_SAMPLE_FMT_S16;
    frame->sample_rate = kSampleRate;
    frame->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
    frame->nb_samples = static_cast<int>(count);
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return false;
    auto* pcm = reinterpret_cast<std::int16_t*>(frame->data[0]);
    for (std::size_t i = 0; i < mixed.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::lrint(std::clamp(mixed[i], -1.0f, 1.0f) * 32767.0f));
    sample.start = av_rescale(next_, UNITS, kSampleRate);
    frame->pts = sample.start;
    sample.stop = av_rescale(end, UNITS, kSampleRate);
    sample.frame = std::move(frame);
    next_ = end;
    return true;
}

} // namespace editing
