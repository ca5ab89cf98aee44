#include "platform/dsp/mono_sound.h"

#include "platform/dsp/mono_converter.h"
#include "platform/editing/media_file.h"

#include <algorithm>

namespace dsp {

namespace {
// Progress is told at most this often, in decoded frames.
constexpr int kFramesPerReport = 64;
// Silence before a late start is handed out in blocks of this many samples.
constexpr std::size_t kSilenceBlock = 1 << 16;
constexpr int kCommonRate = 48000;

// The stream's length in media time (the file's when the stream does not say), or 0.
REFERENCE_TIME LengthOf(const editing::MediaFile& file) {
    const AVStream* stream = file.Stream();
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        return graph::ToRefTime(stream->duration, stream->time_base);
    if (file.Format()->duration != AV_NOPTS_VALUE && file.Format()->duration > 0)
        return graph::ToRefTime(file.Format()->duration, AV_TIME_BASE_Q);
    return 0;
}

void TakeSilence(int rate, std::int64_t count, const MonoBlockSink& take) {
    const std::vector<float> silence(std::min<std::size_t>(count, kSilenceBlock), 0.0f);
    for (std::int64_t left = count; left > 0; left -= std::int64_t(silence.size()))
        take(rate, silence.data(), std::min<std::size_t>(left, silence.size()));
}
} // namespace

HRESULT StreamMonoSound(const std::string& path, int rate,
                        const std::function<bool(double)>& progress, const MonoBlockSink& take) {
    editing::MediaFile file;
    if (const HRESULT hr = file.Open(path, AVMEDIA_TYPE_AUDIO); FAILED(hr))
        return hr;
    if (rate <= 0)
        rate = file.Codec()->sample_rate;
    // A stream that names no rate before its first frame is heard at the usual one.
    if (rate <= 0)
        rate = kCommonRate;
    const REFERENCE_TIME length = LengthOf(file);
    MonoConverter converter(rate);
    graph::FramePtr frame(av_frame_alloc());
    std::vector<float> block;
    std::int64_t taken = 0;
    bool placed = false;
    for (int frames = 0; file.Decode(frame.get()); ++frames) {
        if (!placed) {
            // Sound that starts after the file does is preceded by silence.
            const REFERENCE_TIME start = file.StartOf(frame.get());
            if (start != AV_NOPTS_VALUE && start > 0) {
                taken = av_rescale(start, rate, UNITS);
                TakeSilence(rate, taken, take);
            }
            placed = true;
        }
        // A frame that cannot be converted is left out.
        block.clear();
        converter.Convert(frame->ch_layout, frame->format, frame->sample_rate, frame->extended_data,
                          frame->nb_samples, &block);
        if (!block.empty())
            take(rate, block.data(), block.size());
        taken += std::int64_t(block.size());
        if (frames % kFramesPerReport == 0 && progress) {
            const double done =
                length > 0 ? std::clamp(double(taken) / rate * UNITS / length, 0.0, 1.0) : 0.0;
            if (!progress(done))
                return E_ABORT;
        }
        av_frame_unref(frame.get());
    }
    block.clear();
    converter.Flush(&block);
    if (!block.empty())
        take(rate, block.data(), block.size());
    return file.Failure();
}

HRESULT DecodeMonoSound(const std::string& path, int rate,
                        const std::function<bool(double)>& progress, MonoSound* sound) {
    sound->samples.clear();
    sound->rate = rate;
    return StreamMonoSound(
        path, rate, progress, [sound](int, const float* samples, std::size_t count) {
            sound->samples.insert(sound->samples.end(), samples, samples + count);
        });
}

} // namespace dsp
