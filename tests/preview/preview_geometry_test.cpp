#include "preview/preview_geometry.h"

#include <gtest/gtest.h>

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
