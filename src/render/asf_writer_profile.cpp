#include "render/asf_writer_profile.h"

#include <variant>

namespace render {

HRESULT AsfWriterConfigOf(const wmformat::Profile& profile, graph::AsfWriterConfig* config) {
    if (!config)
        return E_POINTER;
    graph::AsfWriterConfig result;
    for (std::uint32_t i = 0; i < profile.GetStreamCount(); ++i) {
        const wmformat::StreamConfig& stream = *profile.GetStream(i);
        wmformat::WM_MEDIA_TYPE type;
        const HRESULT hr = stream.Props().GetMediaType(&type);
        if (FAILED(hr))
            return hr;
        graph::AsfStreamConfig out;
        out.number = stream.GetStreamNumber();
        out.bitrate = stream.GetBitrate();
        if (const auto* wave = std::get_if<WAVEFORMATEX>(&type.format)) {
            out.major = graph::MajorType::Audio;
            out.codec = wave->wFormatTag;
            out.sampleRate = wave->nSamplesPerSec;
            out.channels = wave->nChannels;
        } else if (const auto* video = std::get_if<VIDEOINFOHEADER>(&type.format)) {
            out.major = graph::MajorType::Video;
            out.codec = video->bmiHeader.biCompression;
            out.width = video->bmiHeader.biWidth;
            out.height = video->bmiHeader.biHeight;
            out.frameDuration = video->AvgTimePerFrame;
            if (const wmformat::VideoMediaProps* props = stream.VideoProps()) {
                out.keyFrameSpacing = props->GetMaxKeyFrameSpacing();
                out.quality = props->GetQuality();
            }
        } else {
            return E_INVALIDARG;
        }
        result.streams.push_back(out);
    }
    *config = std::move(result);
    return S_OK;
}

} // namespace render
