#include "sync/composable_points.h"
#include "sync/recording_jumps.h"

#include <gtest/gtest.h>

using avsync::CompositionFault;
using avsync::FindCompositionFault;
using avsync::SyncState;
using Kind = avsync::CompositionFault::Kind;

namespace {

constexpr REFERENCE_TIME S = UNITS;

// A 60 s picture with 61 s of sound, used whole, and the given points.
SyncState WithPoints(std::initializer_list<avsync::SyncPoint> points) {
    SyncState state;
    state.videoDuration = 60 * S;
    state.audioDuration = 61 * S;
    state.ResetForNewVideo();
    state.ReplacePoints(points);
    return state;
}

std::optional<std::pair<Kind, int>> Fault(const SyncState& state) {
    const std::optional<CompositionFault> fault = FindCompositionFault(state);
    if (!fault)
        return std::nullopt;
    return std::pair(fault->kind, fault->point);
}

} // namespace

TEST(ComposablePoints, PointsAsAddAndEditKeepThemCompose) {
    EXPECT_EQ(Fault(WithPoints({})), std::nullopt);
    EXPECT_EQ(Fault(WithPoints(
                  {{0, 0}, {2 * S, 3 * S}, {5 * S, 3 * S}, {5 * S, 8 * S}, {60 * S, 61 * S}})),
              std::nullopt);
    SyncState state = WithPoints({{10 * S, 12 * S}, {20 * S, 23 * S}});
    ASSERT_TRUE(
        state.CalculateEnd({0, 60 * S, 0, 0, 60 * S})); // the end extrapolated past the sound
    EXPECT_GT(state.audioEnd, state.audioDuration);
    EXPECT_EQ(Fault(state), std::nullopt);
}

TEST(ComposablePoints, TheFirstPointOutOfOrderIsNamed) {
    EXPECT_EQ(
        Fault(WithPoints({{10 * S, 10 * S}, {20 * S, 20 * S}, {5 * S, 5 * S}, {1 * S, 1 * S}})),
        std::pair(Kind::VideoBeforePrevious, 2));
    EXPECT_EQ(Fault(WithPoints({{10 * S, 10 * S}, {20 * S, 9 * S}})),
              std::pair(Kind::AudioBeforePrevious, 1));
}

TEST(ComposablePoints, PointsMustLieWithinTheTimesAndTheSound) {
    SyncState state = WithPoints({{10 * S, 10 * S}, {30 * S, 30 * S}});
    state.videoStart = 15 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::VideoOutsideStartAndEnd, 0));
    state.videoStart = 0;
    state.videoEnd = 25 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::VideoOutsideStartAndEnd, 1));
    state.videoEnd = 60 * S;
    state.audioStart = 11 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::AudioOutsideStartAndEnd, 0));
    state.audioStart = 0;
    state.audioEnd = 29 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::AudioOutsideStartAndEnd, 1));

    // Start and end times stretched beyond the sound still leave no room for a point there.
    state = WithPoints({{10 * S, -S}, {30 * S, 30 * S}});
    state.audioStart = -2 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::AudioOutsideSound, 0));
    state = WithPoints({{10 * S, 10 * S}, {50 * S, 62 * S}});
    state.audioEnd = 70 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::AudioOutsideSound, 1));
}

// The picture keeps its own rate: a span with nothing in it, or reaching past the video's
// end, cannot be composed as asked, with points or without.
TEST(ComposablePoints, TheEndsMustFollowTheStartsWithinThePicture) {
    SyncState state = WithPoints({});
    state.videoStart = state.videoEnd = 20 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::NothingBetween, -1));
    state.videoEnd = 60 * S + 1;
    EXPECT_EQ(Fault(state), std::pair(Kind::VideoEndPastVideo, -1));
    EXPECT_EQ(Fault(WithPoints({{30 * S, 30 * S}})), std::nullopt);
    state = WithPoints({{30 * S, 30 * S}});
    state.videoEnd = 61 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::VideoEndPastVideo, -1));
    state = WithPoints({});
    state.videoStart = 20 * S;
    state.videoEnd = 19 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::VideoEndBeforeStart, -1));
    state.videoEnd = 60 * S;
    state.audioStart = 30 * S;
    state.audioEnd = 29 * S;
    EXPECT_EQ(Fault(state), std::pair(Kind::AudioEndBeforeStart, -1));
}

// Between two points, sound that would play more than a tenth faster or slower than its
// picture is a jump of the recording, composed as silence; clock drift is not.
TEST(RecordingJumps, OnlyStretchesBeyondAnyDriftAreSilent) {
    const REFERENCE_TIME s = UNITS;
    const std::vector<avsync::SyncPoint> points = {{10 * s, 10 * s},
                                                   {20 * s, 20 * s + s / 100},
                                                   {27 * s, 20 * s + 14 * s / 10},
                                                   {30 * s, 23 * s + 14 * s / 10},
                                                   {30 * s, 25 * s}};
    const std::vector<avsync::VideoSpan> silent = avsync::SilentSpans(points);
    ASSERT_EQ(silent.size(), 2u);
    EXPECT_EQ(silent[0].from, 20 * s); // a recorder paused: 0.14 s of sound for 7 s of picture
    EXPECT_EQ(silent[0].to, 27 * s);
    EXPECT_EQ(silent[1].from, 30 * s); // a camera restarted: sound with no picture at all
    EXPECT_TRUE(avsync::IsRecordingJump(10 * s, 12 * s));
    EXPECT_FALSE(avsync::IsRecordingJump(10 * s, 10 * s + s / 1000));
}
