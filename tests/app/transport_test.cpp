// The transport on a real clip: both players move together, the sound shifted by the audio
// offset, the read-outs follow them unless a seek bar is held, and the offset is shown.
#include "app/vellum_app.h"
#include "app/vellum_dlg.h"
#include "controls/bitmap_slider.h"
#include "platform/core/window_message.h"
#include "preview/preview_window.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr REFERENCE_TIME S = UNITS;

class TransportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::UseTemporarySettings();
        scope.prompts.fileAnswers = {
            QString::fromStdString(testsupport::Clip(testsupport::ClipKind::H264Aac))};
        Click(IDC_BUTTON_ADD_VIDEO);
        ASSERT_TRUE(dlg.videoPlayer && dlg.audioPlayer);
        // Both start from 0 a second after the open.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return dlg.videoPlayer->playState == preview::Running &&
                       dlg.audioPlayer->playState == preview::Running;
            },
            10000));
        Click(IDC_BUTTON_PAUSE);
        Poll();
    }
    void Click(int id) { QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton); }
    void Poll() {
        dlg.videoPlayer->PollPosition();
        dlg.audioPlayer->PollPosition();
    }
    REFERENCE_TIME Gap() { return dlg.audioPlayer->currentPosition - dlg.videoPlayer->currentPosition; }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};

} // namespace

TEST_F(TransportTest, AudioSkipsShiftTheSoundAgainstThePicture) {
    EXPECT_EQ(dlg.videoPlayer->playState, preview::Paused);
    EXPECT_EQ(dlg.audioPlayer->playState, preview::Paused);
    for (int i = 0; i < 3; ++i)
        Click(IDC_BUTTON_AUDIO_JUMP_FORWARD);
    EXPECT_EQ(dlg.syncState.audioOffset, 9'000'000);
    Poll();
    EXPECT_EQ(Gap(), 9'000'000);

    // A point records the picture's time and the sound's time that goes with it.
    Click(IDC_BUTTON_ADD_SYNC_POINT);
    ASSERT_EQ(dlg.syncState.syncCount, 1);
    EXPECT_EQ(dlg.syncState.syncPoints[0].audioTime - dlg.syncState.syncPoints[0].videoTime, 9'000'000);

    Click(IDC_BUTTON_AUDIO_VIDEO_RESTORE);
    EXPECT_EQ(dlg.syncState.audioOffset, 0);
    Poll();
    EXPECT_EQ(Gap(), 0);

    Click(IDC_BUTTON_AUDIO_JUMP_BACKWARD);
    EXPECT_EQ(dlg.syncState.audioOffset, -3'000'000);
    Click(IDC_BUTTON_STOP);
    EXPECT_EQ(dlg.syncState.audioOffset, 0);
    Poll();
    EXPECT_EQ(dlg.videoPlayer->currentPosition, 0);
    EXPECT_EQ(dlg.audioPlayer->currentPosition, 0);
}

TEST_F(TransportTest, TheLettersWorkWithoutTheMouse) {
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.GetDlgItem(IDC_BUTTON_PLAY)->setFocus();
    QTest::keyClick(&dlg, Qt::Key_I);
    QTest::keyClick(&dlg, Qt::Key_I);
    EXPECT_EQ(dlg.syncState.audioOffset, 6'000'000);
    QTest::keyClick(&dlg, Qt::Key_O);
    EXPECT_EQ(dlg.syncState.audioOffset, 0);
    QTest::keyClick(&dlg, Qt::Key_P);
    EXPECT_EQ(dlg.syncState.audioOffset, -3'000'000);
    // In a time box a letter is typed, not pressed.
    QWidget* box = dlg.GetDlgItem(IDC_EDIT_VIDEO_START);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_I);
    EXPECT_EQ(dlg.syncState.audioOffset, -3'000'000);
    EXPECT_TRUE(dlg.GetDlgItemText(IDC_EDIT_VIDEO_START).endsWith("i"));
}

TEST_F(TransportTest, ReleasingTheSeekBarMovesBothPlayersWithTheOffset) {
    auto* bar = dlg.Item<CBitmapSlider>(IDC_SLIDER_POSITION);
    const REFERENCE_TIME length = dlg.videoPlayer->stopPosition;
    ASSERT_GT(length, 0);
    Click(IDC_BUTTON_AUDIO_JUMP_FORWARD);
    bar->setValue(300);
    emit bar->releasedCapture();
    Poll();
    const auto half = static_cast<REFERENCE_TIME>(0.5 * static_cast<double>(length));
    EXPECT_EQ(dlg.videoPlayer->currentPosition, half);
    EXPECT_EQ(dlg.audioPlayer->currentPosition, half + 3'000'000);

    // A negative audio target is held at the start.
    Click(IDC_BUTTON_AUDIO_VIDEO_RESTORE);
    Click(IDC_BUTTON_AUDIO_JUMP_BACKWARD);
    bar->setValue(0);
    emit bar->releasedCapture();
    Poll();
    EXPECT_EQ(dlg.videoPlayer->currentPosition, 0);
    EXPECT_EQ(dlg.audioPlayer->currentPosition, 0);
}

TEST_F(TransportTest, AClickOnTheSeekBarJumpsThereAndSeeksWhenReleased) {
    testsupport::RunModal(dlg, [&] {
        auto* bar = dlg.Item<CBitmapSlider>(IDC_SLIDER_POSITION);
        const QPoint threeQuarters(bar->width() * 3 / 4, bar->height() / 2);
        const REFERENCE_TIME before = dlg.videoPlayer->currentPosition;
        QTest::mousePress(bar, Qt::LeftButton, {}, threeQuarters);
        EXPECT_NEAR(bar->value(), 450, 30);
        Poll();
        EXPECT_EQ(dlg.videoPlayer->currentPosition, before); // nothing moves while it is held
        QTest::mouseRelease(bar, Qt::LeftButton, {}, threeQuarters);
        Poll();
        EXPECT_EQ(dlg.videoPlayer->currentPosition,
                  static_cast<REFERENCE_TIME>(bar->value() / 600.0 *
                                              static_cast<double>(dlg.videoPlayer->stopPosition)));
        EXPECT_EQ(Gap(), 0);
    });
}

TEST_F(TransportTest, TheOffsetReadOutFollowsEveryCommandThatChangesTheOffset) {
    testsupport::RunModal(dlg, [&] {
        const auto offset = [&] { return dlg.GetDlgItemText(IDC_EDIT_AUDIO_OFFSET); };
        EXPECT_EQ(offset(), "Offset: +0.000");
        Click(IDC_BUTTON_AUDIO_JUMP_FORWARD);
        EXPECT_EQ(offset(), "Offset: +0.300");
        Click(IDC_BUTTON_AUDIO_JUMP_FORWARD);
        EXPECT_EQ(offset(), "Offset: +0.600");
        Click(IDC_BUTTON_AUDIO_VIDEO_RESTORE);
        EXPECT_EQ(offset(), "Offset: +0.000");
        Click(IDC_BUTTON_AUDIO_JUMP_BACKWARD);
        EXPECT_EQ(offset(), "Offset: -0.300");
        Click(IDC_BUTTON_STOP);
        EXPECT_EQ(offset(), "Offset: +0.000");
        Click(IDC_BUTTON_AUDIO_JUMP_BACKWARD);
        scope.prompts.fileAnswers = {
            QString::fromStdString(testsupport::Clip(testsupport::ClipKind::H264Aac))};
        Click(IDC_BUTTON_ADD_VIDEO);
        EXPECT_EQ(offset(), "Offset: +0.000");

        // Beside the position read-outs, its longest texts whole, overlapping nothing (the
        // players' ticks leave the texts alone while a bar is held).
        *SliderDraggingFlag() = 1;
        dlg.SetDlgItemText(IDC_EDIT_AUDIO_OFFSET, "Offset: -99.900");
        dlg.SetDlgItemText(IDC_STATIC_TOTAL_DURATION, "Total duration: 3600.0000000");
        dlg.SetDlgItemText(IDC_EDIT_VIDEO_POSITION, "Video: 3600.0");
        dlg.SetDlgItemText(IDC_EDIT_AUDIO_POSITION, "Audio: 3600.0");
        QCoreApplication::processEvents();
        const int row[] = {IDC_EDIT_VIDEO_POSITION, IDC_EDIT_AUDIO_POSITION, IDC_EDIT_AUDIO_OFFSET,
                           IDC_STATIC_TOTAL_DURATION};
        for (int id : row) {
            QWidget* control = dlg.GetDlgItem(id);
            // A box's text lies inside its frame and a margin of 2 on either side.
            const int frame = qobject_cast<QLineEdit*>(control)
                                  ? control->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2
                                  : 0;
            EXPECT_GE(control->width() - 2 * frame,
                      control->fontMetrics().horizontalAdvance(dlg.GetDlgItemText(id)))
                << id;
            const QRect place(control->mapTo(&dlg, QPoint()), control->size());
            for (QWidget* other : dlg.findChildren<QWidget*>()) {
                if (other == control || !other->isVisible() || other->isWindow() ||
                    other->isAncestorOf(control) || control->isAncestorOf(other))
                    continue;
                EXPECT_FALSE(place.intersects(QRect(other->mapTo(&dlg, QPoint()), other->size())))
                    << id << " overlaps " << ui::Dialog::ControlId(other) << " "
                    << other->metaObject()->className();
            }
        }
        EXPECT_LE(dlg.GetDlgItem(IDC_EDIT_AUDIO_OFFSET)->y(),
                  dlg.GetDlgItem(IDC_EDIT_VIDEO_POSITION)->geometry().bottom());

        *SliderDraggingFlag() = 0;

        // Closing the video takes the offset's read-out away with the others.
        dlg.videoPlayer->m_hWnd->close();
        QCoreApplication::processEvents();
        EXPECT_EQ(offset(), "");
    });
}

TEST_F(TransportTest, TheReadOutFollowsThePlayersUnlessABarIsHeld) {
    dlg.videoPlayer->SeekTo(2 * S);
    dlg.audioPlayer->SeekTo(2 * S);
    Poll();
    *SliderDraggingFlag() = 1;
    core::PostMessage(&dlg, WM_PLAYERTICK);
    QCoreApplication::processEvents();
    EXPECT_NE(dlg.GetDlgItemText(IDC_EDIT_VIDEO_POSITION), "Video: 2.0");
    *SliderDraggingFlag() = 0;
    core::PostMessage(&dlg, WM_PLAYERTICK);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_VIDEO_POSITION), "Video: 2.0");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_POSITION), "Audio: 2.0");
    EXPECT_TRUE(dlg.GetDlgItemText(IDC_STATIC_TOTAL_DURATION).startsWith("Total duration: 4.0"));
    EXPECT_EQ(dlg.Item<CBitmapSlider>(IDC_SLIDER_POSITION)->value(),
              static_cast<int>(2.0 * S / static_cast<double>(dlg.videoPlayer->stopPosition) * 600));
}

TEST_F(TransportTest, SkipsMoveBothPlayersFromWhereEachStands) {
    Click(IDC_BUTTON_AUDIO_JUMP_FORWARD);
    Click(IDC_BUTTON_JUMP_FORWARD); // 20 s: both run to the end of a 4 s clip
    Poll();
    Click(IDC_BUTTON_JUMP_BACKWARD); // 10 s back: both held at 0
    Poll();
    EXPECT_EQ(dlg.videoPlayer->currentPosition, 0);
    EXPECT_EQ(dlg.audioPlayer->currentPosition, 0);
}

TEST_F(TransportTest, ClosingThePlayersReturnsTheWindowToItsFirstState) {
    Click(IDC_BUTTON_AUDIO_JUMP_FORWARD);
    Click(IDC_BUTTON_ADD_SYNC_POINT);
    // The picture window's close arrives as the hidden "Close" command.
    dlg.videoPlayer->m_hWnd->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(dlg.videoPlayer);
    EXPECT_FALSE(dlg.audioPlayer);
    EXPECT_EQ(dlg.photoList.Count(), 0u);
    EXPECT_EQ(dlg.musicEnd, 0);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_TOTAL_DURATION), "");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_MUSIC_END), "00:00:00");
    EXPECT_FALSE(dlg.GetDlgItem(IDC_BUTTON_PLAY)->isEnabled());
    EXPECT_EQ(dlg.Item<CBitmapSlider>(IDC_SLIDER_POSITION)->value(), 0);
    // Commands without players do nothing, but Stop still clears the offset.
    core::PostMessage(&dlg, WM_COMMAND, IDC_BUTTON_STOP);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.syncState.audioOffset, 0);
}

TEST(TransportAfterOpen, WhatTheUserDoesBeforeTheStartIsKept) {
    testsupport::UseTemporarySettings();
    testsupport::PromptScope scope;
    CVellumDlg dlg;
    scope.prompts.fileAnswers = {QString::fromStdString(testsupport::Clip(testsupport::ClipKind::H264Aac))};
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_ADD_VIDEO), Qt::LeftButton);
    ASSERT_TRUE(dlg.videoPlayer && dlg.audioPlayer);
    // Timers fire in the order they fall due: once this one, set after the open for later than
    // the start from 0 a second after it, has fired, that start has had its turn.
    QTimer startDue;
    startDue.setSingleShot(true);
    startDue.setTimerType(Qt::PreciseTimer);
    startDue.start(1500);
    // Within the first second the user shifts the sound; the start from 0 must not undo it.
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_AUDIO_JUMP_FORWARD), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !startDue.isActive(); }, 30000));
    EXPECT_NE(dlg.videoPlayer->playState, preview::Running);
    dlg.videoPlayer->PollPosition();
    dlg.audioPlayer->PollPosition();
    EXPECT_EQ(dlg.audioPlayer->currentPosition - dlg.videoPlayer->currentPosition, 3'000'000);
}
