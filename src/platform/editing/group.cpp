#include "group.h"

#include <cmath>

namespace editing {

namespace {
bool IsVideoTypeWeRender(const AM_MEDIA_TYPE& type) {
    const auto* info = std::get_if<VIDEOINFOHEADER>(&type.format);
    return type.subtype == MEDIASUBTYPE_RGB24 && type.formattype == FORMAT_VideoInfo && info &&
           info->bmiHeader.biBitCount == 24 && info->bmiHeader.biWidth > 0 &&
           info->bmiHeader.biHeight != 0;
}

bool IsAudioTypeWeRender(const AM_MEDIA_TYPE& type) {
    if (type.formattype == GUID_NULL)
        return std::holds_alternative<std::monostate>(type.format);
    return type.formattype == FORMAT_WaveFormatEx &&
           std::holds_alternative<WAVEFORMATEX>(type.format);
}
} // namespace

HRESULT Group::SetMediaType(const AM_MEDIA_TYPE& type) {
    const bool accepted = (type.majortype == MEDIATYPE_Video && IsVideoTypeWeRender(type)) ||
                          (type.majortype == MEDIATYPE_Audio && IsAudioTypeWeRender(type));
    if (!accepted)
        return E_INVALIDARG;
    type_ = type;
    return S_OK;
}

HRESULT Group::SetOutputFPS(double fps) {
    if (!std::isfinite(fps) || fps <= 0)
        return E_INVALIDARG;
    fps_ = fps;
    return S_OK;
}

HRESULT Group::SetPreviewMode(bool preview) {
    preview_ = preview;
    return S_OK;
}

HRESULT Group::VTrackInsBefore(std::unique_ptr<Track> track, int priority) {
    if (!track)
        return E_POINTER;
    if (priority < -1 || priority > GetTrackCount())
        return E_INVALIDARG;
    const auto at = priority == -1 ? tracks_.end() : tracks_.begin() + priority;
    tracks_.insert(at, std::move(track));
    return S_OK;
}

Track* Group::GetTrack(int index) {
    return index >= 0 && index < GetTrackCount() ? tracks_[index].get() : nullptr;
}

const Track* Group::GetTrack(int index) const {
    return index >= 0 && index < GetTrackCount() ? tracks_[index].get() : nullptr;
}

} // namespace editing
