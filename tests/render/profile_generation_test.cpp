// The generated Windows Media profile: which codec formats it takes and how it sets them up.
#include "render/generate_profile.h"

#include <gtest/gtest.h>

#include <limits>

using namespace wmformat;
using render::AudioStreamDesc;
using render::GenerateProfile;
using render::VideoStreamDesc;

namespace {

constexpr HRESULT kNoAudioCodec = static_cast<HRESULT>(0xC00D0BC2u);
constexpr HRESULT kNoVideoCodec = static_cast<HRESULT>(0xC00D0BC4u);

// What the WMV output asks for, at the options' default bit rates.
constexpr AudioStreamDesc kAudio{128000, 0x161, 44100, 2};

VideoStreamDesc Video(std::string_view fourCc = "WMV3", std::int32_t frameRate = 25) {
    return {MakeFourCc(fourCc), 798720, 480, 640, frameRate, 0, 8};
}

WM_MEDIA_TYPE Wave(std::uint32_t avgBytesPerSec, std::uint16_t blockAlign,
                   std::uint16_t tag = WAVE_FORMAT_WMAUDIO2, std::uint32_t sampleRate = 44100,
                   std::uint16_t channels = 2) {
    WAVEFORMATEX wave;
    wave.wFormatTag = tag;
    wave.nChannels = channels;
    wave.nSamplesPerSec = sampleRate;
    wave.nAvgBytesPerSec = avgBytesPerSec;
    wave.nBlockAlign = blockAlign;
    wave.wBitsPerSample = 16;
    wave.cbSize = 1;
    return WaveFormatMediaType(wave, {static_cast<std::uint8_t>(avgBytesPerSec)});
}

// A picture format with values a profile keeps: its bit depth tells formats apart.
WM_MEDIA_TYPE Picture(std::string_view fourCc, std::uint16_t bitCount = 24) {
    VIDEOINFOHEADER info;
    info.rcSource = {0, 0, 176, 144};
    info.rcTarget = {8, 4, 176, 144};
    info.dwBitRate = 64000;
    info.dwBitErrorRate = 3;
    info.AvgTimePerFrame = 666666;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 176;
    info.bmiHeader.biHeight = 144;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = MakeFourCc(fourCc);
    return VideoInfoMediaType(info);
}

CodecCatalogue WithSound(std::vector<std::vector<WM_MEDIA_TYPE>> soundCodecs) {
    CodecCatalogue catalogue;
    for (auto& formats : soundCodecs)
        catalogue.push_back({WMMEDIATYPE_Audio, std::move(formats)});
    catalogue.push_back({WMMEDIATYPE_Video, {Picture("WMV2")}});
    return catalogue;
}

CodecCatalogue WithPictures(std::vector<std::vector<WM_MEDIA_TYPE>> pictureCodecs) {
    CodecCatalogue catalogue{{WMMEDIATYPE_Audio, {Wave(16000, 743)}}};
    for (auto& formats : pictureCodecs)
        catalogue.push_back({WMMEDIATYPE_Video, std::move(formats)});
    return catalogue;
}

struct Generated {
    HRESULT hr = E_UNEXPECTED;
    std::unique_ptr<Profile> profile;

    WM_MEDIA_TYPE StreamType(std::uint32_t index) const {
        WM_MEDIA_TYPE type;
        profile->GetStream(index)->Props().GetMediaType(&type);
        return type;
    }
    WAVEFORMATEX Sound() const { return std::get<WAVEFORMATEX>(StreamType(0).format); }
    VIDEOINFOHEADER Picture() const { return std::get<VIDEOINFOHEADER>(StreamType(1).format); }
};

Generated Generate(const CodecCatalogue& catalogue, const AudioStreamDesc& audio = kAudio,
                   const VideoStreamDesc& video = Video()) {
    Generated generated;
    generated.hr = GenerateProfile(&audio, &video, WMT_VER_9_0, &generated.profile, catalogue);
    EXPECT_EQ(SUCCEEDED(generated.hr), generated.profile != nullptr);
    return generated;
}

} // namespace

TEST(GenerateProfile, SoundFormatsQualifyWithin249BitsPerSecondOfTheWantedRate) {
    for (std::uint32_t avgBytesPerSec : {15969u, 16031u}) {
        const Generated generated = Generate(WithSound({{Wave(avgBytesPerSec, 743)}}));
        ASSERT_EQ(generated.hr, S_OK) << avgBytesPerSec * 8 << " bit/s";
        EXPECT_EQ(generated.Sound().nAvgBytesPerSec, avgBytesPerSec);
    }
    for (std::uint32_t avgBytesPerSec : {15968u, 16032u, 0u})
        EXPECT_EQ(Generate(WithSound({{Wave(avgBytesPerSec, 743)}})).hr, kNoAudioCodec)
            << avgBytesPerSec * 8 << " bit/s";
    // The tag, the sample rate and the channel count must be the wanted ones.
    EXPECT_EQ(Generate(WithSound({{Wave(16000, 743, WAVE_FORMAT_MSAUDIO1),
                                   Wave(16000, 743, WAVE_FORMAT_WMAUDIO2, 48000),
                                   Wave(16000, 743, WAVE_FORMAT_WMAUDIO2, 44100, 1)}}))
                  .hr,
              kNoAudioCodec);
}

TEST(GenerateProfile, TheSmallestBlockAlignmentWinsAndTheLaterOfEquals) {
    EXPECT_EQ(Generate(WithSound({{Wave(16000, 800), Wave(16010, 700), Wave(16020, 750)}}))
                  .Sound()
                  .nAvgBytesPerSec,
              16010u);
    EXPECT_EQ(Generate(WithSound({{Wave(16000, 743), Wave(16010, 743)}})).Sound().nAvgBytesPerSec,
              16010u);
    // Across codecs too; and a smaller block of a format that does not qualify counts for
    // nothing.
    const Generated generated =
        Generate(WithSound({{Wave(16000, 743), Wave(8000, 10)}, {Wave(16020, 743)}}));
    EXPECT_EQ(generated.Sound().nAvgBytesPerSec, 16020u);
    EXPECT_EQ(generated.StreamType(0), Wave(16020, 743));
}

TEST(GenerateProfile, ASoundFormatThatIsNotAWaveFormatEndsTheSearchWithEFail) {
    WM_MEDIA_TYPE notWave = Picture("WMV2");
    notWave.majortype = WMMEDIATYPE_Audio;
    EXPECT_EQ(Generate(WithSound({{notWave, Wave(16000, 743)}})).hr, E_FAIL);
    EXPECT_EQ(Generate(WithSound({{Wave(16000, 743)}, {notWave}})).hr, E_FAIL);
}

TEST(GenerateProfile, WithoutAMatchingCodecFormatTheNotInstalledCodesComeBack) {
    EXPECT_EQ(Generate({}).hr, kNoAudioCodec);
    EXPECT_EQ(Generate(WithPictures({})).hr, kNoVideoCodec);
    EXPECT_EQ(Generate(WithPictures({{Picture("WMV2")}}), kAudio, Video("MP43")).hr, kNoVideoCodec);
    EXPECT_EQ(Generate(WithPictures({{Picture("MP43")}}), kAudio, Video("WMV3")).hr, kNoVideoCodec);
}

TEST(GenerateProfile, TheFirstPictureFormatOfTheFourCcIsTaken) {
    WM_MEDIA_TYPE otherFormatType = Picture("WMV2", 8);
    otherFormatType.formattype = FORMAT_WaveFormatEx;
    otherFormatType.format = WAVEFORMATEX{};
    otherFormatType.cbFormat = kWaveFormatExBytes;
    const Generated generated = Generate(WithPictures({{otherFormatType, Picture("WMV1", 12)},
                                                       {Picture("WMV2", 16), Picture("WMV2", 32)}}),
                                         kAudio, Video("WMV2"));
    EXPECT_EQ(generated.Picture().bmiHeader.biBitCount, 16);
}

TEST(GenerateProfile, WMV3TakesTheBestWmvFormatOnOffer) {
    struct Case {
        std::vector<std::vector<WM_MEDIA_TYPE>> codecs;
        GUID subtype;
    };
    const Case cases[] = {
        {{{Picture("WMV1")}, {Picture("WMV2")}}, WMMEDIASUBTYPE_WMV2},
        {{{Picture("WMV1")}}, WMMEDIASUBTYPE_WMV1},
        {{{Picture("WMV1"), Picture("WMV2")}, {Picture("WMV3")}}, WMMEDIASUBTYPE_WMV3},
    };
    for (const Case& c : cases) {
        const Generated generated = Generate(WithPictures(c.codecs));
        ASSERT_EQ(generated.hr, S_OK);
        EXPECT_EQ(generated.StreamType(1).subtype, c.subtype);
        EXPECT_EQ(SubtypeOfCode(generated.Picture().bmiHeader.biCompression), c.subtype);
    }
}

TEST(GenerateProfile, TheStandardCatalogueServesTheWmvOutputAtEveryOfferedAudioBitRate) {
    for (std::uint32_t bitrate : {64000u, 128000u, 192000u, 320000u}) {
        const AudioStreamDesc audio{bitrate, 0x161, 44100, 2};
        const Generated generated = Generate(StandardCatalogue(), audio);
        ASSERT_EQ(generated.hr, S_OK) << bitrate;
        EXPECT_EQ(generated.StreamType(0).subtype, WMMEDIASUBTYPE_WMAudioV2);
        EXPECT_EQ(generated.profile->GetStream(0)->GetBitrate(), bitrate);
        EXPECT_EQ(generated.StreamType(1).subtype, WMMEDIASUBTYPE_WMV2);
    }
}

class PictureStreamTest : public testing::TestWithParam<std::pair<std::int32_t, REFERENCE_TIME>> {};

TEST_P(PictureStreamTest, TakesTheOutputSizeBitRateAndWholeFrameDuration) {
    const auto [frameRate, frameDuration] = GetParam();
    const Generated generated =
        Generate(WithPictures({{Picture("WMV2")}}), kAudio, Video("WMV2", frameRate));
    ASSERT_EQ(generated.hr, S_OK);
    const VIDEOINFOHEADER info = generated.Picture();
    EXPECT_EQ(info.AvgTimePerFrame, frameDuration);
    EXPECT_EQ(info.rcSource, (RECT{0, 0, 640, 480}));
    EXPECT_EQ(info.rcTarget, (RECT{8, 4, 640, 480}));
    EXPECT_EQ(info.bmiHeader.biWidth, 640);
    EXPECT_EQ(info.bmiHeader.biHeight, 480);
    EXPECT_EQ(info.dwBitRate, 798720u);
    // The codec's own values stay.
    EXPECT_EQ(info.dwBitErrorRate, 3u);
    EXPECT_EQ(info.bmiHeader.biBitCount, 24);
    EXPECT_EQ(info.bmiHeader.biPlanes, 1);

    const VideoMediaProps& props = *generated.profile->GetStream(1)->VideoProps();
    EXPECT_EQ(props.GetQuality(), 0u);
    EXPECT_EQ(props.GetMaxKeyFrameSpacing(), 80'000'000);
}

INSTANTIATE_TEST_SUITE_P(FrameRates, PictureStreamTest,
                         testing::Values(std::pair{23, 434782}, std::pair{25, 400000},
                                         std::pair{29, 344827}, std::pair{30, 333333}));

TEST(GenerateProfile, TheProfileIsCustomProfileWithTheSoundAsStream1AndThePictureAs2) {
    const Generated generated = Generate(WithSound({{Wave(16010, 743)}}));
    ASSERT_EQ(generated.hr, S_OK);
    const Profile& profile = *generated.profile;
    EXPECT_EQ(profile.GetName(), "Custom Profile");
    EXPECT_EQ(profile.GetVersion(), WMT_VER_9_0);
    ASSERT_EQ(profile.GetStreamCount(), 2u);

    const StreamConfig& sound = *profile.GetStream(0);
    EXPECT_EQ(sound.GetStreamType(), WMMEDIATYPE_Audio);
    EXPECT_EQ(sound.GetStreamNumber(), 1u);
    EXPECT_EQ(sound.GetStreamName(), "Audio Stream");
    EXPECT_EQ(sound.GetConnectionName(), "Audio");
    EXPECT_EQ(sound.GetBitrate(), 128080u); // the format's rate, not the wanted one

    const StreamConfig& picture = *profile.GetStream(1);
    EXPECT_EQ(picture.GetStreamType(), WMMEDIATYPE_Video);
    EXPECT_EQ(picture.GetStreamNumber(), 2u);
    EXPECT_EQ(picture.GetStreamName(), "Video Stream");
    EXPECT_EQ(picture.GetConnectionName(), "Video");
    EXPECT_EQ(picture.GetBitrate(), 798720u);
}

TEST(GenerateProfile, MissingDescriptionsOrOutPointerAndFrameRatesBelowOneAreRefused) {
    const VideoStreamDesc video = Video();
    std::unique_ptr<Profile> profile = std::make_unique<Profile>(WMT_VER_9_0);
    EXPECT_EQ(GenerateProfile(nullptr, &video, WMT_VER_9_0, &profile), E_INVALIDARG);
    EXPECT_EQ(GenerateProfile(&kAudio, nullptr, WMT_VER_9_0, &profile), E_INVALIDARG);
    EXPECT_EQ(GenerateProfile(&kAudio, &video, WMT_VER_9_0, nullptr), E_INVALIDARG);
    const VideoStreamDesc noFrames = Video("WMV3", 0);
    EXPECT_EQ(GenerateProfile(&kAudio, &noFrames, WMT_VER_9_0, &profile), E_INVALIDARG);
    EXPECT_EQ(GenerateProfile(&kAudio, &video, 0x00050000, &profile), E_INVALIDARG);
    EXPECT_EQ(profile, nullptr);
}

TEST(ProfileFrameRate, IsTheWholeRateOrNothingWhenNoFrameDurationFollows) {
    EXPECT_EQ(render::ProfileFrameRate(29.97), 29);
    EXPECT_EQ(render::ProfileFrameRate(23.976), 23);
    EXPECT_EQ(render::ProfileFrameRate(1.0), 1);
    EXPECT_EQ(render::ProfileFrameRate(10'000'000.5), 10'000'000);
    for (double refused :
         {0.999, 0.001, 0.0, -25.0, 10'000'001.0, 1e300, std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::infinity()})
        EXPECT_EQ(render::ProfileFrameRate(refused), std::nullopt) << refused;
}
