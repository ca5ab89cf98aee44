#include "group_media_types.h"

namespace render {

std::uint32_t Rgb24ImageSize(std::int32_t width, std::int32_t height) {
    const std::int64_t stride = ((std::int64_t{width} * 24 + 31) >> 3) & ~std::int64_t{3};
    const std::int64_t size = stride * height;
    return static_cast<std::uint32_t>(size < 0 ? -size : size);
}

AM_MEDIA_TYPE VideoGroupMediaType(std::int32_t width, std::int32_t height) {
    VIDEOINFOHEADER info;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = Rgb24ImageSize(width, height);

    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.bFixedSizeSamples = true;
    type.bTemporalCompression = false;
    type.lSampleSize = info.bmiHeader.biSizeImage;
    type.formattype = FORMAT_VideoInfo;
    type.format = info;
    return type;
}

AM_MEDIA_TYPE AudioGroupMediaType() {
    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Audio;
    type.bFixedSizeSamples = true;
    type.lSampleSize = 1;
    return type;
}

} // namespace render
