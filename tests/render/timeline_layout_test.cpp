#include "composition_fixture.h"

using editing::TimeSpan;
using rendertest::Rate;
using rendertest::S;

namespace {
using LayoutTest = rendertest::CompositionTest;
constexpr int kVideo = 0;
constexpr int kAudio = 1;
} // namespace

TEST_F(LayoutTest, WorkedExampleCutsAtThePointsAndFitsTheSoundToThePicture) {
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}, {40 * S, 425 * S / 10}}), S_OK);
    EXPECT_TRUE(scope.prompts.messages.empty());
    ASSERT_EQ(Timeline().GetGroupCount(), 2);

    const auto pictures = SourcesOf(kVideo);
    const auto sounds = SourcesOf(kAudio);
    ASSERT_EQ(pictures.size(), 3u);
    ASSERT_EQ(sounds.size(), 3u);
    const TimeSpan spans[] = {{0, 8 * S}, {8 * S, 38 * S}, {38 * S, 60 * S}};
    const TimeSpan videoMedia[] = {{2 * S, 10 * S}, {10 * S, 40 * S}, {40 * S, 62 * S}};
    const TimeSpan audioMedia[] = {{3 * S, 11 * S}, {11 * S, 425 * S / 10}, {425 * S / 10, 65 * S}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pictures[i]->GetStartStop(), spans[i]);
        EXPECT_EQ(pictures[i]->GetMediaTimes(), videoMedia[i]);
        EXPECT_EQ(pictures[i]->GetMediaName(), video);
        EXPECT_EQ(pictures[i]->GetStretchMode(), editing::RESIZEF_PRESERVEASPECTRATIO);
        EXPECT_EQ(sounds[i]->GetStartStop(), spans[i]);
        EXPECT_EQ(sounds[i]->GetMediaTimes(), audioMedia[i]);
        EXPECT_EQ(sounds[i]->GetMediaName(), video);
        EXPECT_DOUBLE_EQ(Rate(*pictures[i]), 1.0);
    }
    EXPECT_DOUBLE_EQ(Rate(*sounds[0]), 1.0);
    EXPECT_DOUBLE_EQ(Rate(*sounds[1]), 1.05);
    EXPECT_DOUBLE_EQ(Rate(*sounds[2]), 22.5 / 22.0);
}

TEST_F(LayoutTest, OnePointMakesTwoSegments) {
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}}), S_OK);
    const auto pictures = SourcesOf(kVideo);
    const auto sounds = SourcesOf(kAudio);
    ASSERT_EQ(pictures.size(), 2u);
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(pictures[0]->GetStartStop(), (TimeSpan{0, 8 * S}));
    EXPECT_EQ(pictures[1]->GetStartStop(), (TimeSpan{8 * S, 60 * S}));
    EXPECT_EQ(sounds[0]->GetMediaTimes(), (TimeSpan{3 * S, 11 * S}));
    EXPECT_EQ(sounds[1]->GetMediaTimes(), (TimeSpan{11 * S, 65 * S}));
    EXPECT_EQ(sounds[1]->GetStartStop(), pictures[1]->GetStartStop());
}

TEST_F(LayoutTest, ThreePointsGiveFourTracksPerGroupThatFollowEachOtherToTheEnd) {
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}, {25 * S, 27 * S}, {40 * S, 425 * S / 10}}), S_OK);
    for (int g : {kVideo, kAudio}) {
        SCOPED_TRACE(g);
        const auto sources = SourcesOf(g);
        ASSERT_EQ(sources.size(), 4u);
        REFERENCE_TIME end = 0;
        for (const editing::Source* source : sources) {
            ASSERT_NE(source, nullptr);
            EXPECT_EQ(source->GetStartStop().start, end); // neither a gap nor an overlap
            EXPECT_GT(source->GetStartStop().Length(), 0);
            end = source->GetStartStop().stop;
        }
        EXPECT_EQ(end, sync.videoEnd - sync.videoStart);
    }
    EXPECT_EQ(SourcesOf(kAudio)[2]->GetMediaTimes(), (TimeSpan{27 * S, 425 * S / 10}));
}

TEST_F(LayoutTest, WithoutPointsOneSourcePerGroupSpansTheWholeOutput) {
    sync.outputDuration = 50 * S; // shorter than the 60 s of picture: played faster
    ASSERT_EQ(Build(1), S_OK);
    const auto pictures = SourcesOf(kVideo);
    const auto sounds = SourcesOf(kAudio);
    ASSERT_EQ(pictures.size(), 1u);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(pictures[0]->GetStartStop(), (TimeSpan{0, 50 * S}));
    EXPECT_EQ(pictures[0]->GetMediaTimes(), (TimeSpan{2 * S, 62 * S}));
    EXPECT_EQ(sounds[0]->GetStartStop(), (TimeSpan{0, 50 * S}));
    EXPECT_EQ(sounds[0]->GetMediaTimes(), (TimeSpan{3 * S, 65 * S}));
    EXPECT_DOUBLE_EQ(Rate(*pictures[0]), 1.2);
}

TEST_F(LayoutTest, TheWholeSpanLayoutPlacesEveryPhotoEntryButOnlyTheFirstMusicEntry) {
    const std::string second = video + ".second";
    photoList.Append({second, 5 * S, 0, 0});
    musicList.Append({second, 5 * S});
    ASSERT_EQ(Build(1), S_OK);
    const auto pictures = SourcesOf(kVideo);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[1]->GetMediaName(), second);
    EXPECT_EQ(pictures[1]->GetStartStop(), pictures[0]->GetStartStop());
    ASSERT_EQ(SourcesOf(kAudio).size(), 1u);
    EXPECT_EQ(SourcesOf(kAudio)[0]->GetMediaName(), video);
    EXPECT_EQ(composition.PhotoListTotal(), 75 * S);
}

TEST_F(LayoutTest, AnEmptyListLeavesItsGroupOut) {
    musicList.Clear();
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}}), S_OK);
    ASSERT_EQ(Timeline().GetGroupCount(), 1);
    EXPECT_EQ(Timeline().GetGroup(0)->GetMediaType().majortype, MEDIATYPE_Video);

    musicList.Append({video, 70 * S});
    photoList.Clear();
    ASSERT_EQ(Build(0), S_OK);
    ASSERT_EQ(Timeline().GetGroupCount(), 1);
    EXPECT_EQ(Timeline().GetGroup(0)->GetMediaType().majortype, MEDIATYPE_Audio);
    EXPECT_EQ(SourcesOf(0).size(), 2u);
    EXPECT_EQ(composition.PhotoListTotal(), 0);
    EXPECT_TRUE(scope.prompts.messages.empty());
}

TEST_F(LayoutTest, TheVideoGroupOutputsPaddedRgb24RowsOfTheOutputSize) {
    output.outputWidth = 641;
    output.outputFrameRate = 29.97;
    ASSERT_EQ(Build(1), S_OK);
    const editing::Group& group = *Timeline().GetGroup(kVideo);
    const AM_MEDIA_TYPE& type = group.GetMediaType();
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_RGB24);
    EXPECT_TRUE(type.bFixedSizeSamples);
    EXPECT_FALSE(type.bTemporalCompression);
    EXPECT_EQ(type.lSampleSize, 1924u * 480u); // 1923 bytes a row, padded to 1924
    EXPECT_EQ(type.formattype, FORMAT_VideoInfo);
    const auto& header = std::get<VIDEOINFOHEADER>(type.format).bmiHeader;
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 641);
    EXPECT_EQ(header.biHeight, 480);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biSizeImage, 1924u * 480u);
    EXPECT_EQ(group.GetOutputFPS(), 29.97);

    output.outputHeight = -480; // top-down rows take the same room
    ASSERT_EQ(Build(1), S_OK);
    EXPECT_EQ(Timeline().GetGroup(kVideo)->GetMediaType().lSampleSize, 1924u * 480u);
}

TEST_F(LayoutTest, TheAudioGroupNamesOnlyItsMajorTypeSoTheEngineDefaultApplies) {
    ASSERT_EQ(Build(1), S_OK);
    AM_MEDIA_TYPE expected;
    expected.majortype = MEDIATYPE_Audio;
    expected.bFixedSizeSamples = true;
    expected.lSampleSize = 1;
    EXPECT_EQ(Timeline().GetGroup(kAudio)->GetMediaType(), expected);
}

TEST_F(LayoutTest, AMovedFileIsFoundAgainThroughTheFileDialog) {
    const std::string moved = video + ".moved";
    photoList[0].path = moved;
    musicList[0].path = moved;
    scope.prompts.fileAnswers.push_back(QString::fromStdString(video));
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}}), S_OK);

    EXPECT_EQ(scope.prompts.fileDialogs.size(), 1u); // asked once for all four sources
    for (int g : {kVideo, kAudio})
        for (const editing::Source* source : SourcesOf(g))
            EXPECT_EQ(source->GetMediaName(), video);
    EXPECT_TRUE(scope.prompts.messages.empty());
}
