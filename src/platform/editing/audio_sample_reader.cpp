#include "platform/editing/audio_sample_reader.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace editing {

namespace {
// Decoding on is cheaper than seeking up to this far ahead (in seconds).
constexpr int kDecodeAheadSeconds = 3;
// Seeks land this far before the target so the first frame surely covers it.
constexpr REFERENCE_TIME kSeekMargin = UNITS / 2;
// Kept behind the read position, for the interpolation's reach into the past and for a
// stretch that starts on a piece's warm-up while the piece before it still reads ahead.
constexpr std::int64_t kKeepBehind = 1 << 16;
// Container time stamps are at worst this coarse.
constexpr REFERENCE_TIME kStampPrecision = UNITS / 1000;
} // namespace

AudioSampleReader::~AudioSampleReader() {
    swr_free(&converter_);
    av_channel_layout_uninit(&inLayout_);
}

bool AudioSampleReader::ConvertFrom(const AVChannelLayout& layout, int format, int rate) {
    if (converter_ && format == inFormat_ && rate == inRate_ &&
        av_channel_layout_compare(&layout, &inLayout_) == 0)
        return true;
    swr_free(&converter_);
    av_channel_layout_uninit(&inLayout_);
    inFormat_ = -1;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    // This version of the library takes the layouts without const, but only reads them.
    if (swr_alloc_set_opts2(&converter_, &stereo, AV_SAMPLE_FMT_FLT, rate_,
                            const_cast<AVChannelLayout*>(&layout),
                            static_cast<AVSampleFormat>(format), rate, 0, nullptr) < 0 ||
        swr_init(converter_) < 0) {
        swr_free(&converter_);
        return false;
    }
    av_channel_layout_copy(&inLayout_, &layout);
    inFormat_ = format;
    inRate_ = rate;
    return true;
}

HRESULT AudioSampleReader::Open(const std::string& path) {
    const HRESULT hr = file_.Open(path, AVMEDIA_TYPE_AUDIO);
    if (hr == VFW_E_NOT_FOUND)
        return S_OK;
    if (FAILED(hr))
        return hr;
    AVCodecContext* codec = file_.Codec();
    rate_ = codec->sample_rate;
    return ConvertFrom(codec->ch_layout, codec->sample_fmt, rate_) ? S_OK : E_FAIL;
}

std::int64_t AudioSampleReader::IndexOf(REFERENCE_TIME start) const {
    const AVCodecContext* codec = file_.Codec();
    std::int64_t index = av_rescale_rnd(start, rate_, UNITS, AV_ROUND_NEAR_INF);
    // Codecs with fixed frames put them on a grid from 0; a rounded stamp goes back on it.
    if (codec->frame_size > 0) {
        const std::int64_t frames = (index + codec->frame_size / 2) / codec->frame_size;
        const std::int64_t onGrid = frames * codec->frame_size;
        if (std::abs(av_rescale(onGrid, UNITS, rate_) - start) <= kStampPrecision)
            index = onGrid;
    }
    return index;
}

void AudioSampleReader::Reposition(std::int64_t index) {
    file_.SeekBefore(av_rescale(index, UNITS, rate_) - kSeekMargin);
    if (converter_)
        swr_convert(converter_, nullptr, 0, nullptr, 0); // drop what the converter held
    buffer_.clear();
    anchored_ = false;
    ended_ = false;
}

bool AudioSampleReader::DecodeMore() {
    graph::FramePtr frame(av_frame_alloc());
    if (!file_.Decode(frame.get())) {
        ended_ = true;
        return false;
    }
    if (!anchored_) {
        const REFERENCE_TIME start = file_.StartOf(frame.get());
        bufferStart_ = start == AV_NOPTS_VALUE ? 0 : IndexOf(start);
        anchored_ = true;
    }
    // A frame that cannot be converted is left out.
    if (!ConvertFrom(frame->ch_layout, frame->format, frame->sample_rate))
        return true;
    // Room for all it gives, also when the frame's rate is lower than the stream's.
    const int room = swr_get_out_samples(converter_, frame->nb_samples);
    if (room <= 0)
        return true;
    std::vector<float> converted(2 * static_cast<std::size_t>(room));
    std::uint8_t* out = reinterpret_cast<std::uint8_t*>(converted.data());
    const int samples =
        swr_convert(converter_, &out, room, const_cast<const std::uint8_t**>(frame->extended_data),
                    frame->nb_samples);
    if (samples > 0)
        buffer_.insert(buffer_.end(), converted.begin(), converted.begin() + 2 * samples);
    return true;
}

void AudioSampleReader::Read(std::int64_t first, std::int64_t count, float* stereo) {
    std::fill(stereo, stereo + 2 * count, 0.0f);
    if (rate_ <= 0 || count <= 0)
        return;
    const std::int64_t bufferEnd = bufferStart_ + static_cast<std::int64_t>(buffer_.size() / 2);
    if (!anchored_ || first < bufferStart_ ||
        first > bufferEnd + static_cast<std::int64_t>(kDecodeAheadSeconds) * rate_)
        Reposition(first);
    while (!ended_ && (!anchored_ ||
                       bufferStart_ + static_cast<std::int64_t>(buffer_.size() / 2) < first + count))
        DecodeMore();
    // Drop what lies well behind, so memory stays bounded over a long file.
    const std::int64_t keepFrom = first - kKeepBehind;
    if (keepFrom > bufferStart_) {
        const std::int64_t drop =
            std::min<std::int64_t>(keepFrom - bufferStart_, static_cast<std::int64_t>(buffer_.size() / 2));
        buffer_.erase(buffer_.begin(), buffer_.begin() + 2 * drop);
        bufferStart_ += drop;
    }
    const std::int64_t available = static_cast<std::int64_t>(buffer_.size() / 2);
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t at = first + i - bufferStart_;
        if (at < 0 || at >= available)
            continue;
        stereo[2 * i] = buffer_[2 * at];
        stereo[2 * i + 1] = buffer_[2 * at + 1];
    }
}

void AudioSampleReader::ReadResampled(const SincKernel& kernel, double first, double step,
                                      std::int64_t count, float* stereo) {
    if (count <= 0)
        return;
    const double last = first + static_cast<double>(count - 1) * step;
    const std::int64_t windowStart = static_cast<std::int64_t>(std::floor(first)) - kernel.Reach();
    const std::int64_t windowCount =
        static_cast<std::int64_t>(std::floor(last)) + kernel.Reach() + 2 - windowStart;
    window_.resize(2 * static_cast<std::size_t>(windowCount));
    Read(windowStart, windowCount, window_.data());
    Resample(kernel, window_.data(), windowStart, first, step, count, stereo);
}

} // namespace editing
