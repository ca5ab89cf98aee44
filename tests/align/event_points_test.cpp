// Events of a file's own picture and sound, and the points they give, on generated clips whose
// flashes and clicks are known exactly.
#include "align/event_points.h"
#include "align/picture_events.h"
#include "align/sound_onsets.h"
#include "support/drift_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kOnsetTolerance = 0.05e-3; // seconds
constexpr double kPointTolerance = 0.1e-3;

double Seconds(REFERENCE_TIME t) {
    return double(t) / UNITS;
}

struct EventCase {
    const char* name;
    double fps;
    std::vector<double> flashes;
    double offset;
    double drift;
    testsupport::StrayEvents strays;
};

class EventsOfAClip : public testing::TestWithParam<EventCase> {};

TEST_P(EventsOfAClip, AreFoundExactlyAndGiveTheMap) {
    const EventCase& c = GetParam();
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(30, c.fps, c.flashes, c.offset, c.drift, c.strays);
    const auto map = [&](double video) { return c.offset + video * (1 + c.drift); };

    std::vector<REFERENCE_TIME> picture, sound;
    REFERENCE_TIME frame = 0;
    ASSERT_EQ(align::FindPictureEvents(clip.path, nullptr, &picture, &frame), S_OK);
    ASSERT_EQ(align::FindSoundOnsets(clip.path, nullptr, &sound), S_OK);
    EXPECT_NEAR(Seconds(frame), 1 / c.fps, 1e-6);
    ASSERT_EQ(picture.size(), clip.flashTimes.size() + c.strays.flashes.size());
    ASSERT_EQ(sound.size(), clip.clickTimes.size() + c.strays.clicks.size());
    // Every flash on its frame, every click's onset on its first sample.
    for (double flash : clip.flashTimes)
        EXPECT_TRUE(
            std::any_of(picture.begin(), picture.end(),
                        [&](REFERENCE_TIME t) { return std::abs(Seconds(t) - flash) < 0.5e-3; }))
            << "flash at " << flash;
    for (double click : clip.clickTimes)
        EXPECT_TRUE(std::any_of(
            sound.begin(), sound.end(),
            [&](REFERENCE_TIME t) { return std::abs(Seconds(t) - click) < kOnsetTolerance; }))
            << "click at " << click;

    const align::Alignment found =
        align::FindPointsFromEvents(clip.path, clip.path, align::EventSearch{}, nullptr);
    ASSERT_TRUE(found.matched) << int(found.refusal);
    ASSERT_EQ(found.points.size(), 2u);
    EXPECT_NEAR(Seconds(found.points.front().video), clip.flashTimes.front(), 0.5e-3);
    EXPECT_NEAR(Seconds(found.points.back().video), clip.flashTimes.back(), 0.5e-3);
    for (const align::ProposedPoint& point : found.points)
        EXPECT_NEAR(Seconds(point.audio), map(Seconds(point.video)), kPointTolerance);
    EXPECT_NEAR(found.driftPpm, c.drift * 1e6, 10);

    // Snap, from a position a little after the middle flash, with the offset in force.
    const double middle = clip.flashTimes[clip.flashTimes.size() / 2];
    align::EventSearch near;
    near.offset = std::llround(c.offset * UNITS);
    near.reach = UNITS / 2;
    const std::optional<align::ProposedPoint> snapped =
        align::SnapToEvents(picture, sound, std::llround((middle + 0.2) * UNITS), near);
    ASSERT_TRUE(snapped);
    EXPECT_NEAR(Seconds(snapped->video), middle, 0.5e-3);
    EXPECT_NEAR(Seconds(snapped->audio), map(Seconds(snapped->video)), kPointTolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Clips, EventsOfAClip,
    testing::Values(
        EventCase{"ClapsAtStartAndEnd", 25, {1.0, 28.0}, 0.35, 400e-6, {}},
        EventCase{
            "ManyFlashesLateSound", 30000.0 / 1001, {2.0, 7.5, 11.0, 16.2, 23.9}, 0.8, -250e-6, {}},
        EventCase{"StrayEventsOnBothSides",
                  25,
                  {1.5, 12.0, 26.5},
                  -0.12,
                  600e-6,
                  {{6.0, 20.0}, {4.3, 9.1, 18.77}}}),
    [](const testing::TestParamInfo<EventCase>& info) { return info.param.name; });

TEST(EventsOfAClip, AClipWithoutEventsSaysSoAndGivesNoPoint) {
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(6, 25, {}, 0, 0, testsupport::StrayEvents{});
    const align::Alignment found =
        align::FindPointsFromEvents(clip.path, clip.path, align::EventSearch{}, nullptr);
    EXPECT_FALSE(found.matched);
    EXPECT_EQ(found.refusal, align::Refusal::NoPictureEvents);
    EXPECT_TRUE(found.points.empty());
    EXPECT_FALSE(align::SnapToEvents({}, {}, UNITS, align::EventSearch{}));
}

} // namespace
