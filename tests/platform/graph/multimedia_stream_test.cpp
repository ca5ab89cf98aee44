// Exact lengths of the primary streams.
#include "support/media_fixtures.h"

#include "platform/graph/sources/multimedia_stream.h"

#include <gtest/gtest.h>

namespace {

using namespace graph;
using testsupport::ClipKind;

constexpr REFERENCE_TIME kFrame = UNITS / testsupport::kClipFps;
constexpr REFERENCE_TIME kClipLength = testsupport::kClipSeconds * UNITS;

class StreamLengthTest : public testing::TestWithParam<ClipKind> {};

TEST_P(StreamLengthTest, BothPrimaryStreamsLastTheClip) {
    MultiMediaStream stream;
    stream.AddMediaStream(StreamPurpose::PrimaryVideo);
    stream.AddMediaStream(StreamPurpose::PrimaryAudio);
    ASSERT_EQ(stream.OpenFile(testsupport::Clip(GetParam())), S_OK);
    REFERENCE_TIME video = 0, audio = 0;
    ASSERT_EQ(stream.GetDuration(StreamPurpose::PrimaryVideo, &video), S_OK);
    ASSERT_EQ(stream.GetDuration(StreamPurpose::PrimaryAudio, &audio), S_OK);
    // What the packets say, to the 100-ns unit (ffprobe prints microseconds)...
    const std::string path = testsupport::Clip(GetParam());
    EXPECT_NEAR(video, testsupport::ProbeStream(path, 'v').length * UNITS, 10);
    EXPECT_NEAR(audio, testsupport::ProbeStream(path, 'a').length * UNITS, 10);
    // ...which is the clip's length give or take a picture.
    EXPECT_NEAR(video, kClipLength, kFrame + kFrame / 2);
    EXPECT_NEAR(audio, kClipLength, kFrame + kFrame / 2);
}

INSTANTIATE_TEST_SUITE_P(Formats, StreamLengthTest,
                         testing::Values(ClipKind::H264Aac, ClipKind::Mpeg4Mp3, ClipKind::Wmv2Wma2,
                                         ClipKind::Vp9Opus));

TEST(StreamLength, MissingStreamsAreReported) {
    MultiMediaStream picture;
    picture.AddMediaStream(StreamPurpose::PrimaryAudio);
    EXPECT_EQ(picture.OpenFile(testsupport::Clip(ClipKind::PictureOnly)), VFW_E_NOT_FOUND);

    MultiMediaStream sound;
    ASSERT_EQ(sound.OpenFile(testsupport::Clip(ClipKind::SoundOnly)), S_OK);
    REFERENCE_TIME length = 0;
    EXPECT_EQ(sound.GetDuration(StreamPurpose::PrimaryVideo, &length), VFW_E_NOT_FOUND);
    EXPECT_EQ(sound.GetDuration(StreamPurpose::PrimaryAudio, &length), S_OK);
    EXPECT_NEAR(length, kClipLength, UNITS / 20);

    MultiMediaStream broken;
    EXPECT_LT(broken.OpenFile(testsupport::NonMediaFile()), 0);
}

} // namespace
