// The composed preview from the main window: its refusals, starting and stopping, and the
// preview window's close.
#include "app/vellum_dlg.h"
#include "controls/bitmap_slider.h"
#include "preview/preview_window.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr REFERENCE_TIME S = UNITS;

class PreviewTest : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::UseTemporarySettings(); }
    void Click(int id) { QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton); }
    void Open() {
        scope.prompts.fileAnswers = {QString::fromStdString(testsupport::Clip(testsupport::ClipKind::H264Aac))};
        Click(IDC_BUTTON_ADD_VIDEO);
        ASSERT_TRUE(dlg.videoPlayer);
    }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};

} // namespace

TEST_F(PreviewTest, PreviewNeedsAVideoAndNoConversion) {
    dlg.EnableWorkingSet();
    Click(IDC_BUTTON_PREVIEW_VIDEO);
    Open();
    dlg.converting = 1;
    Click(IDC_BUTTON_PREVIEW_VIDEO);
    ASSERT_EQ(scope.prompts.messages.size(), 2u);
    EXPECT_EQ(scope.prompts.messages[0].text, "Please open a video file first!");
    EXPECT_EQ(scope.prompts.messages[1].text, "Please stop Convert first!");
    EXPECT_EQ(dlg.previewRunning, 0);
    EXPECT_FALSE(dlg.resultPlayer);
}

TEST_F(PreviewTest, PreviewTwiceStartsThenStopsAndResetsTheBar) {
    Open();
    dlg.videoPlayer->currentPosition = S;
    Click(IDC_BUTTON_ADD_SYNC_POINT);
    dlg.SetDlgItemText(IDC_EDIT_PREVIEW_START, "1.5");
    Click(IDC_BUTTON_PREVIEW_VIDEO);
    ASSERT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
    EXPECT_EQ(dlg.previewRunning, 1);
    EXPECT_EQ(dlg.singleSpan, 0);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_PREVIEW_VIDEO), "Stop");
    ASSERT_TRUE(dlg.resultPlayer);
    EXPECT_EQ(dlg.resultPlayer->playState, preview::Running);
    EXPECT_TRUE(dlg.Timer(CVellumDlg::kPreviewBarTimer)->isActive());
    dlg.resultPlayer->PollPosition();
    EXPECT_GE(dlg.resultPlayer->currentPosition, 15 * S / 10); // started at the hidden start time

    dlg.Item<CBitmapSlider>(IDC_SLIDER_PREVIEW)->setValue(120);
    Click(IDC_BUTTON_PREVIEW_VIDEO);
    EXPECT_EQ(dlg.previewRunning, 0);
    EXPECT_FALSE(dlg.resultPlayer);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_PREVIEW_VIDEO), "Preview");
    EXPECT_EQ(dlg.Item<CBitmapSlider>(IDC_SLIDER_PREVIEW)->value(), 0);
    EXPECT_FALSE(dlg.Timer(CVellumDlg::kPreviewBarTimer)->isActive());
    EXPECT_EQ(dlg.composition.Timeline(), nullptr);
}

TEST_F(PreviewTest, PointsOutOfOrderAreRefusedOnceNamingTheFirst) {
    Open();
    // A list stored out of order loads in its own order, and only Preview refuses it.
    const std::string list = testsupport::TemporaryFolder().toStdString() + "/unordered.ini";
    testsupport::WriteFileBytes(list, "[FILENAME]\r\nTOTAL_SYNC_POINTS=3\r\n[SYNC_LIST]\r\n"
                                      "SYNC_VIDEO_TIME_0=1\r\nSYNC_AUDIO_TIME_0=1.2\r\n"
                                      "SYNC_VIDEO_TIME_1=3\r\nSYNC_AUDIO_TIME_1=3.2\r\n"
                                      "SYNC_VIDEO_TIME_2=2\r\nSYNC_AUDIO_TIME_2=2.2\r\n");
    scope.prompts.fileAnswers = {QString::fromStdString(list)};
    Click(IDC_BUTTON_LOAD_SYNC_LIST);
    ASSERT_EQ(dlg.syncState.syncCount, 3);
    ASSERT_TRUE(scope.prompts.messages.empty());
    const std::vector<avsync::SyncPoint> loaded = dlg.syncState.Points();
    EXPECT_EQ(loaded[2].videoTime, 2 * S);

    Click(IDC_BUTTON_PREVIEW_VIDEO);
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    const QString text = scope.prompts.messages[0].text;
    EXPECT_TRUE(text.contains("row 3")) << text.toStdString();
    EXPECT_TRUE(text.contains("video 2.0000000 s, audio 2.2000000 s")) << text.toStdString();
    EXPECT_TRUE(text.contains("row 2 (3.0000000 s)")) << text.toStdString();
    EXPECT_EQ(scope.prompts.messages[0].caption, "Error");
    EXPECT_EQ(dlg.previewRunning, 0);
    EXPECT_FALSE(dlg.resultPlayer);
    EXPECT_EQ(dlg.composition.Timeline(), nullptr);
    EXPECT_EQ(dlg.syncState.Points(), loaded);
}

TEST_F(PreviewTest, ClosingThePreviewWindowStopsThePreview) {
    Open();
    Click(IDC_BUTTON_PREVIEW_VIDEO);
    ASSERT_EQ(dlg.previewRunning, 1);
    EXPECT_EQ(dlg.singleSpan, 1);
    dlg.resultPlayer->m_hWnd->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.previewRunning, 0);
    EXPECT_FALSE(dlg.resultPlayer);
    // The source players stay as they were.
    EXPECT_TRUE(dlg.videoPlayer);
}

TEST_F(PreviewTest, AnOutputFrameRateOutOfRangeIsQuestioned) {
    Open();
    dlg.output.frameRateIndex = 0;
    dlg.output.outputFrameRate = 1000;
    dlg.output.sourceFrameRate = 1000;
    scope.prompts.answers = {ui::IDYES};
    Click(IDC_BUTTON_PREVIEW_VIDEO);
    ASSERT_FALSE(scope.prompts.messages.empty());
    EXPECT_EQ(scope.prompts.messages[0].caption, "Warning");
    EXPECT_TRUE(scope.prompts.messages[0].text.startsWith("The output frame rate is 1000.000000.The value"));
    EXPECT_DOUBLE_EQ(dlg.output.outputFrameRate, 23.976);
    Click(IDC_BUTTON_PREVIEW_VIDEO);
}

TEST_F(PreviewTest, APreviewWhoseVideoWasClosedCanStillBeStopped) {
    Open();
    Click(IDC_BUTTON_PREVIEW_VIDEO);
    ASSERT_EQ(dlg.previewRunning, 1);
    dlg.videoPlayer->m_hWnd->close(); // closes the source players and the video
    QCoreApplication::processEvents();
    ASSERT_FALSE(dlg.videoPlayer);
    dlg.resultPlayer->m_hWnd->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.previewRunning, 0);
    EXPECT_FALSE(dlg.resultPlayer);
    EXPECT_TRUE(scope.prompts.messages.empty());
}

// Only one sound plays: the source players rest and their transport is off while the preview
// runs. The picture's window hides nothing of the main window, and the preview's neither.
TEST_F(PreviewTest, ThePlayersRestAndThePreviewWindowHidesNeitherWindow) {
    // High on the screen: no room above it, where a picture window used to open.
    dlg.setGeometry(40, 30, 420, 240);
    Open();
    EXPECT_FALSE(dlg.videoPlayer->m_hWnd->frameGeometry().intersects(dlg.frameGeometry()));
    Click(IDC_BUTTON_PLAY);
    ASSERT_EQ(dlg.audioPlayer->playState, preview::Running);
    Click(IDC_BUTTON_PREVIEW_VIDEO);
    ASSERT_EQ(dlg.previewRunning, 1);
    EXPECT_EQ(dlg.videoPlayer->playState, preview::Paused);
    EXPECT_EQ(dlg.audioPlayer->playState, preview::Paused);
    const int transport[] = {IDC_BUTTON_PLAY, IDC_BUTTON_JUMP_FORWARD,
                             IDC_BUTTON_AUDIO_JUMP_FORWARD, IDC_SLIDER_POSITION};
    for (int id : transport)
        EXPECT_FALSE(dlg.GetDlgItem(id)->isEnabled()) << id;
    const QRect preview = dlg.resultPlayer->m_hWnd->frameGeometry();
    EXPECT_FALSE(preview.intersects(dlg.frameGeometry()));
    EXPECT_FALSE(preview.intersects(dlg.videoPlayer->m_hWnd->frameGeometry()));

    Click(IDC_BUTTON_PREVIEW_VIDEO);
    for (int id : transport)
        EXPECT_TRUE(dlg.GetDlgItem(id)->isEnabled()) << id;
    EXPECT_EQ(dlg.audioPlayer->playState, preview::Paused);

    // Opening a video ends the preview of the one it replaces, so no player runs under it.
    Click(IDC_BUTTON_PREVIEW_VIDEO);
    ASSERT_EQ(dlg.previewRunning, 1);
    Open();
    EXPECT_EQ(dlg.previewRunning, 0);
    EXPECT_FALSE(dlg.resultPlayer);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_PREVIEW_VIDEO), "Preview");
}
