// Whatever the user does with the transport, in whatever order and however fast, the sound
// then plays at its own pace and the two read-outs move together. Drives random runs of the
// transport commands on a clip that clicks once a second, then listens to the test sound
// server. Needs the null sink that scripts/test.sh starts.
#include "app/vellum_dlg.h"
#include "controls/bitmap_slider.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/sound_capture.h"
#include "support/test_environment.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

constexpr int kClipLength = 12;
constexpr double kListenSeconds = 3.2;

class TransportPaceTest : public ::testing::TestWithParam<unsigned> {
  protected:
    void SetUp() override { testsupport::UseTemporarySettings(); }
    void Click(int id) { QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton); }
    void ReleaseSeekBarAt(int position) {
        auto* bar = dlg.Item<CBitmapSlider>(IDC_SLIDER_POSITION);
        bar->setValue(position);
        emit bar->releasedCapture();
    }
    double ReadOut(int id) { return dlg.GetDlgItemText(id).section(':', 1).toDouble(); }

    // One command of the transport, chosen at random: plays, pauses, stops, skips past either
    // end, moves the sound against the picture, seeks.
    void RandomCommand(std::mt19937& random) {
        static const int kButtons[] = {IDC_BUTTON_PLAY,
                                       IDC_BUTTON_PAUSE,
                                       IDC_BUTTON_STOP,
                                       IDC_BUTTON_JUMP_FORWARD,
                                       IDC_BUTTON_JUMP_BACKWARD,
                                       IDC_BUTTON_AUDIO_JUMP_FORWARD,
                                       IDC_BUTTON_AUDIO_VIDEO_RESTORE,
                                       IDC_BUTTON_AUDIO_JUMP_BACKWARD};
        const int pick = static_cast<int>(random() % (std::size(kButtons) + 1));
        if (pick == static_cast<int>(std::size(kButtons)))
            ReleaseSeekBarAt(static_cast<int>(random() % 601));
        else
            Click(kButtons[pick]);
        QTest::qWait(static_cast<int>(random() % 150));
    }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};

} // namespace

TEST_P(TransportPaceTest, SoundKeepsItsPaceAndTheReadOutsMoveTogether) {
    const QString sink = testsupport::TestSoundSink();
    if (sink.isEmpty())
        GTEST_SKIP() << "no test sound server (scripts/test.sh starts one)";
    testsupport::RunModal(dlg, [&] {
        scope.prompts.fileAnswers = {
            QString::fromStdString(testsupport::MetronomeClip(kClipLength))};
        Click(IDC_BUTTON_ADD_VIDEO);
        ASSERT_TRUE(dlg.audioPlayer);
        QTest::qWait(1500);
        testsupport::SoundCapture capture(sink);
        ASSERT_TRUE(capture.WaitUntilStarted()) << "parec recorded nothing";

        std::mt19937 random(GetParam());
        for (int i = 0; i < 25; ++i)
            RandomCommand(random);

        // Sound and picture together again, playing from the second second.
        Click(IDC_BUTTON_AUDIO_VIDEO_RESTORE);
        Click(IDC_BUTTON_PLAY);
        ReleaseSeekBarAt(100);
        QTest::qWait(300);
        const long from = capture.Frames();
        const double video0 = ReadOut(IDC_EDIT_VIDEO_POSITION);
        const double audio0 = ReadOut(IDC_EDIT_AUDIO_POSITION);
        QTest::qWait(static_cast<int>(kListenSeconds * 1000));
        const double video = ReadOut(IDC_EDIT_VIDEO_POSITION) - video0;
        const double audio = ReadOut(IDC_EDIT_AUDIO_POSITION) - audio0;
        EXPECT_NEAR(video, kListenSeconds, 0.3);
        EXPECT_NEAR(audio, video, 0.25) << "video moved " << video << " s, audio " << audio;

        // The beat, as heard: a click a second, each as short as it was recorded.
        const int rate = testsupport::kClipSampleRate;
        std::vector<long> clicks;
        for (long at = testsupport::FindClick(capture.Samples(), from); at >= 0;
             at = testsupport::FindClick(capture.Samples(), at + rate / 2))
            clicks.push_back(at);
        ASSERT_GE(clicks.size(), 2u) << "the beat was not heard";
        for (std::size_t i = 1; i < clicks.size(); ++i)
            EXPECT_NEAR(double(clicks[i] - clicks[i - 1]) / rate, 1.0, 0.03)
                << "between clicks " << i - 1 << " and " << i;
        const std::vector<std::int16_t>& heard = capture.Samples();
        for (long click : clicks) {
            long loud = 0;
            for (long at = click; at < click + rate / 100 && at * 2 < long(heard.size()); ++at)
                loud += std::abs(heard[at * 2]) >= 16000;
            EXPECT_LE(loud, rate * 3 / 2000) << "a click of 1 ms lasted " << loud << " samples";
        }
        std::printf("seed %u: %zu clicks heard, read-outs moved %.1f s and %.1f s\n", GetParam(),
                    clicks.size(), video, audio);
    });
}

INSTANTIATE_TEST_SUITE_P(Seeds, TransportPaceTest, ::testing::Values(1u, 2u, 3u));
