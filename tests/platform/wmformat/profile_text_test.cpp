// Loading saved profile texts.
#include "platform/wmformat/profile_manager.h"
#include "platform/wmformat/status.h"

#include <gtest/gtest.h>

#include <string>

using namespace wmformat;

namespace {

// A saved profile as written elsewhere: names in mixed case, and attributes and elements this
// reader has no use for.
const std::string kSaved = R"(<?xml version="1.0"?>
<profile version="589824" storageformat="1" name="Saved WMV" description="">
  <streamconfig majortype="{73647561-0000-0010-8000-00AA00389B71}" streamnumber="1"
      streamname="Audio Stream" inputname="Audio" bitrate="64000" bufferwindow="-1">
    <wmmediatype subtype="{00000161-0000-0010-8000-00AA00389B71}" bfixedsizesamples="1"
        btemporalcompression="0" lsamplesize="371">
      <waveformatex wFormatTag="353" nChannels="2" nSamplesPerSec="44100"
          nAvgBytesPerSec="8000" nBlockAlign="371" wBitsPerSample="16"
          codecdata="00000000010000000000"/>
    </wmmediatype>
  </streamconfig>
  <StreamConfig MajorType="{73646976-0000-0010-8000-00AA00389B71}" StreamNumber="2"
      StreamName="Video Stream" InputName="Video" Bitrate="798720">
    <videomediaprops maxkeyframespacing="80000000" quality="75"/>
    <wmmediatype subtype="{32564D57-0000-0010-8000-00AA00389B71}" bfixedsizesamples="0"
        btemporalcompression="1" lsamplesize="0">
      <videoinfoheader dwbitrate="798720" dwbiterrorrate="0" avgtimeperframe="417083">
        <rcsource left="0" top="0" right="720" bottom="-480"/>
        <rctarget left="0" top="0" right="720" bottom="480"/>
        <bitmapinfoheader biwidth="720" biheight="480" biplanes="1" bibitcount="24"
            bicompression="WMV2" bisizeimage="0" bixpelspermeter="0" biypelspermeter="0"
            biclrused="0" biclrimportant="0"/>
      </videoinfoheader>
    </wmmediatype>
  </StreamConfig>
  <streamprioritization><stream number="1" mandatory="1"/></streamprioritization>
</profile>
)";

HRESULT Load(const std::string& text, std::unique_ptr<Profile>& profile) {
    std::unique_ptr<ProfileManager> manager;
    EXPECT_EQ(WMCreateProfileManager(manager), S_OK);
    return manager->LoadProfileByData(text, profile);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

} // namespace

TEST(ProfileText, ASavedProfileLoadsWithItsStreamsAndFormats) {
    std::unique_ptr<Profile> profile;
    ASSERT_EQ(Load(kSaved, profile), S_OK);
    EXPECT_EQ(profile->GetName(), "Saved WMV");
    EXPECT_EQ(profile->GetVersion(), WMT_VER_9_0);
    ASSERT_EQ(profile->GetStreamCount(), 2u);

    const StreamConfig& sound = *profile->GetStream(0);
    EXPECT_EQ(sound.GetStreamType(), WMMEDIATYPE_Audio);
    EXPECT_EQ(sound.GetStreamNumber(), 1u);
    EXPECT_EQ(sound.GetStreamName(), "Audio Stream");
    EXPECT_EQ(sound.GetConnectionName(), "Audio");
    EXPECT_EQ(sound.GetBitrate(), 64000u);
    WAVEFORMATEX wave;
    wave.wFormatTag = 0x161;
    wave.nChannels = 2;
    wave.nSamplesPerSec = 44100;
    wave.nAvgBytesPerSec = 8000;
    wave.nBlockAlign = 371;
    wave.wBitsPerSample = 16;
    wave.cbSize = 10;
    WM_MEDIA_TYPE type;
    sound.Props().GetMediaType(&type);
    EXPECT_EQ(type, WaveFormatMediaType(wave, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0}));

    const StreamConfig& picture = *profile->GetStream(1);
    EXPECT_EQ(picture.GetStreamNumber(), 2u);
    EXPECT_EQ(picture.GetConnectionName(), "Video");
    EXPECT_EQ(picture.VideoProps()->GetMaxKeyFrameSpacing(), 80'000'000);
    EXPECT_EQ(picture.VideoProps()->GetQuality(), 75u);
    picture.Props().GetMediaType(&type);
    EXPECT_EQ(type.subtype, WMMEDIASUBTYPE_WMV2);
    EXPECT_TRUE(type.bTemporalCompression);
    EXPECT_EQ(type.cbFormat, 88u);
    const auto& info = std::get<VIDEOINFOHEADER>(type.format);
    EXPECT_EQ(info.AvgTimePerFrame, 417083);
    EXPECT_EQ(info.rcSource, (RECT{0, 0, 720, -480}));
    EXPECT_EQ(info.bmiHeader.biCompression, MakeFourCc("WMV2"));
    EXPECT_EQ(info.bmiHeader.biSize, 40u);
    EXPECT_EQ(info.bmiHeader.biBitCount, 24);
}

TEST(ProfileText, TextsThatAreNotProfilesAreRefused) {
    const std::string refused[] = {
        "test2",
        "",
        "<profile version=\"589824\" name=\"x\">",
        R"(<profile name="no version"/>)",
        R"(<profile version="327680" name="unknown version"/>)",
        R"(<prx version="589824" name="not a profile"/>)",
        Replaced(kSaved, R"(streamnumber="1")", R"(streamnumber="2")"),
        Replaced(kSaved, R"(streamnumber="1")", R"(streamnumber="64")"),
        Replaced(kSaved, R"( nBlockAlign="371")", ""),
        Replaced(kSaved, R"(nBlockAlign="371")", R"(nBlockAlign="37l")"),
        Replaced(kSaved, R"(nChannels="2")", R"(nChannels="65536")"),
        Replaced(kSaved, R"(codecdata="00000000010000000000")", R"(codecdata="0")"),
        Replaced(kSaved, R"(<wmmediatype subtype="{00000161)",
                 R"(<videomediaprops maxkeyframespacing="0" quality="0"/>)"
                 R"(<wmmediatype subtype="{00000161)"),
        Replaced(kSaved, "</wmmediatype>",
                 R"(<waveformatex wFormatTag="353" nChannels="2" nSamplesPerSec="44100")"
                 R"( nAvgBytesPerSec="8000" nBlockAlign="371" wBitsPerSample="16"/>)"
                 "</wmmediatype>"),
        Replaced(kSaved, "<waveformatex", "<waveformat"),
        Replaced(kSaved, "{73646976-", "{73646977-"),
        Replaced(kSaved, R"(bfixedsizesamples="1")", R"(bfixedsizesamples="yes")"),
        Replaced(kSaved, R"(<bitmapinfoheader)", R"(<bitmapinfo)"),
        Replaced(kSaved, R"(<streamconfig majortype)", R"(<streamconfig videomediaprops)"),
        Replaced(kSaved, "</profile>", ""),
    };
    for (const std::string& text : refused) {
        std::unique_ptr<Profile> profile = std::make_unique<Profile>(WMT_VER_9_0);
        EXPECT_EQ(Load(text, profile), NS_E_INVALIDPROFILE) << text;
        EXPECT_EQ(profile, nullptr);
    }
}
