#include "profile_manager.h"

#include "platform/wmformat/profile_text.h"

#include <algorithm>
#include <variant>

namespace wmformat {

namespace {

std::uint32_t OwnBitrate(const WM_MEDIA_TYPE& type) {
    if (const auto* wave = std::get_if<WAVEFORMATEX>(&type.format))
        return wave->nAvgBytesPerSec * 8;
    if (const auto* info = std::get_if<VIDEOINFOHEADER>(&type.format))
        return info->dwBitRate;
    return 0;
}

} // namespace

HRESULT ProfileManager::CreateEmptyProfile(std::uint32_t version,
                                           std::unique_ptr<Profile>& profile) const {
    profile.reset();
    if (!IsProfileVersion(version))
        return E_INVALIDARG;
    profile = std::make_unique<Profile>(version);
    return S_OK;
}

HRESULT ProfileManager::LoadProfileByData(std::string_view text,
                                          std::unique_ptr<Profile>& profile) const {
    return ReadProfileText(text, profile);
}

HRESULT ProfileManager::GetCodecInfoCount(const GUID& majorType, std::uint32_t* count) const {
    if (!count)
        return E_POINTER;
    *count = static_cast<std::uint32_t>(
        std::count_if(catalogue_->begin(), catalogue_->end(),
                      [&majorType](const CatalogueCodec& c) { return c.majorType == majorType; }));
    return S_OK;
}

const CatalogueCodec* ProfileManager::FindCodec(const GUID& majorType, std::uint32_t codec) const {
    for (const CatalogueCodec& candidate : *catalogue_) {
        if (candidate.majorType != majorType)
            continue;
        if (codec == 0)
            return &candidate;
        --codec;
    }
    return nullptr;
}

HRESULT ProfileManager::GetCodecFormatCount(const GUID& majorType, std::uint32_t codec,
                                            std::uint32_t* count) const {
    if (!count)
        return E_POINTER;
    const CatalogueCodec* found = FindCodec(majorType, codec);
    if (!found)
        return E_INVALIDARG;
    *count = static_cast<std::uint32_t>(found->formats.size());
    return S_OK;
}

HRESULT ProfileManager::GetCodecFormat(const GUID& majorType, std::uint32_t codec,
                                       std::uint32_t format,
                                       std::unique_ptr<StreamConfig>& config) const {
    config.reset();
    const CatalogueCodec* found = FindCodec(majorType, codec);
    if (!found || format >= found->formats.size())
        return E_INVALIDARG;
    const WM_MEDIA_TYPE& type = found->formats[format];
    auto made = std::make_unique<StreamConfig>(majorType);
    HRESULT hr = made->Props().SetMediaType(type);
    if (FAILED(hr))
        return hr;
    hr = made->SetBitrate(OwnBitrate(type));
    if (FAILED(hr))
        return hr;
    config = std::move(made);
    return S_OK;
}

HRESULT WMCreateProfileManager(std::unique_ptr<ProfileManager>& manager,
                               const CodecCatalogue& catalogue) {
    manager = std::make_unique<ProfileManager>(catalogue);
    return S_OK;
}

} // namespace wmformat
