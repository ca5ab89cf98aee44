#pragma once
// The Windows Media profile the ASF writer is configured with for WMV output: one sound and one
// picture stream, each the profile manager's codec format that matches a small description,
// in a new profile named "Custom Profile".
#include "platform/wmformat/codec_catalogue.h"
#include "platform/wmformat/profile.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace render {

struct AudioStreamDesc {
    std::uint32_t bitrate;   // bits per second
    std::uint32_t formatTag; // wFormatTag of the codec
    std::uint32_t sampleRate;
    std::uint32_t channels;
};

struct VideoStreamDesc {
    std::uint32_t fourCc; // biCompression of the codec format
    std::uint32_t bitrate;
    std::int32_t height;
    std::int32_t width;
    std::int32_t frameRate; // whole frames per second, at least 1
    std::uint32_t quality;
    std::uint32_t keyFrameSpacing; // seconds
};

// The whole frame rate a profile is generated with for an output frame rate: the rate
// truncated toward zero. Nothing for a rate that gives no frame duration (below 1, or above
// one frame per 100 ns) or is not a number; such a rate must be refused before generating.
std::optional<std::int32_t> ProfileFrameRate(double outputFrameRate);

// Stream 1 is the sound: the catalogue's WAVEFORMATEX format of the description's tag, sample
// rate and channels whose bit rate is within 249 bit/s of the wanted one, the smallest block
// alignment winning and the later of equals; its bit rate is the format's own. Stream 2 is
// the picture: the first VIDEOINFOHEADER format of the FourCC ("WMV3", which no encoder here
// makes, takes WMV 2, else WMV 1), set to the description's size, bit rate, frame duration,
// quality and key-frame spacing.
// Returns S_OK with the profile in `*profile`, else no profile and: E_INVALIDARG for a missing
// description or out pointer or a frame rate below 1; E_FAIL when a sound format that is not
// a WAVEFORMATEX comes up; NS_E_AUDIO_CODEC_NOT_INSTALLED / NS_E_VIDEO_CODEC_NOT_INSTALLED
// when no format matches; or the failing call's status.
HRESULT GenerateProfile(const AudioStreamDesc* audio, const VideoStreamDesc* video,
                        std::uint32_t version, std::unique_ptr<wmformat::Profile>* profile,
                        const wmformat::CodecCatalogue& catalogue = wmformat::StandardCatalogue());

} // namespace render
