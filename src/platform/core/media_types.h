#pragma once
// Media type descriptions in the shape of the Windows media frameworks: a major type, a
// subtype, sample properties and a typed format block. Plain data shared by the editing
// timeline and the filter graph; neither framework's internals show here.
#include "platform/core/guid.h"
#include "platform/core/reftime.h"

#include <cstdint>
#include <variant>

// Major types, subtypes and format types, with their Windows values.
constexpr GUID MEDIATYPE_Video = core::GuidLiteral("{73646976-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIATYPE_Audio = core::GuidLiteral("{73647561-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIATYPE_Stream = core::GuidLiteral("{E436EB83-524F-11CE-9F53-0020AF0BA770}");
constexpr GUID MEDIASUBTYPE_RGB24 = core::GuidLiteral("{E436EB7D-524F-11CE-9F53-0020AF0BA770}");
constexpr GUID FORMAT_VideoInfo = core::GuidLiteral("{05589F80-C356-11CE-BF01-00AA0055595A}");
constexpr GUID FORMAT_WaveFormatEx = core::GuidLiteral("{05589F81-C356-11CE-BF01-00AA0055595A}");

constexpr std::uint32_t BI_RGB = 0;

struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const RECT&) const = default;
};

struct BITMAPINFOHEADER {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0; // negative: rows run top-down
    std::uint16_t biPlanes = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
    bool operator==(const BITMAPINFOHEADER&) const = default;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40); // as AVI stream headers store it

struct VIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    std::uint32_t dwBitRate = 0;
    std::uint32_t dwBitErrorRate = 0;
    REFERENCE_TIME AvgTimePerFrame = 0;
    BITMAPINFOHEADER bmiHeader;
    bool operator==(const VIDEOINFOHEADER&) const = default;
};
static_assert(sizeof(VIDEOINFOHEADER) == 88); // the Windows layout

struct WAVEFORMATEX {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0; // bytes of extra format data that follow; none are held here
    bool operator==(const WAVEFORMATEX&) const = default;
};

// The format block; which alternative it holds goes with `formattype`.
using MediaFormat = std::variant<std::monostate, VIDEOINFOHEADER, WAVEFORMATEX>;

struct AM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    bool bFixedSizeSamples = false;
    bool bTemporalCompression = false;
    std::uint32_t lSampleSize = 0;
    GUID formattype;
    MediaFormat format;
    bool operator==(const AM_MEDIA_TYPE&) const = default;
};
