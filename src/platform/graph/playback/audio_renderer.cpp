#include "platform/graph/playback/audio_renderer.h"

#include "platform/graph/playback/audio_output.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <cmath>
#include <cstdlib>

namespace graph {

namespace {
// Gaps and overlaps up to this long are time-stamp rounding, not missing sound.
constexpr REFERENCE_TIME kJitter = 20 * UNITS / 1000;
} // namespace

AudioRenderer::AudioRenderer() : AudioRenderer(std::make_unique<AudioOutput>()) {}

AudioRenderer::AudioRenderer(std::unique_ptr<SoundOutput> output)
    : Renderer("Audio Renderer", MajorType::Audio), output_(std::move(output)) {}

AudioRenderer::~AudioRenderer() {
    swr_free(&resampler_);
}

bool AudioRenderer::Accepts(const Pin&, const MediaType& type) const {
    return type.Major() == MajorType::Audio && type.IsDecoded() &&
           type.Parameters()->sample_rate > 0;
}

HRESULT AudioRenderer::Pause() {
    if (State() == FilterState::Stopped) {
        MediaType type;
        if (SUCCEEDED(Input()->ConnectionMediaType(&type))) {
            format_.setSampleRate(type.Parameters()->sample_rate);
            format_.setChannelCount(std::min(type.Parameters()->ch_layout.nb_channels, 2));
            format_.setSampleFormat(QAudioFormat::Int16);
            silent_ = !output_->Open(format_);
        }
        // Nothing streams now, so nothing from before the stop can slip in after this.
        output_->Discard();
        framesInSegment_ = 0;
    }
    output_->Pause();
    return Renderer::Pause();
}

HRESULT AudioRenderer::Run() {
    output_->Play();
    return Renderer::Run();
}

HRESULT AudioRenderer::Stop() {
    // Wakes a streaming thread blocked on a full buffer before it is waited for.
    const HRESULT hr = Renderer::Stop();
    output_->Pause();
    return hr;
}

void AudioRenderer::OnEndFlush() {
    output_->Discard();
}

void AudioRenderer::OnEndOfStream() {
    output_->SetEnded();
}

void AudioRenderer::SetVolume(long volume) {
    volume_ = volume;
    output_->SetVolume(std::pow(10.0, volume / 2000.0));
}

void AudioRenderer::Present(MediaSample& sample, bool first) {
    if (!sample.frame)
        return;
    if (silent_) {
        // The first sample only marks the preroll; the others go by at their time.
        if (!first)
            WaitForTime(sample.start);
        return;
    }
    const int rate = format_.sampleRate();
    const REFERENCE_TIME segmentStart = SegmentStart();
    if (first)
        framesInSegment_ = 0;
    // Where this sample belongs, in sample frames from the start of the segment.
    const std::int64_t at = av_rescale(sample.start - segmentStart, rate, UNITS);
    std::int64_t skip = 0;
    const std::int64_t jitter = av_rescale(kJitter, rate, UNITS);
    if (framesInSegment_ == 0 && at != 0) {
        if (at > 0)
            WriteSilence(at);
        else
            skip = -at;
    } else if (at - framesInSegment_ > jitter) {
        WriteSilence(at - framesInSegment_);
    } else if (framesInSegment_ - at > jitter) {
        skip = framesInSegment_ - at;
    }
    if (!Convert(sample.frame.get()))
        return;
    const int frameBytes = format_.bytesPerFrame();
    const qint64 available = converted_.size() / frameBytes;
    if (skip >= available)
        return;
    const qint64 frames = available - skip;
    if (output_->Write(converted_.constData() + skip * frameBytes, frames * frameBytes,
                       [this] { return Interrupted(); }))
        framesInSegment_ += frames;
}

void AudioRenderer::WriteSilence(std::int64_t frames) {
    const QByteArray silence(frames * format_.bytesPerFrame(), '\0');
    if (output_->Write(silence.constData(), silence.size(), [this] { return Interrupted(); }))
        framesInSegment_ += frames;
}

// Into interleaved 16-bit samples at the output's rate and channel count.
bool AudioRenderer::Convert(const AVFrame* frame) {
    if (!resampler_ || frame->sample_rate != inRate_ || frame->format != inFormat_ ||
        frame->ch_layout.nb_channels != inChannels_) {
        swr_free(&resampler_);
        AVChannelLayout out;
        av_channel_layout_default(&out, format_.channelCount());
        AVChannelLayout in;
        av_channel_layout_copy(&in, &frame->ch_layout);
        const int error = swr_alloc_set_opts2(
            &resampler_, &out, AV_SAMPLE_FMT_S16, format_.sampleRate(), &in,
            static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&out);
        av_channel_layout_uninit(&in);
        if (error < 0 || swr_init(resampler_) < 0) {
            swr_free(&resampler_);
            return false;
        }
        inRate_ = frame->sample_rate;
        inFormat_ = frame->format;
        inChannels_ = frame->ch_layout.nb_channels;
    }
    const int capacity = swr_get_out_samples(resampler_, frame->nb_samples);
    converted_.resize(static_cast<qsizetype>(capacity) * format_.bytesPerFrame());
    auto* out = reinterpret_cast<std::uint8_t*>(converted_.data());
    const int produced =
        swr_convert(resampler_, &out, capacity,
                    const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
    if (produced < 0)
        return false;
    converted_.resize(static_cast<qsizetype>(produced) * format_.bytesPerFrame());
    return true;
}

} // namespace graph
