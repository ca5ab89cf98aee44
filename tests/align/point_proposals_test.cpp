// Proposals are kept where they can be composed: a video's sound often runs a little past its
// last picture, so a point there moves back onto the last picture along the fitted line; one
// before the start or outside the recording is left out.
#include "align/alignment.h"

#include <gtest/gtest.h>

TEST(KeepPointsInside, APointPastThePictureMovesOntoItsEndAndOthersOutsideAreLeftOut) {
    constexpr REFERENCE_TIME S = UNITS;
    align::Alignment found;
    found.matched = true;
    found.driftPpm = 100;
    found.segments = {{0, 60 * S + 3750, 100, S / 2}};
    found.points = {{-1, S / 2, 1.0},
                    {0, S / 2, 1.0},
                    {30 * S, 30 * S + S / 2 + 3000, 1.0},
                    {60 * S + 3750, 60 * S + S / 2 + 9000, 1.0},
                    {60 * S + 5000, 70 * S + 1, 1.0}}; // past the recording's end too
    align::KeepPointsInside(found, 60 * S, 70 * S);
    ASSERT_EQ(found.points.size(), 3u);
    EXPECT_EQ(found.points[0].video, 0);
    EXPECT_EQ(found.points[1].video, 30 * S);
    EXPECT_EQ(found.points[2].video, 60 * S);
    // 3750 units earlier on a line 100 ppm steeper than the picture: 3750.375 units.
    EXPECT_EQ(found.points[2].audio, 60 * S + S / 2 + 9000 - 3750);
}
