#include "composition_fixture.h"

using editing::TIMELINE_MAJOR_TYPE;
using editing::TimeSpan;
using rendertest::S;

namespace {
using BuildFailureTest = rendertest::CompositionTest;

// Timelines that refuse the nth node of one kind.
render::Composition::TimelineFactory RefusingNth(TIMELINE_MAJOR_TYPE refused, int nth) {
    return [refused, nth](std::unique_ptr<editing::Timeline>& timeline) {
        timeline = std::make_unique<editing::Timeline>();
        timeline->SetNodeCheck([refused, nth, made = 0](TIMELINE_MAJOR_TYPE type) mutable {
            return type == refused && ++made == nth ? E_OUTOFMEMORY : S_OK;
        });
        return S_OK;
    };
}

struct NodeFailure {
    TIMELINE_MAJOR_TYPE type;
    int nth;
    const char* message;
    std::vector<int> tracksPerGroup; // what is left, group by group
};

// With one point and the opened video's transition kind 3 ("Fade"): the video group with its
// two segments is built first, then the audio group with its two.
const NodeFailure kNodeFailures[] = {
    {editing::TIMELINE_MAJOR_TYPE_GROUP, 1, "Could not create empty node", {2}},
    {editing::TIMELINE_MAJOR_TYPE_GROUP, 2, "Could not create pAudioGroupObj", {2}},
    {editing::TIMELINE_MAJOR_TYPE_TRACK, 1, "Could not create empty track", {1, 2}},
    {editing::TIMELINE_MAJOR_TYPE_TRACK, 3, "Could not create pTrack3Obj", {2, 1}},
    {editing::TIMELINE_MAJOR_TYPE_SOURCE, 1, "Could not create the timeline source", {2, 2}},
    {editing::TIMELINE_MAJOR_TYPE_SOURCE, 4, "Could not create the pSource3Obj", {2, 2}},
    {editing::TIMELINE_MAJOR_TYPE_TRANSITION,
     1,
     "Could not CreateEmptyNode TIMELINE_MAJOR_TYPE_TRANSITION",
     {2, 2}},
};

class NodeFailureTest : public rendertest::CompositionTest,
                        public ::testing::WithParamInterface<NodeFailure> {};

int SourcesIn(const editing::Timeline& timeline) {
    int count = 0;
    for (int g = 0; g < timeline.GetGroupCount(); ++g)
        for (int t = 0; t < timeline.GetGroup(g)->GetTrackCount(); ++t)
            count += timeline.GetGroup(g)->GetTrack(t)->GetSourceCount();
    return count;
}
} // namespace

TEST_F(BuildFailureTest, ATimelineThatCannotBeCreatedStopsTheBuildWithItsCode) {
    bool refuse = false;
    render::Composition owner([&refuse](std::unique_ptr<editing::Timeline>& timeline) {
        if (refuse)
            return E_OUTOFMEMORY;
        timeline = std::make_unique<editing::Timeline>();
        return S_OK;
    });
    ASSERT_EQ(owner.BuildTimeline({sync, photoList, musicList, output, 1}), S_OK);
    ASSERT_NE(owner.Timeline(), nullptr);

    refuse = true;
    photoList[0].duration = 5 * S;
    EXPECT_EQ(owner.BuildTimeline({sync, photoList, musicList, output, 1}), E_OUTOFMEMORY);
    EXPECT_EQ(owner.Timeline(), nullptr);      // the old timeline is gone too
    EXPECT_EQ(owner.PhotoListTotal(), 70 * S); // nothing else happened
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_EQ(scope.prompts.messages[0].text, "Could not create timeline");
    EXPECT_EQ(scope.prompts.messages[0].caption, "Error");
    EXPECT_EQ(scope.prompts.messages[0].flags, ui::MB_OK);
}

TEST_P(NodeFailureTest, ARefusedNodeIsReportedAndTheRestOfTheTimelineIsBuilt) {
    const NodeFailure& failure = GetParam();
    photoList[0].transitionType = 3;
    composition = render::Composition(RefusingNth(failure.type, failure.nth));
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}}), S_OK);

    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_EQ(scope.prompts.messages[0].text, failure.message);
    EXPECT_EQ(scope.prompts.messages[0].caption, ""); // the application's name
    std::vector<int> tracks;
    for (int g = 0; g < Timeline().GetGroupCount(); ++g)
        tracks.push_back(Timeline().GetGroup(g)->GetTrackCount());
    EXPECT_EQ(tracks, failure.tracksPerGroup);
    const bool sourceLost = failure.type == editing::TIMELINE_MAJOR_TYPE_TRACK ||
                            failure.type == editing::TIMELINE_MAJOR_TYPE_SOURCE;
    EXPECT_EQ(SourcesIn(Timeline()), failure.type == editing::TIMELINE_MAJOR_TYPE_GROUP ? 2
                                     : sourceLost                                       ? 3
                                                                                        : 4);
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfNode, NodeFailureTest, ::testing::ValuesIn(kNodeFailures),
                         [](const ::testing::TestParamInfo<NodeFailure>& info) {
                             return "Type" + std::to_string(info.param.type) + "Number" +
                                    std::to_string(info.param.nth);
                         });

TEST_F(BuildFailureTest, AGroupTheEngineRefusesIsLeftOutAndTheSoundBecomesGroupZero) {
    output.outputWidth = 0;
    ASSERT_EQ(Build(1), S_OK);
    output.outputWidth = 640;
    output.outputFrameRate = 0;
    ASSERT_EQ(Build(1), S_OK);
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Could not pVideoGroup->SetMediaType(&mtGroup)",
                                        "Could not SetOutputFPS"}));
    ASSERT_EQ(Timeline().GetGroupCount(), 1);
    EXPECT_EQ(Timeline().GetGroup(0)->GetMediaType().majortype, MEDIATYPE_Audio);
}

TEST_F(BuildFailureTest, AnUnknownResizeModeAbandonsEveryPictureSourceButNotTheSound) {
    output.stretchMode = 1;
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}}), S_OK);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>(2, "Could not configure media source")));
    EXPECT_EQ(SourcesOf(0), (std::vector<const editing::Source*>{nullptr, nullptr}));
    EXPECT_EQ(SourcesOf(1).size(), 2u);
}

TEST_F(BuildFailureTest, SoundRunningBackwardsAbandonsThatSegmentOnly) {
    sync.audioStart = 12 * S; // after the point's audio time
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}}), S_OK);
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Could not set audio start and eng time!"}));
    const auto sounds = SourcesOf(1);
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0], nullptr);
    ASSERT_NE(sounds[1], nullptr);
    EXPECT_EQ(sounds[1]->GetMediaTimes(), (TimeSpan{11 * S, 65 * S}));
    EXPECT_EQ(SourcesOf(0).size(), 2u);
}
