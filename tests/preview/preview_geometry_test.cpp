#include "preview/preview_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using preview::FullScreenPictureRect;
using preview::PreviewWindowRect;

TEST(PreviewGeometry, WindowFillsTheHeightAboveTheMainWindow) {
    // Work area from (0, 0); main window top at 305: height 300, right edge at 400.
    EXPECT_EQ(PreviewWindowRect(QRect(0, 0, 1920, 1040), QRect(600, 305, 575, 580)),
              QRect(100, 5, 300, 300));
    // An offset work area moves the window with it.
    EXPECT_EQ(PreviewWindowRect(QRect(50, 30, 1800, 1000), QRect(600, 335, 575, 580)),
              QRect(150, 35, 300, 300));
    // No room above the main window: still a usable window, never a negative size.
    const QRect cramped = PreviewWindowRect(QRect(0, 0, 1920, 1040), QRect(0, 2, 575, 580));
    EXPECT_GT(cramped.width(), 0);
    EXPECT_GT(cramped.height(), 0);
}

TEST(PreviewGeometry, FullScreenScalesTenTimesTheNativeSizeToFit) {
    // 640 x 480 on 1920 x 1080: both tenfold sizes exceed the screen, full height applies.
    EXPECT_EQ(FullScreenPictureRect(QSize(1920, 1080), QSize(640, 480)), QRect(240, 0, 1440, 1080));
    // A wide picture takes the full width, centred vertically.
    EXPECT_EQ(FullScreenPictureRect(QSize(1920, 1080), QSize(1920, 800)), QRect(0, 140, 1920, 800));
    // Tiny pictures stay at ten times their size, centred.
    EXPECT_EQ(FullScreenPictureRect(QSize(1920, 1080), QSize(100, 50)), QRect(460, 290, 1000, 500));
    // Only the width exceeds: full width; only the height: full height.
    EXPECT_EQ(FullScreenPictureRect(QSize(1920, 1080), QSize(200, 100)), QRect(0, 60, 1920, 960));
    EXPECT_EQ(FullScreenPictureRect(QSize(1920, 1080), QSize(100, 150)), QRect(600, 0, 720, 1080));
}

// Beside the main window when the screen has room; otherwise over as few of its controls as
// the places beside it and the corners allow.
TEST(PreviewGeometry, AWindowGoesWhereItHidesFewestControls) {
    const QRect screen(0, 0, 1280, 1024);
    const QRect main(300, 200, 575, 580);
    // One control at the top of the main window, three low down: the place below covers the
    // least of the window, but hides three.
    const std::vector<QRect> controls{
        {310, 210, 80, 24}, {310, 600, 300, 20}, {310, 650, 72, 24}, {310, 700, 72, 24}};
    struct Case {
        QSize window;
        int controlsHidden;
    };
    for (const Case& test : {Case{{320, 240}, 0}, Case{{1280, 600}, 1}, Case{{1280, 1000}, 4}}) {
        const QRect placed(preview::PlaceClearOf(screen, test.window, {main}, controls),
                           test.window);
        EXPECT_TRUE(screen.contains(placed)) << test.window.width();
        EXPECT_EQ(placed.intersects(main), test.controlsHidden > 0) << test.window.width();
        const auto hidden = std::count_if(controls.begin(), controls.end(),
                                          [&](const QRect& c) { return placed.intersects(c); });
        EXPECT_EQ(hidden, test.controlsHidden) << test.window.width();
    }
}
