#include "sync/sync_state.h"
#include "sync/time_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <utility>

using avsync::SyncState;
using avsync::TextToTime;
using avsync::TimeToText;

namespace {
constexpr REFERENCE_TIME S = UNITS; // one second
constexpr REFERENCE_TIME kMax = std::numeric_limits<REFERENCE_TIME>::max();
constexpr REFERENCE_TIME kMin = std::numeric_limits<REFERENCE_TIME>::min();

SyncState WithPoints(std::initializer_list<avsync::SyncPoint> points) {
    SyncState state;
    state.ReplacePoints(points);
    return state;
}
} // namespace

TEST(TimeText, ShowsSecondsWithSevenDecimals) {
    EXPECT_EQ(TimeToText(0), "0.0000000");
    EXPECT_EQ(TimeToText(1), "0.0000001");
    EXPECT_EQ(TimeToText(123'456'789), "12.3456789");
    EXPECT_EQ(TimeToText(-15'000'000), "-1.5000000");
    EXPECT_EQ(TimeToText(36'000'000'000), "3600.0000000");
}

TEST(TimeText, ReadsTheLeadingNumberAndTruncatesTowardZero) {
    EXPECT_EQ(TextToTime("1.5"), 15'000'000);
    EXPECT_EQ(TextToTime("12.3456789"), 123'456'789);
    EXPECT_EQ(TextToTime("  +2.5 s"), 25'000'000);
    EXPECT_EQ(TextToTime("-0.5"), -5'000'000);
    EXPECT_EQ(TextToTime("0.00000009"), 0);
    EXPECT_EQ(TextToTime("-0.00000019"), -1);
    EXPECT_EQ(TextToTime("3e1"), 30 * S);
    EXPECT_EQ(TextToTime(""), 0);
    EXPECT_EQ(TextToTime("abc"), 0);
    EXPECT_EQ(TextToTime("1,5"), 10'000'000); // the separator is a point, never a comma
}

TEST(TimeText, TextsBeyondTheRangeAreHeldAtItsEnds) {
    EXPECT_EQ(TextToTime("1e400"), kMax);
    EXPECT_EQ(TextToTime("-1e400"), kMin);
    EXPECT_EQ(TextToTime("1e12"), kMax); // 10^19 units
    EXPECT_EQ(TextToTime("inf"), kMax);
    EXPECT_EQ(TextToTime("-infinity"), kMin);
    EXPECT_EQ(TextToTime("nan"), 0);
    EXPECT_EQ(TextToTime("1e-400"), 0); // too small to hold is 0, as atof has it
    EXPECT_EQ(TextToTime("-1e-400"), 0);
}

TEST(TimeText, TheCheckedReadingRefusesWhatIsNoTime) {
    for (const char* text : {"1e400", "-1e400", "1e12", "1e18", "922337203686", "-922337203686",
                             "99999999999999999999", "inf", "-inf", "nan"})
        EXPECT_EQ(avsync::TextToTimeInRange(text), std::nullopt) << text;
    EXPECT_TRUE(avsync::TextToTimeInRange("922337203685"));
    EXPECT_TRUE(avsync::TextToTimeInRange("-922337203685"));
    EXPECT_EQ(avsync::TextToTimeInRange("92233720368.1234567"), 922'337'203'681'234'567);
    EXPECT_EQ(avsync::TextToTimeInRange("12.3456789"), 123'456'789);
    EXPECT_EQ(avsync::TextToTimeInRange("1e-400"), 0);
    EXPECT_EQ(avsync::TextToTimeInRange("later"), 0); // no number at all reads as 0
}

TEST(TimeText, ATypedTimeIsOneNumberWithAPointOrACommaAndWithinTheRange) {
    const std::pair<const char*, REFERENCE_TIME> times[] = {{"12.5", 125'000'000},
                                                            {"12,5", 125'000'000},
                                                            {" 8,68 ", 86'800'000},
                                                            {"-0,5", -5'000'000},
                                                            {"+3", 3 * S},
                                                            {",5", 5'000'000},
                                                            {"7.", 7 * S},
                                                            {"1e1", 10 * S},
                                                            {"2,5E-1", 2'500'000},
                                                            {"12.3456789", 123'456'789},
                                                            {"922337203685", 922'337'203'685 * S}};
    for (const auto& [text, time] : times)
        EXPECT_EQ(avsync::TypedTextToTime(text), time) << text;
    for (const char* text : {"", "  ", "abc", "8,6,8", "1.234,5", "12.5 s", "1e", ".", "+-1", "1 2",
                             "1e400", "922337203686", "inf", "nan", "0x10"})
        EXPECT_EQ(avsync::TypedTextToTime(text), std::nullopt) << text;
}

TEST(TimeText, ShownTimesReadBackUnchanged) {
    for (REFERENCE_TIME t : {REFERENCE_TIME{0}, REFERENCE_TIME{1}, REFERENCE_TIME{123'456'789}, 10 * S,
                             REFERENCE_TIME{54'545'454}, REFERENCE_TIME{-15'000'000}, 3600 * S})
        EXPECT_EQ(TextToTime(TimeToText(t)), t) << TimeToText(t);
    for (const char* text : {"0.0000000", "12.3456789", "5.4545454", "34.0000000"})
        EXPECT_EQ(TimeToText(TextToTime(text)), text);
    // Every time survives its text, also those a double cannot hold exactly.
    for (REFERENCE_TIME t = -2'000'000; t <= 2'000'000; t += 7)
        ASSERT_EQ(TextToTime(TimeToText(t)), t) << TimeToText(t);
    for (REFERENCE_TIME t = 86'400 * S - 3'000; t < 86'400 * S + 3'000; ++t)
        ASSERT_EQ(TextToTime(TimeToText(t)), t) << TimeToText(t);
    EXPECT_EQ(TextToTime("1.5e1"), 15 * S);
    EXPECT_EQ(TextToTime(".5"), 5'000'000);
    EXPECT_EQ(TextToTime("-"), 0);
}

TEST(TimeText, TimesOfEveryLengthKeepTheirLastUnit) {
    // Past 2^53 units a double no longer holds every time, nor their texts.
    EXPECT_EQ(TimeToText(922'337'203'681'234'567), "92233720368.1234567");
    EXPECT_EQ(TimeToText(kMax), "922337203685.4775807");
    EXPECT_EQ(TimeToText(kMin), "-922337203685.4775808");
    for (const REFERENCE_TIME t : {REFERENCE_TIME{922'337'203'681'234'567}, kMax, kMin, kMin + 1,
                                   (REFERENCE_TIME{1} << 53) + 1, -(REFERENCE_TIME{1} << 60) - 3})
        EXPECT_EQ(avsync::TextToTimeInRange(TimeToText(t)), t) << TimeToText(t);
    EXPECT_EQ(avsync::TextToTimeInRange("922337203685.4775808"), std::nullopt);
    EXPECT_EQ(avsync::TextToTimeInRange("-922337203685.4775809"), std::nullopt);
}

TEST(CalculateStart, MapsTheTypedVideoStartThroughTheFirstTwoPointsAndKeepsTheTypedTimes) {
    SyncState state = WithPoints({{10 * S, 12 * S}, {20 * S, 23 * S}, {30 * S, 50 * S}});
    ASSERT_TRUE(state.CalculateStart({0, 40 * S, 7 * S, 41 * S, 39 * S}));
    EXPECT_EQ(state.videoStart, 0);
    EXPECT_EQ(state.audioStart, 1 * S);
    EXPECT_EQ(state.videoEnd, 40 * S);
    EXPECT_EQ(state.audioEnd, 41 * S);
    EXPECT_EQ(state.outputDuration, 39 * S);
}

TEST(CalculateStart, AnAudioStartBeforeZeroMovesTheVideoStartInstead) {
    SyncState state = WithPoints({{10 * S, 5 * S}, {20 * S, 16 * S}});
    ASSERT_TRUE(state.CalculateStart({}));
    EXPECT_EQ(state.audioStart, 0);
    EXPECT_EQ(state.videoStart, 54'545'454);
}

TEST(CalculateStart, AVideoStartOnTheFirstPointGivesItsAudioTime) {
    SyncState state = WithPoints({{10 * S, 12 * S}, {20 * S, 23 * S}});
    ASSERT_TRUE(state.CalculateStart({10 * S}));
    EXPECT_EQ(state.videoStart, 10 * S);
    EXPECT_EQ(state.audioStart, 12 * S);
}

TEST(CalculateStart, PointsThatDefineNoLineChangeNothing) {
    for (auto points : {std::vector<avsync::SyncPoint>{{10 * S, 5 * S}, {10 * S, 9 * S}},
                        std::vector<avsync::SyncPoint>{{10 * S, -2 * S}, {20 * S, -2 * S}}}) {
        SyncState state;
        state.ReplacePoints(points);
        state.videoStart = 3 * S;
        state.audioStart = 4 * S;
        EXPECT_FALSE(state.CalculateStart({0, 20 * S}));
        EXPECT_FALSE(state.CalculateStart({10 * S}));
        EXPECT_EQ(state.videoStart, 3 * S);
        EXPECT_EQ(state.audioStart, 4 * S);
        EXPECT_EQ(state.videoEnd, 0);
    }
}

TEST(CalculateEnd, MapsTheVideoEndThroughTheLastTwoPointsAndKeepsTheTypedTimes) {
    SyncState state = WithPoints({{1 * S, 0}, {10 * S, 12 * S}, {20 * S, 23 * S}});
    state.audioDuration = 25 * S;
    ASSERT_TRUE(state.CalculateEnd({2 * S, 30 * S, 3 * S, 7 * S, 28 * S}));
    EXPECT_EQ(state.audioEnd, 34 * S); // beyond the audio duration
    EXPECT_EQ(state.videoStart, 2 * S);
    EXPECT_EQ(state.videoEnd, 30 * S);
    EXPECT_EQ(state.audioStart, 3 * S);
    EXPECT_EQ(state.outputDuration, 28 * S);
}

TEST(CalculateEnd, WithOnePointTheStartsGoToZeroAndTheEndFollowsTheStartPair) {
    SyncState state = WithPoints({{10 * S, 12 * S}});
    state.ApplyEditableTimes({5 * S, 30 * S, 6 * S, 31 * S, 25 * S});
    state.SetStartsToZero();
    EXPECT_EQ(state.videoStart, 0);
    EXPECT_EQ(state.audioStart, 0);
    EXPECT_EQ(state.audioEnd, 31 * S);
    ASSERT_TRUE(state.CalculateEnd({0, 30 * S, 2 * S, 0, 30 * S}));
    EXPECT_EQ(state.audioStart, 2 * S);
    EXPECT_EQ(state.audioEnd, 32 * S);
}

TEST(CalculateEnd, PointsWithEqualVideoTimesChangeNothing) {
    SyncState state = WithPoints({{10 * S, 12 * S}, {10 * S, 13 * S}});
    state.ApplyEditableTimes({1, 2, 3, 4, 5});
    EXPECT_FALSE(state.CalculateEnd({0, 30 * S, 0, 0, 30 * S}));
    EXPECT_FALSE(state.CalculateEnd({0, 10 * S, 0, 0, 30 * S}));
    SyncState one = WithPoints({{10 * S, 12 * S}});
    EXPECT_FALSE(one.CalculateEnd({10 * S, 30 * S, 12 * S, 0, 30 * S}));
    EXPECT_EQ(state.videoStart, 1);
    EXPECT_EQ(state.videoEnd, 2);
    EXPECT_EQ(state.audioEnd, 4);
    EXPECT_EQ(one.videoEnd, 0);
    EXPECT_EQ(one.audioEnd, 0);
    // A typed audio start at the far end of the range leaves no difference to take.
    EXPECT_FALSE(one.CalculateEnd({0, 30 * S, TextToTime("-1e300"), 0, 30 * S}));
    EXPECT_EQ(one.audioEnd, 0);
}
