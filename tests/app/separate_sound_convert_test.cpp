// Convert with a separate sound, from the main window run as the program runs it: the points
// found automatically, the times calculated from them, and in the written file every click of
// the separate recording on its flash. The video's own sound has no clicks, so a file composed
// from it, or from the recording without the points, fails the check.
#include "align/flashing_dual_recording.h"
#include "app/point_proposals_dialog.h"
#include "resources/resource.h"
#include "sound_menu_fixture.h"
#include "support/drift_fixtures.h"
#include "support/modal_run.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Uncompressed sound keeps a click's edge to the sample; the points are known to a tenth of
// a millisecond.
constexpr double kPointTolerance = 1e-4;

class SeparateSoundConvertTest : public SoundMenuFixture {};

} // namespace

TEST_F(SeparateSoundConvertTest, EveryClickOfTheSeparateSoundFallsOnItsFlash) {
    const aligntest::FlashingDualRecording& truth = aligntest::MakeFlashingDualRecording();
    testsupport::RunModal(dlg, [&] {
        OpenVideo(truth.videoPath);
        ASSERT_TRUE(OpenSeparateSound(truth.recorderPath));
        QTimer addAll;
        QObject::connect(&addAll, &QTimer::timeout, [] {
            if (auto* proposals =
                    qobject_cast<PointProposalsDialog*>(QApplication::activeModalWidget()))
                proposals->AddAllButton()->click();
        });
        addAll.start(10);
        ASSERT_TRUE(Pick(IDM_FIND_POINTS));
        addAll.stop();
        ASSERT_GE(dlg.syncState.syncCount, 3);
        Click(IDC_BUTTON_CALCULATE_START_SYNC);
        Click(IDC_BUTTON_CALCULATE_END_SYNC);
        ASSERT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();

        // Uncompressed AVI at the source's own frame rate, so every flash keeps its frame's time.
        dlg.output.outputFileName = testsupport::TemporaryFolder() + "/separate.avi";
        dlg.output.outputFormat = 0;
        dlg.output.frameRateIndex = 0;
        dlg.output.outputFrameRate = truth.fps;
        dlg.videoCompressor.reset();
        dlg.audioCompressor.reset();
        dlg.output.useVideoCompressor = 0;
        dlg.output.useAudioCompressor = 0;
        Click(IDC_BUTTON_CONVERT);
        // Uncompressed picture: only the question about its size, answered Yes.
        for (const auto& message : scope.prompts.messages)
            EXPECT_TRUE(message.text.startsWith("You do not select a video compressor"))
                << message.text.toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.converting == 0; }, 120000));
        const double tolerance = kPointTolerance + truth.clickRounding + 1.0 / 44100;
        EXPECT_NEAR(testsupport::ExpectClicksOnFlashes(dlg.output.outputFileName.toStdString(),
                                                       truth.flashTimes, truth.fps, "separate.avi",
                                                       tolerance),
                    0, 0.1);
    });
}
