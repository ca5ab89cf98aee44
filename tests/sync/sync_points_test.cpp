#include "sync/sync_state.h"

#include <gtest/gtest.h>

#include <tuple>

using avsync::SyncPoint;
using avsync::SyncState;

namespace {
constexpr REFERENCE_TIME S = UNITS;

// Five points (1 s, 2 s) ... (5 s, 6 s).
SyncState FivePoints() {
    SyncState state;
    state.ReplacePoints({{1 * S, 2 * S}, {2 * S, 3 * S}, {3 * S, 4 * S}, {4 * S, 5 * S}, {5 * S, 6 * S}});
    return state;
}

// Whether (v, a) may replace point i: it has bounds, and they hold it.
bool Accepts(const SyncState& state, int i, REFERENCE_TIME v, REFERENCE_TIME a) {
    const std::optional<avsync::PointBounds> bounds = state.EditBounds(i);
    return bounds && bounds->Holds({v, a});
}
} // namespace

TEST(SyncPoints, AddedPointsAreSortedByVideoTimeWithEqualTimesInAddOrder) {
    SyncState state;
    state.audioOffset = 1 * S;
    ASSERT_TRUE(state.AddPoint(5 * S));
    state.audioOffset = -3;
    ASSERT_TRUE(state.AddPoint(2 * S));
    state.audioOffset = 0;
    ASSERT_TRUE(state.AddPoint(5 * S));
    EXPECT_EQ(state.syncCount, 3);
    EXPECT_EQ(state.Points(), (std::vector<SyncPoint>{{2 * S, 2 * S - 3}, {5 * S, 6 * S}, {5 * S, 5 * S}}));
}

TEST(SyncPoints, AFoundPointKeepsItsAudioTimeAndTakesItsPlaceByVideoTime) {
    SyncState state = FivePoints();
    state.audioOffset = 7 * S; // nudging the player has nothing to do with a found point
    ASSERT_TRUE(state.AddPoint(SyncPoint{3 * S, 9 * S}));
    ASSERT_TRUE(state.AddPoint(SyncPoint{S / 2, S}));
    EXPECT_EQ(state.Points(), (std::vector<SyncPoint>{{S / 2, S},
                                                      {1 * S, 2 * S},
                                                      {2 * S, 3 * S},
                                                      {3 * S, 4 * S},
                                                      {3 * S, 9 * S},
                                                      {4 * S, 5 * S},
                                                      {5 * S, 6 * S}}));
}

TEST(SyncPoints, AFullListRefusesAnotherPoint) {
    SyncState state;
    for (int i = 0; i < avsync::kMaxSyncPoints; ++i)
        ASSERT_TRUE(state.AddPoint(i));
    const auto before = state.Points();
    EXPECT_FALSE(state.AddPoint(-1));
    EXPECT_FALSE(state.AddPoint(SyncPoint{-1, -1}));
    EXPECT_EQ(state.syncCount, avsync::kMaxSyncPoints);
    EXPECT_EQ(state.Points(), before);
    EXPECT_FALSE(state.ReplacePoints(std::vector<SyncPoint>(avsync::kMaxSyncPoints + 1)));
    EXPECT_EQ(state.Points(), before);
}

TEST(SyncPoints, DeletingRowsOneAndThreeOfFiveRemovesTheSecondAndFourthPoints) {
    SyncState state = FivePoints();
    state.DeletePoints({1, 3});
    EXPECT_EQ(state.Points(), (std::vector<SyncPoint>{{1 * S, 2 * S}, {3 * S, 4 * S}, {5 * S, 6 * S}}));
    state.DeletePoints({0, 1, 2});
    EXPECT_EQ(state.syncCount, 0);
}

TEST(SyncPoints, EditOfTheOnlyPointIsBoundByTheStartAndEndTimes) {
    SyncState state;
    state.ApplyEditableTimes({2 * S, 20 * S, 3 * S, 21 * S, 18 * S});
    state.AddPoint(10 * S);
    EXPECT_TRUE(Accepts(state, 0, 2 * S, 3 * S));
    EXPECT_TRUE(Accepts(state, 0, 20 * S, 21 * S));
    EXPECT_FALSE(Accepts(state, 0, 20 * S + 1, 10 * S));
    EXPECT_FALSE(Accepts(state, 0, 2 * S - 1, 10 * S));
    EXPECT_FALSE(Accepts(state, 0, 10 * S, 3 * S - 1));
    EXPECT_FALSE(Accepts(state, 0, 10 * S, 21 * S + 1));
    EXPECT_FALSE(Accepts(state, 1, 10 * S, 10 * S));
}

TEST(SyncPoints, EditOfFirstLastAndMiddlePointsIsBoundByTheirNeighbours) {
    SyncState state = FivePoints(); // (1,2) (2,3) (3,4) (4,5) (5,6)
    state.ApplyEditableTimes({0, 9 * S, S / 2, 10 * S, 9 * S});
    // First: from the start pair to point 1.
    EXPECT_TRUE(Accepts(state, 0, 0, S / 2));
    EXPECT_TRUE(Accepts(state, 0, 2 * S, 3 * S));
    EXPECT_FALSE(Accepts(state, 0, 2 * S + 1, 3 * S));
    EXPECT_FALSE(Accepts(state, 0, 1 * S, S / 2 - 1));
    // Last: from point n-2 to the end pair.
    EXPECT_TRUE(Accepts(state, 4, 4 * S, 5 * S));
    EXPECT_TRUE(Accepts(state, 4, 9 * S, 10 * S));
    EXPECT_FALSE(Accepts(state, 4, 4 * S - 1, 6 * S));
    EXPECT_FALSE(Accepts(state, 4, 6 * S, 10 * S + 1));
    // Middle: between its two neighbours, column by column.
    EXPECT_TRUE(Accepts(state, 2, 2 * S, 5 * S));
    EXPECT_TRUE(Accepts(state, 2, 4 * S, 3 * S));
    EXPECT_FALSE(Accepts(state, 2, 4 * S + 1, 4 * S));
    EXPECT_FALSE(Accepts(state, 2, 3 * S, 3 * S - 1));
    EXPECT_FALSE(Accepts(state, 2, -3 * S, 4 * S));
}

TEST(SyncPoints, AnotherSoundIsUsedWholeAndKeepsThePoints) {
    SyncState state = FivePoints();
    state.videoDuration = 60 * S;
    state.videoStart = 2 * S;
    state.videoEnd = 50 * S;
    state.audioStart = 3 * S;
    state.UseSound(70 * S);
    EXPECT_EQ(state.audioDuration, 70 * S);
    EXPECT_EQ(state.audioStart, 0);
    EXPECT_EQ(state.audioEnd, 70 * S);
    EXPECT_EQ(state.outputDuration, 60 * S);
    // The picture's times are not the sound's to change.
    EXPECT_EQ(state.videoStart, 2 * S);
    EXPECT_EQ(state.videoEnd, 50 * S);
    EXPECT_EQ(state.syncCount, 5);
    state.UseSound(40 * S);
    EXPECT_EQ(state.outputDuration, 40 * S);
}

TEST(SyncPoints, PointsChangedSinceTheyWereSavedOrLoadedAreUnsaved) {
    using Change = void (*)(SyncState&);
    const std::tuple<const char*, bool, Change> rows[] = {
        {"add", true, [](SyncState& s) { s.AddPoint(9 * S); }},
        {"add found", true,
         [](SyncState& s) {
             s.AddPoint(SyncPoint{9 * S, 8 * S});
         }},
        {"edit", true,
         [](SyncState& s) {
             s.SetPoint(2, {3 * S, 5 * S});
         }},
        {"delete", true, [](SyncState& s) { s.DeletePoints({1}); }},
        {"delete all", false,
         [](SyncState& s) {
             s.DeletePoints({0, 1, 2, 3, 4});
         }},
        {"clear all", false, [](SyncState& s) { s.ClearPoints(); }},
        {"calculate", false,
         [](SyncState& s) {
             s.CalculateEnd({0, 9 * S, 0, 9 * S, 9 * S});
         }},
        {"add, save", false,
         [](SyncState& s) {
             s.AddPoint(9 * S);
             s.MarkPointsSaved();
         }},
        {"add, load", false,
         [](SyncState& s) {
             s.AddPoint(9 * S);
             s.ReplacePoints({{S, S}});
         }},
    };
    for (const auto& [what, unsaved, change] : rows) {
        SyncState state = FivePoints(); // as loaded
        EXPECT_FALSE(state.HasUnsavedPoints()) << what;
        change(state);
        EXPECT_EQ(state.HasUnsavedPoints(), unsaved) << what;
    }
}
