#include "composition_fixture.h"
#include "render/group_media_types.h"
#include "render/timeline_builder.h"
#include "render/transition_kinds.h"

using editing::TimeSpan;
using rendertest::S;

namespace {
using TransitionTest = rendertest::CompositionTest;

constexpr CLSID kFade = core::GuidLiteral("{16B280C5-EE70-11D1-9066-00C04FD9189D}");
constexpr CLSID kRandomDissolve = core::GuidLiteral("{F7F4A1B6-8E87-452F-A2D7-3077F508DBC0}");

std::optional<std::int32_t> MaskNumOf(const editing::Transition& transition) {
    const editing::PropertySetter* setter = transition.GetPropertySetter();
    if (!setter)
        return std::nullopt;
    EXPECT_EQ(setter->GetPropCount(), 1);
    const auto* values = setter->GetProp("MaskNum");
    if (!values || values->size() != 1)
        return std::nullopt;
    EXPECT_EQ(values->front().time, 0);
    EXPECT_EQ(values->front().interpolation, editing::DEXTERF_JUMP);
    return std::get<std::int32_t>(values->front().value);
}
} // namespace

TEST_F(TransitionTest, EachEntryKindBecomesItsEffectAtTheStartOfItsTrack) {
    photoList[0].transitionType = 0;
    for (int kind : {3, 16, 17, 30, 46, 47, 60})
        photoList.Append({video, 1 * S, kind, 0});
    ASSERT_EQ(Build(1), S_OK);
    EXPECT_TRUE(scope.prompts.messages.empty());

    const editing::Group& group = *Timeline().GetGroup(0);
    ASSERT_EQ(group.GetTrackCount(), 8);
    EXPECT_EQ(group.GetTrack(0)->GetTransitionCount(), 0); // kind 0, "None"

    struct Expected {
        CLSID clsid;
        std::optional<std::int32_t> maskNum;
    };
    const Expected expected[] = {
        {kFade, std::nullopt},
        {kRandomDissolve, std::nullopt},
        {render::CLSID_SMPTEWipe, 1},   // "Horizontal"
        {render::CLSID_SMPTEWipe, 72},  // "Sawtooth, top"
        {render::CLSID_SMPTEWipe, 301}, // "Matrix, horizontal"
        {render::CLSID_SMPTEWipe, std::nullopt},
        {render::CLSID_SMPTEWipe, std::nullopt},
    };
    for (int t = 1; t < 8; ++t) {
        SCOPED_TRACE(t);
        const editing::Track& track = *group.GetTrack(t);
        ASSERT_EQ(track.GetTransitionCount(), 1);
        const editing::Transition& transition = *track.GetTransition(0);
        EXPECT_EQ(transition.GetSubObjectGUID(), expected[t - 1].clsid);
        EXPECT_EQ(MaskNumOf(transition), expected[t - 1].maskNum);
        EXPECT_EQ(transition.GetStartStop(), (TimeSpan{0, 0})); // both layouts ask for length 0
    }
}

TEST_F(TransitionTest, InTheSegmentedLayoutOnlyTheFirstSegmentHasAnEntryToTakeItsKindFrom) {
    photoList[0].transitionType = 17;
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}, {40 * S, 42 * S}}), S_OK);
    const editing::Group& group = *Timeline().GetGroup(0);
    ASSERT_EQ(group.GetTrackCount(), 3);
    EXPECT_EQ(group.GetTrack(0)->GetTransitionCount(), 1);
    EXPECT_EQ(group.GetTrack(1)->GetTransitionCount(), 0);
    EXPECT_EQ(group.GetTrack(2)->GetTransitionCount(), 0);
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(Timeline().GetGroup(1)->GetTrack(t)->GetTransitionCount(), 0);
}

TEST_F(TransitionTest, ATransitionEndingBeforeItStartsIsReportedAndItsSourceStays) {
    // The photo list lasts 5 s, but the second segment starts at 8 s.
    photoList[0].duration = 3 * S;
    photoList.Append({video, 2 * S, 3, 0});
    ASSERT_EQ(BuildWithPoints({{10 * S, 11 * S}}), S_OK);
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Could not SetStartStop(TLTranStart, TLTranStop);"}));
    const editing::Track& second = *Timeline().GetGroup(0)->GetTrack(1);
    EXPECT_EQ(second.GetSourceCount(), 1);
    EXPECT_EQ(second.GetTransitionCount(), 0);
}

TEST_F(TransitionTest, ASpanShorterThanTheTransitionGetsNoneButKeepsItsSource) {
    photoList[0].transitionType = 3;
    editing::Timeline timeline;
    auto node = std::make_unique<editing::Group>();
    ASSERT_EQ(node->SetMediaType(render::VideoGroupMediaType(64, 48)), S_OK);
    editing::Group& group = *node;
    ASSERT_EQ(timeline.AddGroup(std::move(node)), S_OK);
    render::TimelineBuilder builder(timeline, {sync, photoList, musicList, output, 0}, 4 * S);

    EXPECT_EQ(builder.AddVideoSource(group, video, {1 * S, 2 * S}, {0, 1 * S}, 2 * S, 0), S_OK);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Transition time should be less than"}));
    EXPECT_EQ(group.GetTrack(0)->GetSourceCount(), 1);
    EXPECT_EQ(group.GetTrack(0)->GetTransitionCount(), 0);

    // A span long enough gets one from its start, cut at the end of the photo list.
    EXPECT_EQ(builder.AddVideoSource(group, video, {3 * S, 9 * S}, {0, 6 * S}, 2 * S, 0), S_OK);
    ASSERT_EQ(group.GetTrack(1)->GetTransitionCount(), 1);
    EXPECT_EQ(group.GetTrack(1)->GetTransition(0)->GetStartStop(), (TimeSpan{3 * S, 4 * S}));
}
