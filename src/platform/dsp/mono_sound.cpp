#include "platform/dsp/mono_sound.h"

#include "platform/dsp/mono_converter.h"
#include "platform/editing/media_file.h"

#include <algorithm>

namespace dsp {

namespace {
// Progress is told at most this often, in decoded frames.
constexpr int kFramesPerReport = 64;

// The stream's length in media time (the file's when the stream does not say), or 0.
REFERENCE_TIME LengthOf(const editing::MediaFile& file) {
    const AVStream* stream = file.Stream();
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        return graph::ToRefTime(stream->duration, stream->time_base);
    if (file.Format()->duration != AV_NOPTS_VALUE && file.Format()->duration > 0)
        return graph::ToRefTime(file.Format()->duration, AV_TIME_BASE_Q);
    return 0;
}
} // namespace

HRESULT DecodeMonoSound(const std::string& path, int rate,
                        const std::function<bool(double)>& progress, MonoSound* sound) {
    sound->samples.clear();
    sound->rate = rate;
    editing::MediaFile file;
    if (const HRESULT hr = file.Open(path, AVMEDIA_TYPE_AUDIO); FAILED(hr))
        return hr;
    const REFERENCE_TIME length = LengthOf(file);
    MonoConverter converter(rate);
    graph::FramePtr frame(av_frame_alloc());
    bool placed = false;
    for (int frames = 0; file.Decode(frame.get()); ++frames) {
        if (!placed) {
            // Sound that starts after the file does is preceded by silence.
            const REFERENCE_TIME start = file.StartOf(frame.get());
            if (start != AV_NOPTS_VALUE && start > 0)
                sound->samples.assign(av_rescale(start, rate, UNITS), 0.0f);
            placed = true;
        }
        // A frame that cannot be converted is left out.
        converter.Convert(frame->ch_layout, frame->format, frame->sample_rate, frame->extended_data,
                          frame->nb_samples, &sound->samples);
        if (frames % kFramesPerReport == 0 && progress) {
            const double done =
                length > 0 ? std::clamp(double(sound->samples.size()) / rate * UNITS / length, 0.0, 1.0)
                           : 0.0;
            if (!progress(done))
                return E_ABORT;
        }
        av_frame_unref(frame.get());
    }
    converter.Flush(&sound->samples);
    return file.Failure();
}

} // namespace dsp
