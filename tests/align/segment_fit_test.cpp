// The consensus fit keeps the windows that agree, and a new segment starts only at a jump.
#include "align/analysis_settings.h"
#include "align/line_fit.h"
#include "align/segment_fit.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using align::Match;

constexpr double kSlope = 1 + 120e-6;

// Windows every 2 s from 0 to `end` on the line offset + video × kSlope.
void AddLine(std::vector<Match>* matches, double from, double end, double offset) {
    for (double v = from; v <= end; v += 2)
        matches->push_back(Match{v, offset + v * kSlope, 20});
}

std::vector<int> All(const std::vector<Match>& matches) {
    std::vector<int> all(matches.size());
    for (int i = 0; i < int(all.size()); ++i)
        all[i] = i;
    return all;
}

TEST(LineFit, ConsensusIgnoresWindowsThatDisagree) {
    std::vector<Match> matches;
    AddLine(&matches, 0, 120, 3.5);
    // Every third window found a reflection or a look-alike sound instead.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> miss(0.01, 0.2);
    for (std::size_t i = 0; i < matches.size(); i += 3)
        matches[i].recording += miss(random);
    const std::optional<align::Consensus> consensus = align::FindConsensus(matches, All(matches), 0.001);
    ASSERT_TRUE(consensus);
    EXPECT_EQ(consensus->members.size(), matches.size() - (matches.size() + 2) / 3);
    EXPECT_NEAR(consensus->fit.line.slope, kSlope, 1e-12);
    EXPECT_NEAR(consensus->fit.line.intercept, 3.5, 1e-9);
    EXPECT_NEAR(consensus->fit.residual, 0, 1e-9);
}

TEST(LineFit, FitsTheLeastSquaresLineAndItsError) {
    const std::vector<Match> matches{{0, 1.0, 1}, {1, 2.1, 1}, {2, 2.9, 1}, {3, 4.0, 1}};
    const std::optional<align::LineFit> fit = align::FitLine(matches, All(matches));
    ASSERT_TRUE(fit);
    EXPECT_NEAR(fit->line.slope, 0.98, 1e-12);
    EXPECT_NEAR(fit->line.intercept, 1.03, 1e-12);
    // The error grows away from the middle of the data.
    EXPECT_GT(fit->ErrorAt(10), fit->ErrorAt(1.5));
    EXPECT_FALSE(align::FitLine({{1, 1, 1}, {1, 2, 1}}, {0, 1}));
}

TEST(SegmentFit, StartsANewSegmentOnlyWhereTheRecordingJumps) {
    std::vector<Match> matches;
    AddLine(&matches, 0, 90, 4.0);
    // Two windows that happen to agree with each other elsewhere: chance, not a jump.
    matches.push_back(Match{92, 40.0, 20});
    matches.push_back(Match{94, 42.0, 20});
    AddLine(&matches, 96, 180, 1.5);
    // Windows found with too little confidence count for nothing.
    matches.push_back(Match{181, 7.0, align::kWindowConfidence / 2});
    const std::vector<align::FittedSegment> segments = align::FitSegments(matches);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_NEAR(segments[0].fit.line.intercept, 4.0, 1e-9);
    EXPECT_NEAR(segments[1].fit.line.intercept, 1.5, 1e-9);
    EXPECT_NEAR(segments[0].fit.line.slope, kSlope, 1e-12);
    EXPECT_DOUBLE_EQ(segments[0].LastVideo(matches), 90);
    EXPECT_DOUBLE_EQ(segments[1].FirstVideo(matches), 96);
    EXPECT_DOUBLE_EQ(segments[0].agreement, 1.0);
}

TEST(SegmentFit, FindsNoSegmentInScatteredWindows) {
    std::mt19937 random(9);
    std::uniform_real_distribution<double> anywhere(0, 600);
    std::vector<Match> matches;
    for (double v = 0; v < 300; v += 2)
        matches.push_back(Match{v, anywhere(random), 20});
    EXPECT_TRUE(align::FitSegments(matches).empty());
}

} // namespace
