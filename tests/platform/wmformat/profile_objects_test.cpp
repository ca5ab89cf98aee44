// Profiles, their streams and the profile manager's codec enumeration.
#include "platform/wmformat/profile_manager.h"

#include <gtest/gtest.h>

using namespace wmformat;

namespace {

WM_MEDIA_TYPE Sound(std::uint32_t avgBytesPerSec, std::uint16_t blockAlign) {
    WAVEFORMATEX wave;
    wave.wFormatTag = WAVE_FORMAT_WMAUDIO2;
    wave.nChannels = 2;
    wave.nSamplesPerSec = 44100;
    wave.nAvgBytesPerSec = avgBytesPerSec;
    wave.nBlockAlign = blockAlign;
    wave.cbSize = 2;
    return WaveFormatMediaType(wave, {0xAB, 0xCD});
}

WM_MEDIA_TYPE Picture(std::uint32_t bitrate) {
    VIDEOINFOHEADER info;
    info.dwBitRate = bitrate;
    info.bmiHeader.biCompression = MakeFourCc("WMV2");
    return VideoInfoMediaType(info);
}

} // namespace

TEST(ProfileManager, EnumeratesEachMajorTypesCodecsInCatalogueOrder) {
    const CodecCatalogue catalogue{
        {WMMEDIATYPE_Audio, {Sound(8000, 400), Sound(16000, 743)}},
        {WMMEDIATYPE_Video, {Picture(500000)}},
        {WMMEDIATYPE_Audio, {Sound(4000, 200)}},
    };
    std::unique_ptr<ProfileManager> manager;
    ASSERT_EQ(WMCreateProfileManager(manager, catalogue), S_OK);

    std::uint32_t count = 99;
    EXPECT_EQ(manager->GetCodecInfoCount(WMMEDIATYPE_Audio, &count), S_OK);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(manager->GetCodecInfoCount(MEDIATYPE_Stream, &count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(manager->GetCodecFormatCount(WMMEDIATYPE_Audio, 1, &count), S_OK);
    EXPECT_EQ(count, 1u);

    // A format comes as a stream of its own type, at its own bit rate.
    std::unique_ptr<StreamConfig> config;
    WM_MEDIA_TYPE type;
    ASSERT_EQ(manager->GetCodecFormat(WMMEDIATYPE_Audio, 1, 0, config), S_OK);
    EXPECT_EQ(config->GetStreamType(), WMMEDIATYPE_Audio);
    EXPECT_EQ(config->GetBitrate(), 32000u);
    EXPECT_EQ(config->Props().GetMediaType(&type), S_OK);
    EXPECT_EQ(type, Sound(4000, 200));
    EXPECT_EQ(config->VideoProps(), nullptr);
    ASSERT_EQ(manager->GetCodecFormat(WMMEDIATYPE_Video, 0, 0, config), S_OK);
    EXPECT_EQ(config->GetBitrate(), 500000u);
    EXPECT_NE(config->VideoProps(), nullptr);

    EXPECT_EQ(manager->GetCodecFormatCount(WMMEDIATYPE_Audio, 2, &count), E_INVALIDARG);
    EXPECT_EQ(manager->GetCodecFormat(WMMEDIATYPE_Audio, 0, 2, config), E_INVALIDARG);
    EXPECT_EQ(config, nullptr);
    EXPECT_EQ(manager->GetCodecFormat(WMMEDIATYPE_Video, 1, 0, config), E_INVALIDARG);
}

TEST(Profile, HoldsCopiesOfStreamsWithDistinctNumbersAndATypeOfTheirOwnKind) {
    Profile profile(WMT_VER_9_0);
    std::unique_ptr<StreamConfig> stream;
    EXPECT_EQ(profile.CreateNewStream(MEDIATYPE_Stream, stream), E_INVALIDARG);
    ASSERT_EQ(profile.CreateNewStream(WMMEDIATYPE_Audio, stream), S_OK);

    EXPECT_EQ(profile.AddStream(*stream), E_INVALIDARG); // no number
    EXPECT_EQ(stream->SetStreamNumber(0), E_INVALIDARG);
    EXPECT_EQ(stream->SetStreamNumber(64), E_INVALIDARG);
    ASSERT_EQ(stream->SetStreamNumber(63), S_OK);
    EXPECT_EQ(profile.AddStream(*stream), E_INVALIDARG); // no media type

    EXPECT_EQ(stream->Props().SetMediaType(Picture(1)), E_INVALIDARG);
    WM_MEDIA_TYPE uncounted = Sound(16000, 743);
    uncounted.codecData.push_back(0);
    EXPECT_EQ(stream->Props().SetMediaType(uncounted), E_INVALIDARG);
    ASSERT_EQ(stream->Props().SetMediaType(Sound(16000, 743)), S_OK);
    ASSERT_EQ(profile.AddStream(*stream), S_OK);
    EXPECT_EQ(profile.AddStream(*stream), E_INVALIDARG); // number taken

    stream->SetStreamNumber(1);
    stream->SetStreamName("changed after adding");
    ASSERT_EQ(profile.AddStream(*stream), S_OK);
    EXPECT_EQ(profile.GetStream(0)->GetStreamName(), "");
    EXPECT_EQ(profile.GetStream(1)->GetStreamNumber(), 1u);
    EXPECT_EQ(profile.GetStream(2), nullptr);
}
