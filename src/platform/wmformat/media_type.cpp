#include "media_type.h"

#include <variant>

namespace wmformat {

bool FormatBlockIsWhole(const WM_MEDIA_TYPE& type) {
    const std::uint64_t codecBytes = type.codecData.size();
    if (type.formattype == FORMAT_WaveFormatEx) {
        const auto* wave = std::get_if<WAVEFORMATEX>(&type.format);
        return wave && wave->cbSize == codecBytes &&
               type.cbFormat == kWaveFormatExBytes + codecBytes;
    }
    if (type.formattype == FORMAT_VideoInfo)
        return std::holds_alternative<VIDEOINFOHEADER>(type.format) &&
               type.cbFormat == kVideoInfoHeaderBytes + codecBytes;
    return std::holds_alternative<std::monostate>(type.format) && type.cbFormat == codecBytes;
}

WM_MEDIA_TYPE WaveFormatMediaType(const WAVEFORMATEX& wave, std::vector<std::uint8_t> codecData) {
    WM_MEDIA_TYPE type;
    type.majortype = WMMEDIATYPE_Audio;
    type.subtype = SubtypeOfCode(wave.wFormatTag);
    type.bFixedSizeSamples = true;
    type.bTemporalCompression = false;
    type.lSampleSize = wave.nBlockAlign;
    type.formattype = FORMAT_WaveFormatEx;
    type.cbFormat = kWaveFormatExBytes + wave.cbSize;
    type.format = wave;
    type.codecData = std::move(codecData);
    return type;
}

WM_MEDIA_TYPE VideoInfoMediaType(const VIDEOINFOHEADER& info) {
    WM_MEDIA_TYPE type;
    type.majortype = WMMEDIATYPE_Video;
    type.subtype = SubtypeOfCode(info.bmiHeader.biCompression);
    type.bFixedSizeSamples = false;
    type.bTemporalCompression = true;
    type.lSampleSize = 0;
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = kVideoInfoHeaderBytes;
    type.format = info;
    return type;
}

} // namespace wmformat
