// Profiles mapped from saved profile texts.
#include "render/generate_profile.h"
#include "render/map_profile.h"

#include <gtest/gtest.h>

using namespace wmformat;

namespace {

// The profile generated for WMV output at 128 kbit/s sound, 640×480 at 25 frames per second,
// as saved.
constexpr char kSavedCustomProfile[] = R"(<profile version="589824" name="Custom Profile">
  <streamconfig majortype="{73647561-0000-0010-8000-00AA00389B71}" streamnumber="1"
                streamname="Audio Stream" inputname="Audio" bitrate="128000">
    <wmmediatype subtype="{00000161-0000-0010-8000-00AA00389B71}" bfixedsizesamples="1"
                 btemporalcompression="0" lsamplesize="743">
      <waveformatex wFormatTag="353" nChannels="2" nSamplesPerSec="44100"
                    nAvgBytesPerSec="16000" nBlockAlign="743" wBitsPerSample="16"
                    codecdata="00000000010000000000"/>
    </wmmediatype>
  </streamconfig>
  <streamconfig majortype="{73646976-0000-0010-8000-00AA00389B71}" streamnumber="2"
                streamname="Video Stream" inputname="Video" bitrate="798720">
    <videomediaprops maxkeyframespacing="80000000" quality="0"/>
    <wmmediatype subtype="{32564D57-0000-0010-8000-00AA00389B71}" bfixedsizesamples="0"
                 btemporalcompression="1" lsamplesize="0">
      <videoinfoheader dwbitrate="798720" dwbiterrorrate="0" avgtimeperframe="400000">
        <rcsource left="0" top="0" right="640" bottom="480"/>
        <rctarget left="0" top="0" right="640" bottom="480"/>
        <bitmapinfoheader biwidth="640" biheight="480" biplanes="1" bibitcount="24"
                          bicompression="WMV2" bisizeimage="0" bixpelspermeter="0"
                          biypelspermeter="0" biclrused="0" biclrimportant="0"/>
      </videoinfoheader>
    </wmmediatype>
  </streamconfig>
</profile>)";

void ExpectSameStream(const StreamConfig& mapped, const StreamConfig& generated) {
    EXPECT_EQ(mapped.GetStreamType(), generated.GetStreamType());
    EXPECT_EQ(mapped.GetStreamNumber(), generated.GetStreamNumber());
    EXPECT_EQ(mapped.GetStreamName(), generated.GetStreamName());
    EXPECT_EQ(mapped.GetConnectionName(), generated.GetConnectionName());
    EXPECT_EQ(mapped.GetBitrate(), generated.GetBitrate());
    WM_MEDIA_TYPE mappedType;
    WM_MEDIA_TYPE generatedType;
    mapped.Props().GetMediaType(&mappedType);
    generated.Props().GetMediaType(&generatedType);
    EXPECT_EQ(mappedType, generatedType);
    if (generated.VideoProps()) {
        EXPECT_EQ(mapped.VideoProps()->GetQuality(), generated.VideoProps()->GetQuality());
        EXPECT_EQ(mapped.VideoProps()->GetMaxKeyFrameSpacing(),
                  generated.VideoProps()->GetMaxKeyFrameSpacing());
    }
}

} // namespace

TEST(MapProfile, ASavedGeneratedProfileMapsBackToTheSameProfile) {
    const render::AudioStreamDesc audio{128000, 0x161, 44100, 2};
    const render::VideoStreamDesc video{MakeFourCc("WMV3"), 798720, 480, 640, 25, 0, 8};
    std::unique_ptr<Profile> generated;
    ASSERT_EQ(render::GenerateProfile(&audio, &video, WMT_VER_9_0, &generated), S_OK);

    std::unique_ptr<Profile> mapped;
    ASSERT_EQ(render::MapProfile(kSavedCustomProfile, mapped), S_OK);
    EXPECT_EQ(mapped->GetName(), generated->GetName());
    EXPECT_EQ(mapped->GetVersion(), generated->GetVersion());
    ASSERT_EQ(mapped->GetStreamCount(), 2u);
    for (std::uint32_t i = 0; i < 2; ++i)
        ExpectSameStream(*mapped->GetStream(i), *generated->GetStream(i));
}

TEST(MapProfile, TheTextTest2IsNoProfile) {
    std::unique_ptr<Profile> mapped;
    const HRESULT hr = render::MapProfile("test2", mapped);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(hr, static_cast<HRESULT>(0xC00D0BC6u));
    EXPECT_EQ(mapped, nullptr);
}
