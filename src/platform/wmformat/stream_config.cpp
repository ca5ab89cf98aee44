#include "stream_config.h"

namespace wmformat {

HRESULT MediaProps::GetMediaType(WM_MEDIA_TYPE* type) const {
    if (!type)
        return E_POINTER;
    *type = type_;
    return S_OK;
}

HRESULT MediaProps::SetMediaType(const WM_MEDIA_TYPE& type) {
    if (type.majortype != streamType_ || !FormatBlockIsWhole(type))
        return E_INVALIDARG;
    type_ = type;
    return S_OK;
}

HRESULT VideoMediaProps::SetQuality(std::uint32_t quality) {
    if (quality > 100)
        return E_INVALIDARG;
    quality_ = quality;
    return S_OK;
}

HRESULT VideoMediaProps::SetMaxKeyFrameSpacing(REFERENCE_TIME spacing) {
    if (spacing < 0)
        return E_INVALIDARG;
    maxKeyFrameSpacing_ = spacing;
    return S_OK;
}

HRESULT StreamConfig::SetStreamNumber(std::uint16_t number) {
    if (number < 1 || number > 63)
        return E_INVALIDARG;
    number_ = number;
    return S_OK;
}

HRESULT StreamConfig::SetStreamName(std::string_view name) {
    name_ = name;
    return S_OK;
}

HRESULT StreamConfig::SetConnectionName(std::string_view name) {
    connectionName_ = name;
    return S_OK;
}

HRESULT StreamConfig::SetBitrate(std::uint32_t bitrate) {
    bitrate_ = bitrate;
    return S_OK;
}

VideoMediaProps* StreamConfig::VideoProps() {
    return GetStreamType() == WMMEDIATYPE_Video ? &props_ : nullptr;
}

const VideoMediaProps* StreamConfig::VideoProps() const {
    return GetStreamType() == WMMEDIATYPE_Video ? &props_ : nullptr;
}

} // namespace wmformat
