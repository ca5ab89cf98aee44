#include "controls/bitmap_slider.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(BitmapSlider, HoldsTheDraggingFlagWhileTheLeftButtonIsDown) {
    int dragging = 0;
    CBitmapSlider slider(&dragging);
    slider.setRange(0, 600);
    slider.resize(300, 24);
    slider.show();
    QSignalSpy released(&slider, &CBitmapSlider::releasedCapture);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(150, 12));
    EXPECT_EQ(dragging, 1);
    EXPECT_EQ(released.count(), 0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(150, 12));
    EXPECT_EQ(dragging, 0);
    EXPECT_EQ(released.count(), 1);
    QTest::mousePress(&slider, Qt::RightButton, {}, QPoint(150, 12));
    EXPECT_EQ(dragging, 0);
    // A button left down would make the next press a chord, which a slider ignores.
    QTest::mouseRelease(&slider, Qt::RightButton, {}, QPoint(150, 12));
}

TEST(BitmapSlider, AClickBesideTheHandleJumpsThereAndDragsOnFromThere) {
    int dragging = 0;
    CBitmapSlider slider(&dragging);
    slider.setRange(0, 600);
    slider.resize(300, 24);
    slider.show();
    QSignalSpy released(&slider, &CBitmapSlider::releasedCapture);
    // Three quarters along: there, not a page step of 10 towards it.
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(225, 12));
    EXPECT_NEAR(slider.value(), 450, 30);
    EXPECT_TRUE(slider.isSliderDown());
    QTest::mouseMove(&slider, QPoint(75, 12));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(75, 12));
    EXPECT_NEAR(slider.value(), 150, 30);
    EXPECT_EQ(released.count(), 1);
    // Other buttons leave the handle where it is.
    const int value = slider.value();
    QTest::mouseClick(&slider, Qt::RightButton, {}, QPoint(280, 12));
    EXPECT_EQ(slider.value(), value);
}
