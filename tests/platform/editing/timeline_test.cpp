#include "platform/editing/timeline.h"

#include <gtest/gtest.h>

using namespace editing;

namespace {
AM_MEDIA_TYPE RgbVideo(int width, int height) {
    VIDEOINFOHEADER info;
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.formattype = FORMAT_VideoInfo;
    type.format = info;
    return type;
}

AM_MEDIA_TYPE DefaultAudio() {
    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Audio;
    return type;
}

std::unique_ptr<Track> TrackWithSourceAt(REFERENCE_TIME start) {
    auto track = std::make_unique<Track>();
    auto source = std::make_unique<Source>();
    source->SetStartStop(start, start + 1);
    track->SrcAdd(std::move(source));
    return track;
}

std::unique_ptr<Transition> TransitionOver(REFERENCE_TIME start, REFERENCE_TIME stop) {
    auto transition = std::make_unique<Transition>();
    transition->SetStartStop(start, stop);
    return transition;
}
} // namespace

TEST(EditingGroup, MinusOneAppendsAndAPriorityInsertsBeforeThatTrack) {
    Group group;
    ASSERT_EQ(group.VTrackInsBefore(TrackWithSourceAt(1), -1), S_OK);
    ASSERT_EQ(group.VTrackInsBefore(TrackWithSourceAt(2), -1), S_OK);
    ASSERT_EQ(group.VTrackInsBefore(TrackWithSourceAt(0), 0), S_OK);
    ASSERT_EQ(group.VTrackInsBefore(TrackWithSourceAt(3), 3), S_OK);
    ASSERT_EQ(group.GetTrackCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(group.GetTrack(i)->GetSource(0)->GetStartStop().start, i);

    EXPECT_EQ(group.VTrackInsBefore(TrackWithSourceAt(9), 5), E_INVALIDARG);
    EXPECT_EQ(group.VTrackInsBefore(TrackWithSourceAt(9), -2), E_INVALIDARG);
    EXPECT_EQ(group.VTrackInsBefore(nullptr, -1), E_POINTER);
    EXPECT_EQ(group.GetTrackCount(), 4);
    EXPECT_EQ(group.GetTrack(4), nullptr);
}

TEST(EditingGroup, AcceptsOnlyTypesTheEngineCanOutput) {
    Group group;
    EXPECT_EQ(group.SetMediaType(RgbVideo(640, -480)), S_OK);
    EXPECT_EQ(group.SetMediaType(DefaultAudio()), S_OK);
    AM_MEDIA_TYPE wave = DefaultAudio();
    wave.formattype = FORMAT_WaveFormatEx;
    wave.format = WAVEFORMATEX{1, 2, 44100, 176400, 4, 16, 0};
    EXPECT_EQ(group.SetMediaType(wave), S_OK);
    EXPECT_EQ(group.GetMediaType(), wave);

    AM_MEDIA_TYPE stream;
    stream.majortype = MEDIATYPE_Stream;
    AM_MEDIA_TYPE noFormat = RgbVideo(640, 480);
    noFormat.format = std::monostate{};
    AM_MEDIA_TYPE waveWithoutBlock = wave;
    waveWithoutBlock.format = std::monostate{};
    for (const AM_MEDIA_TYPE& refused :
         {stream, noFormat, waveWithoutBlock, RgbVideo(0, 480), RgbVideo(640, 0)})
        EXPECT_EQ(group.SetMediaType(refused), E_INVALIDARG);
    EXPECT_EQ(group.GetMediaType(), wave);

    EXPECT_EQ(group.SetOutputFPS(0), E_INVALIDARG);
    EXPECT_EQ(group.SetOutputFPS(29.97), S_OK);
    EXPECT_EQ(group.GetOutputFPS(), 29.97);
}

TEST(EditingTrack, KeepsSourcesAndTransitionsInTimeOrder) {
    Track track;
    for (REFERENCE_TIME start : {30, 10, 20, 10}) {
        auto source = std::make_unique<Source>();
        source->SetStartStop(start, start + 5);
        source->SetMediaName("clip" + std::to_string(track.GetSourceCount()));
        ASSERT_EQ(track.SrcAdd(std::move(source)), S_OK);
    }
    ASSERT_EQ(track.GetSourceCount(), 4);
    EXPECT_EQ(track.GetSource(0)->GetMediaName(), "clip1");
    EXPECT_EQ(track.GetSource(1)->GetMediaName(), "clip3"); // equal starts keep their order
    EXPECT_EQ(track.GetSource(2)->GetMediaName(), "clip2");
    EXPECT_EQ(track.GetSource(3)->GetMediaName(), "clip0");

    ASSERT_EQ(track.TransAdd(TransitionOver(20, 30)), S_OK);
    ASSERT_EQ(track.TransAdd(TransitionOver(0, 10)), S_OK);
    EXPECT_EQ(track.TransAdd(TransitionOver(25, 40)), E_INVALIDARG);
    EXPECT_EQ(track.TransAdd(TransitionOver(5, 25)), E_INVALIDARG);
    EXPECT_EQ(track.TransAdd(TransitionOver(10, 20)), S_OK); // touching is not overlapping
    EXPECT_EQ(track.TransAdd(TransitionOver(25, 25)), S_OK); // no length, no overlap
    ASSERT_EQ(track.GetTransitionCount(), 4);
    EXPECT_EQ(track.GetTransition(0)->GetStartStop().start, 0);
    EXPECT_EQ(track.GetTransition(3)->GetStartStop().start, 25);
}
