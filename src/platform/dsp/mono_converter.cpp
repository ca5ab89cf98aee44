#include "platform/dsp/mono_converter.h"

extern "C" {
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>

namespace dsp {

MonoConverter::~MonoConverter() {
    swr_free(&swr_);
    av_channel_layout_uninit(&layout_);
}

bool MonoConverter::SetUp(const AVChannelLayout& layout, int format, int rate,
                          std::vector<float>* out) {
    if (swr_ && format == format_ && rate == rate_ && av_channel_layout_compare(&layout, &layout_) == 0)
        return true;
    // What the old set-up still holds belongs to the sound before the change.
    Flush(out);
    swr_free(&swr_);
    av_channel_layout_uninit(&layout_);
    format_ = -1;
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    // This version of the library takes the layouts without const, but only reads them.
    if (swr_alloc_set_opts2(&swr_, &mono, AV_SAMPLE_FMT_FLT, outputRate_,
                            const_cast<AVChannelLayout*>(&layout), static_cast<AVSampleFormat>(format),
                            rate, 0, nullptr) < 0 ||
        swr_init(swr_) < 0) {
        swr_free(&swr_);
        return false;
    }
    av_channel_layout_copy(&layout_, &layout);
    format_ = format;
    rate_ = rate;
    return true;
}

bool MonoConverter::Convert(const AVChannelLayout& layout, int format, int rate,
                            const std::uint8_t* const* data, int count, std::vector<float>* out) {
    if (!SetUp(layout, format, rate, out))
        return false;
    const int room = swr_get_out_samples(swr_, count);
    if (room <= 0)
        return true;
    const std::size_t before = out->size();
    out->resize(before + static_cast<std::size_t>(room));
    std::uint8_t* target = reinterpret_cast<std::uint8_t*>(out->data() + before);
    const int made = swr_convert(swr_, &target, room, const_cast<const std::uint8_t**>(data), count);
    out->resize(before + static_cast<std::size_t>(made > 0 ? made : 0));
    return made >= 0;
}

void MonoConverter::Flush(std::vector<float>* out) {
    if (!swr_)
        return;
    for (;;) {
        const int room = swr_get_out_samples(swr_, 0);
        if (room <= 0)
            return;
        const std::size_t before = out->size();
        out->resize(before + static_cast<std::size_t>(room));
        std::uint8_t* target = reinterpret_cast<std::uint8_t*>(out->data() + before);
        const int made = swr_convert(swr_, &target, room, nullptr, 0);
        out->resize(before + static_cast<std::size_t>(made > 0 ? made : 0));
        if (made <= 0)
            return;
    }
}

std::vector<float> Resample(const std::vector<float>& mono, int fromRate, int toRate) {
    MonoConverter converter(toRate);
    std::vector<float> out;
    out.reserve(static_cast<std::size_t>(double(mono.size()) * toRate / fromRate) + 64);
    const AVChannelLayout layout = AV_CHANNEL_LAYOUT_MONO;
    // In pieces, so the converter's buffers stay small.
    constexpr std::size_t kPiece = 1 << 16;
    for (std::size_t at = 0; at < mono.size(); at += kPiece) {
        const std::uint8_t* data = reinterpret_cast<const std::uint8_t*>(mono.data() + at);
        const int count = static_cast<int>(std::min(kPiece, mono.size() - at));
        converter.Convert(layout, AV_SAMPLE_FMT_FLT, fromRate, &data, count, &out);
    }
    converter.Flush(&out);
    return out;
}

} // namespace dsp
