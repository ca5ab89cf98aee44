#include "codec_catalogue.h"

namespace wmformat {

namespace {

constexpr std::uint32_t kSampleRates[] = {22050, 32000, 44100, 48000};
constexpr std::uint16_t kChannelCounts[] = {1, 2};
// The encoder refuses less than 24 kbit/s.
constexpr std::uint32_t kBitrates[] = {24000,  32000,  48000,  64000,  80000, 96000,
                                       128000, 160000, 192000, 256000, 320000};

// More than 4 bits a sample and channel is over a quarter of plain 16-bit sound: no rate a
// user would compress to.
bool WorthCompressing(std::uint32_t bitrate, std::uint32_t sampleRate, std::uint16_t channels) {
    return bitrate <= sampleRate * channels * 4;
}

// Samples per coded frame: 1024 up to 22,050 Hz (up to 32,000 Hz in the first generation),
// 2048 above, for the rates offered here.
std::uint32_t WmaFrameLength(std::uint16_t tag, std::uint32_t sampleRate) {
    const bool shortFrames =
        sampleRate <= 22050 || (sampleRate <= 32000 && tag == WAVE_FORMAT_MSAUDIO1);
    return shortFrames ? 1024 : 2048;
}

// The encoder's two flag fields, little-endian, with only "exponents coded by VLC" set.
std::vector<std::uint8_t> WmaCodecData(std::uint16_t tag) {
    if (tag == WAVE_FORMAT_MSAUDIO1)
        return {0, 0, 1, 0};
    return {0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
}

WM_MEDIA_TYPE WmaFormat(std::uint16_t tag, std::uint32_t sampleRate, std::uint16_t channels,
                        std::uint32_t bitrate) {
    std::vector<std::uint8_t> codecData = WmaCodecData(tag);
    WAVEFORMATEX wave;
    wave.wFormatTag = tag;
    wave.nChannels = channels;
    wave.nSamplesPerSec = sampleRate;
    wave.nAvgBytesPerSec = bitrate / 8;
    // Every packet is one frame, given its share of the bit rate rounded down.
    wave.nBlockAlign = static_cast<std::uint16_t>(
        std::uint64_t{bitrate} * WmaFrameLength(tag, sampleRate) / (std::uint64_t{sampleRate} * 8));
    wave.wBitsPerSample = 16; // what the ASF writer records for these codecs
    wave.cbSize = static_cast<std::uint16_t>(codecData.size());
    return WaveFormatMediaType(wave, std::move(codecData));
}

CatalogueCodec WmaCodec(std::uint16_t tag) {
    CatalogueCodec codec{WMMEDIATYPE_Audio, {}};
    for (std::uint32_t sampleRate : kSampleRates)
        for (std::uint16_t channels : kChannelCounts)
            for (std::uint32_t bitrate : kBitrates)
                if (WorthCompressing(bitrate, sampleRate, channels))
                    codec.formats.push_back(WmaFormat(tag, sampleRate, channels, bitrate));
    return codec;
}

CatalogueCodec WmvCodec(std::string_view fourCc) {
    constexpr std::int32_t kWidth = 320;
    constexpr std::int32_t kHeight = 240;
    VIDEOINFOHEADER info;
    info.rcSource = {0, 0, kWidth, kHeight};
    info.rcTarget = info.rcSource;
    info.dwBitRate = 300000;
    info.AvgTimePerFrame = UNITS / 30;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = MakeFourCc(fourCc);
    return {WMMEDIATYPE_Video, {VideoInfoMediaType(info)}};
}

} // namespace

const CodecCatalogue& StandardCatalogue() {
    static const CodecCatalogue catalogue{
        WmaCodec(WAVE_FORMAT_WMAUDIO2),
        WmaCodec(WAVE_FORMAT_MSAUDIO1),
        WmvCodec("WMV2"),
        WmvCodec("WMV1"),
    };
    return catalogue;
}

} // namespace wmformat
