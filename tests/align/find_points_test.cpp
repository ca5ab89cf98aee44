// The whole search on generated dual-system material whose map is known exactly.
#include "align/alignment.h"
#include "align/dual_recording.h"
#include "support/media_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

using aligntest::DualRecording;

constexpr double kPointTolerance = 1e-4; // seconds
constexpr double kDriftTolerancePpm = 1.0;
// The pause begins and ends in sound, which places its edges to within a few frames.
constexpr double kEdgeTolerance = 0.05;

double Seconds(REFERENCE_TIME t) {
    return double(t) / UNITS;
}

// The largest distance of the proposed points from the true map, in seconds.
double WorstPointError(const align::Alignment& found, const DualRecording& truth) {
    double worst = 0;
    for (const align::ProposedPoint& point : found.points)
        worst = std::max(worst, std::abs(Seconds(point.audio) - truth.RecordingAt(Seconds(point.video))));
    return worst;
}

TEST(FindPoints, FollowsADriftingRecorder) {
    const DualRecording& truth = aligntest::MakeDualRecording(false);
    const align::Alignment found = align::FindPoints(truth.videoPath, truth.recorderPath, nullptr);
    ASSERT_TRUE(found.matched) << static_cast<int>(found.refusal);
    EXPECT_EQ(found.refusal, align::Refusal::None);
    EXPECT_FALSE(found.cancelled);
    ASSERT_EQ(found.segments.size(), 1u);
    EXPECT_TRUE(found.jumps.empty());
    EXPECT_GE(found.points.size(), 3u);
    const double error = WorstPointError(found, truth);
    std::cout << "steady: worst point error " << error * 1e3 << " ms, drift " << found.driftPpm
              << " ppm, offset error " << (Seconds(found.offset) - truth.offset) * 1e3 << " ms\n";
    EXPECT_LT(error, kPointTolerance);
    EXPECT_NEAR(found.driftPpm, truth.driftPpm, kDriftTolerancePpm);
    EXPECT_NEAR(found.segments[0].driftPpm, truth.driftPpm, kDriftTolerancePpm);
    EXPECT_NEAR(Seconds(found.offset), truth.offset, kPointTolerance);
    // The recording covers the whole video, so the points reach from its start to its end.
    EXPECT_LT(Seconds(found.points.front().video), 0.01);
    EXPECT_GT(Seconds(found.points.back().video), truth.videoSeconds - 0.01);
    for (std::size_t i = 1; i < found.points.size(); ++i)
        EXPECT_GT(found.points[i].video, found.points[i - 1].video);
    for (const align::ProposedPoint& point : found.points) {
        EXPECT_GT(point.confidence, 0.5);
        EXPECT_LE(point.confidence, 1.0);
    }
}

TEST(FindPoints, FindsTheRecordersPauseAndKeepsPointsOutOfIt) {
    const DualRecording& truth = aligntest::MakeDualRecording(true);
    const align::Alignment found = align::FindPoints(truth.videoPath, truth.recorderPath, nullptr);
    ASSERT_TRUE(found.matched) << static_cast<int>(found.refusal);
    ASSERT_EQ(found.segments.size(), 2u);
    ASSERT_EQ(found.jumps.size(), 1u);
    const align::Jump& jump = found.jumps[0];
    std::cout << "paused: worst point error " << WorstPointError(found, truth) * 1e3 << " ms, drift "
              << found.driftPpm << " ppm, pause edges off by "
              << (Seconds(jump.videoFrom) - truth.PauseVideoFrom()) * 1e3 << " ms and "
              << (Seconds(jump.videoTo) - truth.PauseVideoTo()) * 1e3 << " ms\n";
    EXPECT_NEAR(Seconds(jump.videoFrom), truth.PauseVideoFrom(), kEdgeTolerance);
    EXPECT_NEAR(Seconds(jump.videoTo), truth.PauseVideoTo(), kEdgeTolerance);
    EXPECT_NEAR(Seconds(jump.recordingFrom), truth.pauseScene, kEdgeTolerance);
    EXPECT_NEAR(Seconds(jump.recordingTo), truth.pauseScene, kEdgeTolerance);
    EXPECT_EQ(found.segments[0].videoTo, jump.videoFrom);
    EXPECT_EQ(found.segments[1].videoFrom, jump.videoTo);
    for (const align::ProposedPoint& point : found.points)
        EXPECT_FALSE(Seconds(point.video) > truth.PauseVideoFrom() && Seconds(point.video) < truth.PauseVideoTo())
            << "point at " << Seconds(point.video) << " s lies in the pause";
    EXPECT_LT(WorstPointError(found, truth), kPointTolerance);
    EXPECT_NEAR(found.driftPpm, truth.driftPpm, kDriftTolerancePpm);
    // Each side of the pause has its own offset; the recording stood still while the video ran.
    EXPECT_NEAR(Seconds(found.segments[1].offset - found.segments[0].offset), -truth.pauseSeconds,
                kPointTolerance);
}

TEST(FindPoints, AnswersNoMatchForAnUnrelatedRecording) {
    const DualRecording& truth = aligntest::MakeDualRecording(false);
    const align::Alignment found =
        align::FindPoints(truth.videoPath, aligntest::UnrelatedRecording(), nullptr);
    EXPECT_FALSE(found.matched);
    EXPECT_FALSE(found.cancelled);
    EXPECT_EQ(found.refusal, align::Refusal::NoMatch);
    EXPECT_TRUE(found.points.empty());
    EXPECT_TRUE(found.segments.empty());
    EXPECT_TRUE(found.jumps.empty());
}

TEST(FindPoints, ReportsProgressAndStopsWhenCancelled) {
    const DualRecording& truth = aligntest::MakeDualRecording(false);
    std::vector<double> told;
    const align::Alignment found = align::FindPoints(truth.videoPath, truth.recorderPath, [&](double f) {
        told.push_back(f);
        return f < 0.5;
    });
    EXPECT_TRUE(found.cancelled);
    EXPECT_FALSE(found.matched);
    EXPECT_TRUE(found.points.empty());
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_GE(told.back(), 0.5);
    EXPECT_LT(told.back(), 0.7);
}

TEST(FindPoints, RefusesAVideoWithoutSound) {
    const DualRecording& truth = aligntest::MakeDualRecording(false);
    const align::Alignment found = align::FindPoints(
        testsupport::PlainClip(160, 120, 25, 2, false), truth.recorderPath, nullptr);
    EXPECT_FALSE(found.matched);
    EXPECT_EQ(found.refusal, align::Refusal::VideoHasNoSound);
    EXPECT_TRUE(found.points.empty());
}

} // namespace
