#pragma once
// Media types as the Windows Media profile objects hold them: the fields of the shared media
// type, the size of the whole format block, and the codec data that follows the block's fixed
// header (a WMA format's codec data after its WAVEFORMATEX, which counts it in cbSize).
#include "platform/core/media_types.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace wmformat {

constexpr GUID WMMEDIATYPE_Audio = MEDIATYPE_Audio;
constexpr GUID WMMEDIATYPE_Video = MEDIATYPE_Video;

// Wave format tags of the two WMA generations.
constexpr std::uint16_t WAVE_FORMAT_MSAUDIO1 = 0x0160;
constexpr std::uint16_t WAVE_FORMAT_WMAUDIO2 = 0x0161;

// Bytes of the fixed headers as a format block stores them.
constexpr std::uint32_t kWaveFormatExBytes = 18;
constexpr std::uint32_t kVideoInfoHeaderBytes = sizeof(VIDEOINFOHEADER);

struct WM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    bool bFixedSizeSamples = false;
    bool bTemporalCompression = false;
    std::uint32_t lSampleSize = 0;
    GUID formattype;
    std::uint32_t cbFormat = 0; // the whole format block: the header, then the codec data
    MediaFormat format;         // the header; which alternative goes with `formattype`
    std::vector<std::uint8_t> codecData;
    bool operator==(const WM_MEDIA_TYPE&) const = default;
};

// The 32-bit code of a four-letter name such as "WMV2", as biCompression holds it: the first
// letter in the lowest byte. `name` has exactly four characters.
constexpr std::uint32_t MakeFourCc(std::string_view name) {
    return static_cast<std::uint8_t>(name[0]) | static_cast<std::uint8_t>(name[1]) << 8 |
           static_cast<std::uint8_t>(name[2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[3])) << 24;
}

// The subtype of a wave format tag or a FourCC: the code in the first field of
// {xxxxxxxx-0000-0010-8000-00AA00389B71}.
constexpr GUID SubtypeOfCode(std::uint32_t code) {
    return GUID{code, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

constexpr GUID WMMEDIASUBTYPE_WMAudioV1 = SubtypeOfCode(WAVE_FORMAT_MSAUDIO1);
constexpr GUID WMMEDIASUBTYPE_WMAudioV2 = SubtypeOfCode(WAVE_FORMAT_WMAUDIO2);
constexpr GUID WMMEDIASUBTYPE_WMV1 = SubtypeOfCode(MakeFourCc("WMV1"));
constexpr GUID WMMEDIASUBTYPE_WMV2 = SubtypeOfCode(MakeFourCc("WMV2"));
constexpr GUID WMMEDIASUBTYPE_WMV3 = SubtypeOfCode(MakeFourCc("WMV3"));

// Whether the format block agrees with itself: the header is the one `formattype` names
// (none for a format type other than WAVEFORMATEX and VIDEOINFOHEADER, whose whole block is
// then the codec data), cbFormat counts the header and the codec data, and a WAVEFORMATEX's
// cbSize counts its codec data.
bool FormatBlockIsWhole(const WM_MEDIA_TYPE& type);

// A compressed sound format: fixed-size samples of one block each, the subtype of its tag.
// The block is `wave` followed by `codecData`, which `wave.cbSize` counts.
WM_MEDIA_TYPE WaveFormatMediaType(const WAVEFORMATEX& wave, std::vector<std::uint8_t> codecData);

// A compressed picture format: samples of varying size that depend on each other, the
// subtype of its biCompression FourCC.
WM_MEDIA_TYPE VideoInfoMediaType(const VIDEOINFOHEADER& info);

} // namespace wmformat
