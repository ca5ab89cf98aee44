#include "generate_profile.h"

#include "platform/core/reftime.h"
#include "platform/wmformat/profile_manager.h"
#include "platform/wmformat/status.h"

#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace render {

using wmformat::ProfileManager;
using wmformat::StreamConfig;
using wmformat::WM_MEDIA_TYPE;

namespace {

constexpr std::uint16_t kAudioStreamNumber = 1;
constexpr std::uint16_t kVideoStreamNumber = 2;

HRESULT ConfigureStream(StreamConfig& config, std::uint16_t number, std::string_view name,
                        std::string_view connectionName, std::uint32_t bitrate,
                        const WM_MEDIA_TYPE& type) {
    HRESULT hr = config.SetStreamNumber(number);
    if (FAILED(hr))
        return hr;
    hr = config.SetStreamName(name);
    if (FAILED(hr))
        return hr;
    hr = config.SetConnectionName(connectionName);
    if (FAILED(hr))
        return hr;
    hr = config.SetBitrate(bitrate);
    if (FAILED(hr))
        return hr;
    return config.Props().SetMediaType(type);
}

// Within 249 bit/s either way, in unsigned 32-bit arithmetic: a rate further below wraps
// around to a large value.
bool WithinBitrateWindow(std::uint32_t avgBytesPerSec, std::uint32_t wanted) {
    return avgBytesPerSec * 8u - wanted + 249u <= 498u;
}

bool IsWanted(const WAVEFORMATEX& wave, const AudioStreamDesc& desc) {
    return WithinBitrateWindow(wave.nAvgBytesPerSec, desc.bitrate) &&
           wave.nSamplesPerSec == desc.sampleRate && wave.nChannels == desc.channels &&
           wave.wFormatTag == desc.formatTag;
}

// Visits every codec format of a media type in enumeration order, with its configuration and
// media type. `visit` returns S_OK to go on, S_FALSE to stop, or a failure to end with it;
// failures of the manager's calls end the walk with their status.
template <typename Visit>
HRESULT WalkCodecFormats(const ProfileManager& manager, const GUID& major, std::uint32_t codecs,
                         Visit visit) {
    for (std::uint32_t codec = 0; codec < codecs; ++codec) {
        std::uint32_t formats = 0;
        HRESULT hr = manager.GetCodecFormatCount(major, codec, &formats);
        if (FAILED(hr))
            return hr;
        for (std::uint32_t format = 0; format < formats; ++format) {
            std::unique_ptr<StreamConfig> config;
            hr = manager.GetCodecFormat(major, codec, format, config);
            if (FAILED(hr))
                return hr;
            WM_MEDIA_TYPE type;
            hr = config->Props().GetMediaType(&type);
            if (FAILED(hr))
                return hr;
            hr = visit(config, type);
            if (hr != S_OK)
                return hr;
        }
    }
    return S_OK;
}

HRESULT AddAudioStream(const ProfileManager& manager, wmformat::Profile& profile,
                       const AudioStreamDesc& desc) {
    std::uint32_t codecs = 0;
    HRESULT hr = manager.GetCodecInfoCount(wmformat::WMMEDIATYPE_Audio, &codecs);
    if (FAILED(hr))
        return hr;
    if (codecs == 0)
        return wmformat::NS_E_AUDIO_CODEC_NOT_INSTALLED;

    std::optional<WM_MEDIA_TYPE> best; // a copy of the whole format block
    hr = WalkCodecFormats(
        manager, wmformat::WMMEDIATYPE_Audio, codecs,
        [&](std::unique_ptr<StreamConfig>&, WM_MEDIA_TYPE& type) {
            if (type.formattype != FORMAT_WaveFormatEx)
                return E_FAIL;
            const auto& wave = std::get<WAVEFORMATEX>(type.format);
            if (IsWanted(wave, desc) &&
                (!best || wave.nBlockAlign <= std::get<WAVEFORMATEX>(best->format).nBlockAlign))
                best = std::move(type);
            return S_OK;
        });
    if (FAILED(hr))
        return hr;
    if (!best)
        return wmformat::NS_E_AUDIO_CODEC_NOT_INSTALLED;

    const auto& wave = std::get<WAVEFORMATEX>(best->format);
    const WM_MEDIA_TYPE type = wmformat::WaveFormatMediaType(wave, best->codecData);
    std::unique_ptr<StreamConfig> stream;
    hr = profile.CreateNewStream(wmformat::WMMEDIATYPE_Audio, stream);
    if (FAILED(hr))
        return hr;
    hr = ConfigureStream(*stream, kAudioStreamNumber, "Audio Stream", "Audio",
                         wave.nAvgBytesPerSec * 8, type);
    if (FAILED(hr))
        return hr;
    return profile.AddStream(*stream);
}

// The FourCCs to look for, in turn. Nothing here encodes WMV 3, so a request for it takes the
// best older WMV format there is.
std::vector<std::uint32_t> FourCcsFor(std::uint32_t wanted) {
    if (wanted == wmformat::MakeFourCc("WMV3"))
        return {wanted, wmformat::MakeFourCc("WMV2"), wmformat::MakeFourCc("WMV1")};
    return {wanted};
}

// The first picture format of that FourCC, with its media type; none found is no failure.
HRESULT FindVideoFormat(const ProfileManager& manager, std::uint32_t codecs, std::uint32_t fourCc,
                        std::unique_ptr<StreamConfig>& found, WM_MEDIA_TYPE& foundType) {
    const HRESULT hr = WalkCodecFormats(
        manager, wmformat::WMMEDIATYPE_Video, codecs,
        [&](std::unique_ptr<StreamConfig>& config, WM_MEDIA_TYPE& type) {
            if (type.formattype != FORMAT_VideoInfo ||
                std::get<VIDEOINFOHEADER>(type.format).bmiHeader.biCompression != fourCc)
                return S_OK;
            found = std::move(config);
            foundType = std::move(type);
            return S_FALSE;
        });
    return FAILED(hr) ? hr : S_OK;
}

HRESULT AddVideoStream(const ProfileManager& manager, wmformat::Profile& profile,
                       std::uint16_t number, const VideoStreamDesc& desc) {
    std::uint32_t codecs = 0;
    HRESULT hr = manager.GetCodecInfoCount(wmformat::WMMEDIATYPE_Video, &codecs);
    if (FAILED(hr))
        return hr;
    if (codecs == 0)
        return wmformat::NS_E_VIDEO_CODEC_NOT_INSTALLED;

    std::unique_ptr<StreamConfig> stream;
    WM_MEDIA_TYPE type;
    for (std::uint32_t fourCc : FourCcsFor(desc.fourCc)) {
        hr = FindVideoFormat(manager, codecs, fourCc, stream, type);
        if (FAILED(hr))
            return hr;
        if (stream)
            break;
    }
    if (!stream)
        return wmformat::NS_E_VIDEO_CODEC_NOT_INSTALLED;

    auto& info = std::get<VIDEOINFOHEADER>(type.format);
    info.rcSource.right = info.rcTarget.right = info.bmiHeader.biWidth = desc.width;
    info.rcSource.bottom = info.rcTarget.bottom = info.bmiHeader.biHeight = desc.height;
    info.dwBitRate = desc.bitrate;
    info.AvgTimePerFrame = UNITS / desc.frameRate;

    // A picture format's configuration always has the picture properties.
    wmformat::VideoMediaProps& props = *stream->VideoProps();
    hr = props.SetQuality(desc.quality);
    if (FAILED(hr))
        return hr;
    hr = props.SetMaxKeyFrameSpacing(REFERENCE_TIME{desc.keyFrameSpacing} * UNITS);
    if (FAILED(hr))
        return hr;
    hr = ConfigureStream(*stream, number, "Video Stream", "Video", desc.bitrate, type);
    if (FAILED(hr))
        return hr;
    return profile.AddStream(*stream);
}

} // namespace

std::optional<std::int32_t> ProfileFrameRate(double outputFrameRate) {
    if (!(outputFrameRate >= 1.0 && outputFrameRate < static_cast<double>(UNITS + 1)))
        return std::nullopt;
    return static_cast<std::int32_t>(outputFrameRate);
}

HRESULT GenerateProfile(const AudioStreamDesc* audio, const VideoStreamDesc* video,
                        std::uint32_t version, std::unique_ptr<wmformat::Profile>* profile,
                        const wmformat::CodecCatalogue& catalogue) {
    if (!audio || !video || !profile || video->frameRate < 1)
        return E_INVALIDARG;
    profile->reset();

    std::unique_ptr<ProfileManager> manager;
    HRESULT hr = wmformat::WMCreateProfileManager(manager, catalogue);
    if (FAILED(hr))
        return hr;
    std::unique_ptr<wmformat::Profile> made;
    hr = manager->CreateEmptyProfile(version, made);
    if (FAILED(hr))
        return hr;
    hr = made->SetName("Custom Profile");
    if (FAILED(hr))
        return hr;
    hr = AddAudioStream(*manager, *made, *audio);
    if (FAILED(hr))
        return hr;
    hr = AddVideoStream(*manager, *made, kVideoStreamNumber, *video);
    if (FAILED(hr))
        return hr;
    *profile = std::move(made);
    return S_OK;
}

} // namespace render
