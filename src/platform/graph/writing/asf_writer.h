#pragma once
// The Windows Media ASF writer: a writer configured with one stream per entry of a profile,
// each with an input of its own that takes decoded pictures or sound, encodes them with the
// stream's Windows Media encoder (WMV 1 or 2 pictures, WMA 1 or 2 sound, by FFmpeg) at the
// stream's bit rate, size, frame rate or sample rate, and writes them into an ASF file. A
// Windows Media profile is turned into an AsfWriterConfig by its owner; nothing here knows
// profiles.
//
//   graph::AsfWriterConfig config;
//   config.streams.push_back({.number = 1, .major = graph::MajorType::Audio,
//                             .codec = graph::WAVE_FORMAT_WMAUDIO2, .bitrate = 128'000,
//                             .sampleRate = 44'100, .channels = 2});
//   config.streams.push_back({.number = 2, .major = graph::MajorType::Video,
//                             .codec = graph::FourCc("WMV2"), .bitrate = 1'000'000,
//                             .width = 640, .height = 480, .frameDuration = UNITS / 25,
//                             .keyFrameSpacing = 8 * UNITS});
//   writer->ConfigureFilterUsingProfile(config);  // inputs "Audio Input 01", "Video Input 02"
// Owned by its graph; the threads are the multiplexer's.
#include "platform/graph/writing/multiplexer.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace graph {

constexpr CLSID CLSID_WMAsfWriter = core::GuidLiteral("{7C23220E-55BB-11D3-8B16-00C04FB6BD3D}");

// Codes of the formats the writer encodes: wave format tags and picture FourCCs.
constexpr std::uint32_t WAVE_FORMAT_MSAUDIO1 = 0x0160;
constexpr std::uint32_t WAVE_FORMAT_WMAUDIO2 = 0x0161;
// The 32-bit code of a four-letter name, first letter in the lowest byte.
constexpr std::uint32_t FourCc(std::string_view name) {
    return static_cast<std::uint8_t>(name[0]) | static_cast<std::uint8_t>(name[1]) << 8 |
           static_cast<std::uint8_t>(name[2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[3])) << 24;
}

struct AsfStreamConfig {
    std::uint16_t number = 0; // 1 to 63
    MajorType major = MajorType::Other;
    std::uint32_t codec = 0;   // a wave format tag for sound, a FourCC for pictures
    std::uint32_t bitrate = 0; // bits per second
    // Sound.
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    // Pictures.
    std::int32_t width = 0;
    std::int32_t height = 0;
    REFERENCE_TIME frameDuration = 0;   // the time of one frame
    REFERENCE_TIME keyFrameSpacing = 0; // the longest time between key frames; 0: the encoder's
    std::uint32_t quality = 0;          // 0 favours smooth motion, 100 sharp pictures
};

struct AsfWriterConfig {
    std::vector<AsfStreamConfig> streams;
};

class AsfWriter final : public Multiplexer {
  public:
    static HRESULT Create(std::shared_ptr<AsfWriter>* out);

    // Replaces the inputs with one per stream, named "Audio Input NN" or "Video Input NN"
    // after the stream number, in the order given. VFW_E_NOT_STOPPED while running;
    // E_INVALIDARG for a stream that is neither sound nor picture, a number outside 1 to 63
    // or used twice, a sound stream without rate or channels, a picture stream without size
    // or frame time; VFW_E_UNSUPPORTED_STREAM for a codec the writer does not encode.
    HRESULT ConfigureFilterUsingProfile(const AsfWriterConfig& config);
    const AsfWriterConfig& CurrentProfile() const { return config_; }

  protected:
    // Decoded samples of the input's stream kind only.
    bool AcceptsOn(const Pin& input, const MediaType& type) const override;
    HRESULT MakeCoder(const Pin& input, const MediaType& type,
                      std::unique_ptr<StreamCoder>* out) const override;

  private:
    AsfWriter();
    const AsfStreamConfig* StreamOf(const Pin& input) const;

    AsfWriterConfig config_; // user-interface thread, while stopped
};

} // namespace graph
