#include "profile.h"

#include <algorithm>

namespace wmformat {

HRESULT Profile::SetName(std::string_view name) {
    name_ = name;
    return S_OK;
}

HRESULT Profile::CreateNewStream(const GUID& streamType,
                                 std::unique_ptr<StreamConfig>& config) const {
    config.reset();
    if (streamType != WMMEDIATYPE_Audio && streamType != WMMEDIATYPE_Video)
        return E_INVALIDARG;
    config = std::make_unique<StreamConfig>(streamType);
    return S_OK;
}

HRESULT Profile::AddStream(const StreamConfig& config) {
    WM_MEDIA_TYPE type;
    config.Props().GetMediaType(&type);
    const std::uint16_t number = config.GetStreamNumber();
    const bool numberTaken = std::any_of(streams_.begin(), streams_.end(), [number](const auto& s) {
        return s.GetStreamNumber() == number;
    });
    // A type that was set has passed SetMediaType, so its major type is the stream's.
    if (number == 0 || numberTaken || type.majortype != config.GetStreamType())
        return E_INVALIDARG;
    streams_.push_back(config);
    return S_OK;
}

const StreamConfig* Profile::GetStream(std::uint32_t index) const {
    return index < streams_.size() ? &streams_[index] : nullptr;
}

} // namespace wmformat
