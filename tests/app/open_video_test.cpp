// Opening videos through the main window: what a successful open leaves behind, and what
// each kind of file that cannot be opened does.
#include "app/vellum_dlg.h"
#include "platform/settings/store.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using testsupport::ClipKind;

namespace {

constexpr REFERENCE_TIME S = UNITS;

class OpenVideoTest : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::UseTemporarySettings(); }
    void Open(const std::string& path) {
        scope.prompts.fileAnswers = {QString::fromStdString(path)};
        QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_ADD_VIDEO), Qt::LeftButton);
    }
    static REFERENCE_TIME Units(double seconds) { return std::llround(seconds * UNITS); }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};

} // namespace

TEST_F(OpenVideoTest, AnOpenedVideoBecomesTheClipWithItsExactStreamLengths) {
    const std::string path = testsupport::PlainClip(640, 480, 25, 2);
    Open(path);
    ASSERT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
    EXPECT_EQ(scope.prompts.fileDialogs[0].title, "Open a video file");
    ASSERT_EQ(scope.prompts.fileDialogs[0].filters.size(), 2u);
    EXPECT_EQ(scope.prompts.fileDialogs[0].filters[0].description, "Any Files (*.*)");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_STATUS),
              "Output file: " + dlg.output.outputFileName + "     Resolution: 640*480");
    EXPECT_EQ(dlg.nativeWidth, 640);
    EXPECT_EQ(dlg.output.outputHeight, 480);
    EXPECT_DOUBLE_EQ(dlg.output.sourceFrameRate, 25.0);

    const testsupport::StreamTiming video = testsupport::ProbeStream(path, 'v');
    const testsupport::StreamTiming audio = testsupport::ProbeStream(path, 'a');
    EXPECT_NEAR(dlg.syncState.videoDuration, Units(video.length), 1);
    EXPECT_NEAR(dlg.syncState.audioDuration, Units(audio.length), 1);
    EXPECT_EQ(dlg.syncState.videoEnd, dlg.syncState.videoDuration);
    EXPECT_EQ(dlg.syncState.audioEnd, dlg.syncState.audioDuration);
    EXPECT_EQ(dlg.syncState.outputDuration,
              std::min(dlg.syncState.videoDuration, dlg.syncState.audioDuration));
    EXPECT_EQ(dlg.syncState.videoStart, 0);
    EXPECT_EQ(dlg.Item<QTableWidget>(IDC_LIST_SYNC_POINTS)->rowCount(), 0);

    ASSERT_EQ(dlg.photoList.Count(), 1u);
    EXPECT_EQ(dlg.photoList[0].path, path);
    EXPECT_EQ(dlg.photoList[0].duration, 2 * S);
    EXPECT_GE(dlg.photoList[0].transitionType, 0);
    EXPECT_LT(dlg.photoList[0].transitionType, 47);
    ASSERT_EQ(dlg.musicList.Count(), 1u);
    EXPECT_EQ(dlg.musicList[0].path, path);
    EXPECT_GT(dlg.musicList[0].duration, 0);
    EXPECT_TRUE(dlg.GetDlgItem(IDC_BUTTON_PLAY)->isEnabled());
    EXPECT_EQ(settings::Profile().GetProfileString("Option", "LastPhotoFolder", ""),
              QString::fromStdString(path.substr(0, path.find_last_of('/') + 1)));
    ASSERT_TRUE(dlg.videoPlayer && dlg.audioPlayer);
    // Paused on the first frame, the sound device open, until both start together.
    EXPECT_EQ(dlg.videoPlayer->playState, preview::Paused);
    EXPECT_EQ(dlg.audioPlayer->playState, preview::Paused);

    // A second later both players run from the start.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return dlg.videoPlayer->playState == preview::Running &&
                   dlg.audioPlayer->playState == preview::Running;
        },
        10000))
        << "picture " << dlg.videoPlayer->playState << ", sound " << dlg.audioPlayer->playState;
}

TEST_F(OpenVideoTest, TheClipKeepsWholeSecondsWhileTheStreamsKeepTheirLength) {
    settings::Profile().WriteProfileInt("TransitionSettings", "TransitionType", 2);
    settings::Profile().WriteProfileInt("TransitionSettings", "TransitionName", 3);
    CVellumDlg fresh; // reads the transition settings at set-up
    const std::string path = testsupport::PlainClip(64, 48, 10, 83.9);
    scope.prompts.fileAnswers = {QString::fromStdString(path)};
    QTest::mouseClick(fresh.GetDlgItem(IDC_BUTTON_ADD_VIDEO), Qt::LeftButton);
    ASSERT_EQ(fresh.photoList.Count(), 1u);
    EXPECT_EQ(fresh.photoList[0].duration, 830'000'000);
    EXPECT_EQ(fresh.photoList[0].transitionType, 3);
    EXPECT_EQ(fresh.GetDlgItemText(IDC_STATIC_TOTAL_DURATION), "00:00:00 / 00:01:23");
    EXPECT_NEAR(fresh.syncState.videoDuration, 839'000'000, 1);
    EXPECT_EQ(fresh.musicEnd, 830'000'000);
}

// A first run (nothing stored) keeps the video's own rate; a stored fixed rate is kept.
TEST_F(OpenVideoTest, TheSourceFrameRateReplacesTheOutputRateOnlyForIndexZero) {
    CVellumDlg original;
    scope.prompts.fileAnswers = {QString::fromStdString(testsupport::PlainClip(640, 480, 25, 2))};
    QTest::mouseClick(original.GetDlgItem(IDC_BUTTON_ADD_VIDEO), Qt::LeftButton);
    EXPECT_EQ(original.output.frameRateIndex, 0);
    EXPECT_DOUBLE_EQ(original.output.outputFrameRate, 25.0);

    settings::Profile().WriteProfileInt("Settings", "OutputFrameRateIndex", 2);
    CVellumDlg fixed;
    scope.prompts.fileAnswers = {QString::fromStdString(testsupport::PlainClip(640, 480, 25, 2))};
    QTest::mouseClick(fixed.GetDlgItem(IDC_BUTTON_ADD_VIDEO), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(fixed.output.outputFrameRate, 24.0);
}

TEST_F(OpenVideoTest, FilesThatCannotBeOpenedLeaveTheCurrentVideoAlone) {
    Open(testsupport::Clip(ClipKind::H264Aac));
    dlg.videoPlayer->currentPosition = 2 * S;
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_ADD_SYNC_POINT), Qt::LeftButton);
    // Saved, so an open asks nothing before it tries.
    scope.prompts.fileAnswers = {testsupport::TemporaryFolder() + "/point.ini"};
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_SAVE_SYNC_LIST), Qt::LeftButton);
    preview::CVcdCore* player = dlg.videoPlayer.get();

    // One message each, naming the file and what is wrong with it.
    const QString kNotOpen = "\n\nCannot open the file. You need to install appropriate decoders. "
                             "Or the file is corrupt.";
    const QString missing = testsupport::TemporaryFolder() + "/gone.mp4";
    const QString sound = QString::fromStdString(testsupport::Clip(ClipKind::SoundOnly));
    const std::pair<QString, QString> cases[] = {
        {QString::fromStdString(testsupport::NonMediaFile()), kNotOpen},
        {QString::fromStdString(testsupport::TruncatedClip()), kNotOpen},
        {missing, "The file " + missing + " does not exist."},
        {sound, "The file " + sound + " holds sound but no picture."},
    };
    for (const auto& [bad, says] : cases) {
        scope.prompts.messages.clear();
        Open(bad.toStdString());
        ASSERT_EQ(scope.prompts.messages.size(), 1u) << bad.toStdString();
        EXPECT_TRUE(scope.prompts.messages[0].text.contains(bad + says) ||
                    scope.prompts.messages[0].text.startsWith(says))
            << scope.prompts.messages[0].text.toStdString();
        EXPECT_EQ(scope.prompts.messages[0].caption, "Error");
    }

    // The video, its players and its point are still there.
    EXPECT_EQ(dlg.videoPlayer.get(), player);
    EXPECT_EQ(dlg.photoList.Count(), 1u);
    EXPECT_EQ(dlg.syncState.syncCount, 1);
}

TEST_F(OpenVideoTest, AVideoWithoutSoundHasNoSoundLengthAndPreviewsItsPictureInSilence) {
    testsupport::RunModal(dlg, [&] {
        Open(testsupport::Clip(ClipKind::H264Aac));
        ASSERT_GT(dlg.syncState.audioDuration, 0);
        const std::string path = testsupport::Clip(ClipKind::PictureOnly);
        scope.prompts.messages.clear();
        Open(path);
        // The video opens without a word about the sound it does not have.
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        ASSERT_TRUE(dlg.videoPlayer && dlg.audioPlayer);
        EXPECT_EQ(dlg.audioPlayer->noVideo, 1);
        EXPECT_EQ(dlg.syncState.audioDuration, 0);
        EXPECT_EQ(dlg.syncState.audioEnd, 0);
        EXPECT_NEAR(dlg.syncState.videoDuration, testsupport::kClipSeconds * S, S / 10);
        EXPECT_EQ(dlg.syncState.outputDuration, dlg.syncState.videoDuration);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_DURATION), "0.0000000");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_END), "0.0000000");
        // The players' next tick says there is no sound (the previous video's text stays until
        // then).
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return dlg.GetDlgItemText(IDC_EDIT_AUDIO_POSITION) == "Audio: none"; }, 3000))
            << dlg.GetDlgItemText(IDC_EDIT_AUDIO_POSITION).toStdString();

        scope.prompts.messages.clear();
        QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_PREVIEW_VIDEO), Qt::LeftButton);
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        ASSERT_EQ(dlg.previewRunning, 1);
        ASSERT_TRUE(dlg.resultPlayer);
        EXPECT_EQ(dlg.resultPlayer->playState, preview::Running);
        dlg.resultPlayer->PollPosition();
        EXPECT_NEAR(dlg.resultPlayer->stopPosition, dlg.syncState.videoDuration, S / 10);
        QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_PREVIEW_VIDEO), Qt::LeftButton);
        EXPECT_EQ(dlg.previewRunning, 0);
    });
}
