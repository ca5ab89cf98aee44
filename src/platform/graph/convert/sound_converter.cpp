#include "platform/graph/convert/sound_converter.h"

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
}

#include <algorithm>

namespace graph {

SoundConverter::SoundConverter(const AVChannelLayout& layout, AVSampleFormat format, int sampleRate,
                               int frameSize)
    : format_(format), sampleRate_(sampleRate), frameSize_(frameSize) {
    av_channel_layout_copy(&layout_, &layout);
}

SoundConverter::~SoundConverter() {
    swr_free(&resampler_);
    if (fifo_)
        av_audio_fifo_free(fifo_);
    av_channel_layout_uninit(&layout_);
    av_channel_layout_uninit(&inLayout_);
}

HRESULT SoundConverter::Configure(const AVFrame* sound) {
    if (resampler_ && sound->format == inFormat_ && sound->sample_rate == inRate_ &&
        av_channel_layout_compare(&sound->ch_layout, &inLayout_) == 0)
        return S_OK;
    // Whatever the old resampler still holds belongs to the old format's sound.
    if (resampler_) {
        const HRESULT hr = Drain();
        if (FAILED(hr))
            return hr;
    }
    swr_free(&resampler_);
    // This version of the library takes the layouts without const, but only reads them.
    int error = swr_alloc_set_opts2(&resampler_, &layout_, format_, sampleRate_,
                                    const_cast<AVChannelLayout*>(&sound->ch_layout),
                                    static_cast<AVSampleFormat>(sound->format), sound->sample_rate,
                                    0, nullptr);
    if (error >= 0)
        error = swr_init(resampler_);
    if (error < 0) {
        swr_free(&resampler_);
        return StatusFromAv(error);
    }
    av_channel_layout_uninit(&inLayout_);
    av_channel_layout_copy(&inLayout_, &sound->ch_layout);
    inFormat_ = sound->format;
    inRate_ = sound->sample_rate;
    if (!fifo_)
        fifo_ = av_audio_fifo_alloc(format_, layout_.nb_channels, std::max(frameSize_, 1024));
    return fifo_ ? S_OK : E_OUTOFMEMORY;
}

HRESULT SoundConverter::Keep(const std::uint8_t* const* data, int count) {
    const int room = swr_get_out_samples(resampler_, count);
    if (room < 0)
        return StatusFromAv(room);
    if (!converted_ || converted_->nb_samples < room) {
        converted_.reset(av_frame_alloc());
        if (!converted_)
            return E_OUTOFMEMORY;
        converted_->format = format_;
        av_channel_layout_copy(&converted_->ch_layout, &layout_);
        converted_->nb_samples = std::max(room, 1024);
        if (av_frame_get_buffer(converted_.get(), 0) < 0) {
            converted_.reset();
            return E_OUTOFMEMORY;
        }
    }
    const int made = swr_convert(resampler_, converted_->extended_data, converted_->nb_samples,
                                 const_cast<const std::uint8_t**>(data), count);
    if (made < 0)
        return StatusFromAv(made);
    if (made > 0 && av_audio_fifo_write(fifo_, reinterpret_cast<void**>(converted_->extended_data),
                                        made) < made)
        return E_OUTOFMEMORY;
    return S_OK;
}

HRESULT SoundConverter::Add(const AVFrame* sound) {
    const HRESULT hr = Configure(sound);
    if (FAILED(hr))
        return hr;
    return Keep(sound->extended_data, sound->nb_samples);
}

HRESULT SoundConverter::Drain() {
    if (!resampler_)
        return S_OK;
    for (;;) {
        const int held = swr_get_out_samples(resampler_, 0);
        if (held <= 0)
            return S_OK;
        const std::int64_t before = av_audio_fifo_size(fifo_);
        const HRESULT hr = Keep(nullptr, 0);
        if (FAILED(hr) || av_audio_fifo_size(fifo_) == before)
            return hr;
    }
}

FramePtr SoundConverter::Next(bool last) {
    const int available = fifo_ ? av_audio_fifo_size(fifo_) : 0;
    int count = frameSize_ > 0 ? frameSize_ : available;
    if (available == 0 || (available < count && !last))
        return nullptr;
    count = std::min(count, available);
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return nullptr;
    frame->format = format_;
    frame->sample_rate = sampleRate_;
    av_channel_layout_copy(&frame->ch_layout, &layout_);
    frame->nb_samples = count;
    if (av_frame_get_buffer(frame.get(), 0) < 0 ||
        av_audio_fifo_read(fifo_, reinterpret_cast<void**>(frame->extended_data), count) < count)
        return nullptr;
    return frame;
}

} // namespace graph
