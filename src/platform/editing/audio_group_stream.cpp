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
constexpr std::int64_t kPointHold = AudioGroupStream::kSampleRate / 100;   // 10 ms
// A sudden sound is held whole: the stretch spreads it up to about ten milliseconds either
// way, all of which the source itself replaces.
constexpr std::int64_t kSuddenHold = AudioGroupStream::kSampleRate * 15 / 1000;
constexpr std::int64_t kSuddenFade = AudioGroupStream::kSampleRate * 5 / 1000;
constexpr double kMaxLoudnessGain = 8.0;                                   // 18 dB

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

AudioGroupStream::AudioGroupStream(std::vector<PlacedSource> sources, bool keepPitch)
    : sources_(std::move(sources)), length_(GroupLength(sources_)),
      totalSamples_(SampleAt(length_)), type_(DeclaredType()) {
    for (const PlacedSource& source : sources_) {
        const std::int64_t first = SampleAt(source.timeline.start);
        const std::int64_t end = SampleAt(source.timeline.stop);
        if (end <= first)
            continue;
        const bool stretched =
            keepPitch && source.media.Length() > 0 &&
            PitchKeepingStretch::Needed(static_cast<double>(source.timeline.Length()) /
                                        static_cast<double>(source.media.Length()));
        segments_.push_back({first, end, &source, false, false, stretched});
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

HRESULT AudioGroupStream::Create(std::vector<PlacedSource> sources, bool keepPitch,
                                 std::unique_ptr<AudioGroupStream>* out) {
    std::unique_ptr<AudioGroupStream> stream(new AudioGroupStream(std::move(sources), keepPitch));
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

// Sample j of a segment plays the source at the media time that divides the media span as j
// divides the segment's samples.
SourceLine AudioGroupStream::LineOf(const Segment& segment) const {
    const double rate = readers_.at(segment.source->path)->SampleRate();
    const TimeSpan media = segment.source->media;
    const double samples = static_cast<double>(segment.end - segment.first);
    return {static_cast<double>(media.start) * rate / UNITS, segment.first,
            static_cast<double>(media.Length()) * rate / UNITS / samples};
}

void AudioGroupStream::PrepareStretch(const Segment& segment) {
    if (stretchOf_ == &segment)
        return;
    AudioSampleReader& reader = *readers_[segment.source->path];
    const SourceLine line = LineOf(segment);
    const double conversion = static_cast<double>(reader.SampleRate()) / kSampleRate;
    stretch_ = std::make_unique<PitchKeepingStretch>(reader, KernelFor(conversion), line,
                                                     kSampleRate, segment.end);
    scan_ = std::make_unique<TransientScan>(reader, line, segment.first, segment.end);
    stretchOf_ = &segment;
}

void AudioGroupStream::Render(const Segment& segment, std::int64_t from, std::int64_t count,
                              float* out) {
    AudioSampleReader& reader = *readers_[segment.source->path];
    if (!reader.HasSound())
        return; // `out` stays silent
    const SourceLine line = LineOf(segment);
    if (!segment.stretched) {
        reader.ReadResampled(KernelFor(line.step), line.At(from), line.step, count, out);
        return;
    }
    PrepareStretch(segment);
    stretch_->Render(from, count, out);
}

double AudioGroupStream::Hold::Weight(std::int64_t j) const {
    const std::int64_t outside = j < at - before ? at - before - j : j > at + after ? j - at - after : 0;
    if (outside >= fade)
        return 0;
    return 0.5 + 0.5 * std::cos(M_PI * static_cast<double>(outside) / static_cast<double>(fade));
}

std::vector<AudioGroupStream::Hold> AudioGroupStream::HeldMoments(const Segment& segment,
                                                                  std::int64_t from,
                                                                  std::int64_t to) {
    std::vector<Hold> held;
    const auto add = [&](const Hold& hold) {
        if (hold.Last() > from && hold.First() < to)
            held.push_back(hold);
    };
    for (const std::int64_t point : {segment.first, segment.end})
        add({point, 0, 0, kPointHold});
    if (!readers_[segment.source->path]->HasSound())
        return held;
    PrepareStretch(segment);
    const std::int64_t reach = kSuddenHold + kSuddenFade;
    const std::vector<std::int64_t>& moments = scan_->Until(to + reach);
    for (auto at = std::lower_bound(moments.begin(), moments.end(), from - reach);
         at != moments.end() && *at - reach < to; ++at)
        add({*at, kSuddenHold, kSuddenHold, kSuddenFade});
    return held;
}

// The engine places sound on its hop grid, within a millisecond or so of where it belongs,
// and spreads a sudden sound over its window. At a stretched segment's ends, its points, and
// where its sound starts suddenly, the source itself plays for a moment instead, at its own
// speed and rate, faded in from the stretch and out into it: the point and the sudden sound
// are exact to the sample, and the segments on both sides of a point meet in the same sound.
//
// The stretch's phases are its own, so a steady tone may partly cancel between the two in
// the fade. How much follows from their correlation over the half of the moment at hand: the
// mix is brought back to the loudness the two have apart.
void AudioGroupStream::HoldMoments(const Segment& segment, const std::vector<Hold>& held,
                                   std::int64_t from, std::int64_t count, float* out) {
    AudioSampleReader& reader = *readers_[segment.source->path];
    if (!reader.HasSound())
        return;
    const SourceLine line = LineOf(segment);
    const double conversion = static_cast<double>(reader.SampleRate()) / kSampleRate;
    const SincKernel& kernel = KernelFor(conversion);
    for (const Hold& hold : held) {
        const std::int64_t point = hold.at;
        const std::int64_t begin = std::max(from, hold.First());
        const std::int64_t stop = std::min(from + count, hold.Last());
        if (begin >= stop)
            continue;
        const std::size_t n = 2 * static_cast<std::size_t>(stop - begin);
        held_.resize(n);
        reader.ReadResampled(kernel,
                             line.At(point) + static_cast<double>(begin - point) * conversion,
                             conversion, stop - begin, held_.data());
        float* stretched = out + 2 * (begin - from);
        double heldPower = 0;
        double stretchedPower = 0;
        double shared = 0;
        for (std::size_t i = 0; i < n; ++i) {
            heldPower += held_[i] * held_[i];
            stretchedPower += stretched[i] * stretched[i];
            shared += held_[i] * stretched[i];
        }
        for (std::int64_t j = begin; j < stop; ++j) {
            const double weight = hold.Weight(j);
            const double apart = weight * heldPower + (1 - weight) * stretchedPower;
            const double together = weight * weight * heldPower +
                                    (1 - weight) * (1 - weight) * stretchedPower +
                                    2 * weight * (1 - weight) * shared;
            const double gain =
                together > 0 ? std::clamp(std::sqrt(apart / together), 1.0, kMaxLoudnessGain) : 1.0;
            for (int c = 0; c < 2; ++c) {
                float& sample = stretched[2 * (j - begin) + c];
                sample = static_cast<float>(
                    gain * (sample + weight * (held_[2 * (j - begin) + c] - sample)));
            }
        }
    }
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
    // Nor the edges of the moments held in a stretched segment, whose loudness is worked out
    // over each half.
    std::vector<Hold> held;
    if (segment && segment->stretched) {
        held = HeldMoments(*segment, next_, end);
        for (const Hold& hold : held) {
            for (const std::int64_t edge : {hold.First(), hold.at - hold.before,
                                            hold.at + hold.after, hold.Last()}) {
                if (edge > next_ && edge < end)
                    end = edge;
            }
        }
    }
    const std::int64_t count = end - next_;
    std::vector<float> mixed(2 * static_cast<std::size_t>(count), 0.0f);
    if (segment) {
        Render(*segment, next_, count, mixed.data());
        if (segment->stretched)
            HoldMoments(*segment, held, next_, count, mixed.data());
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
