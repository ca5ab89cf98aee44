// quillet-convert with a separate sound: --auto-points finds the points on dual-system
// material with a known map, prints them and the drift, and writes a file in which every click
// of the separate recording falls on its flash; each wrong use exits non-zero saying why.
#include "align/flashing_dual_recording.h"
#include "convert_command.h"
#include "support/drift_fixtures.h"
#include "support/test_environment.h"
#include "sync/time_text.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using clitest::Result;

constexpr double kPointTolerance = 1e-4; // seconds

class SeparateSoundCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = testsupport::TemporaryFolder();
        settingsRoot = testsupport::TemporaryFolder();
    }
    Result Run(const QStringList& arguments) {
        return clitest::RunConvert(settingsRoot, arguments);
    }

    const aligntest::FlashingDualRecording& truth = aligntest::MakeFlashingDualRecording();
    QString folder;
    QString settingsRoot;
};

QString Path(const std::string& path) {
    return QString::fromStdString(path);
}

} // namespace

TEST_F(SeparateSoundCommandTest, AutoPointsPrintsThePointsAndTheDriftAndConvertsInSync) {
    const QString output = folder + "/separate.avi";
    const Result result =
        Run({Path(truth.videoPath), "--separate-sound", Path(truth.recorderPath), "--auto-points",
             "--format", "avi", "--video-encoder", "none", "--audio-encoder", "none",
             "--frame-rate", QString::number(truth.fps), "-o", output});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();

    // "  video  sound  confidence" lines, each on the true map.
    const QRegularExpression pointLine("^  (-?[0-9.]+)  (-?[0-9.]+)  ([0-9.]+)$",
                                       QRegularExpression::MultilineOption);
    int points = 0;
    for (auto match = pointLine.globalMatch(result.output); match.hasNext(); ++points) {
        const QRegularExpressionMatch point = match.next();
        const double video = point.captured(1).toDouble();
        EXPECT_NEAR(point.captured(2).toDouble(), truth.RecordingAt(video), kPointTolerance)
            << "at video " << video;
    }
    EXPECT_GE(points, 3) << result.output.toStdString();
    EXPECT_TRUE(result.output.startsWith(QString("Points found: %1 ").arg(points)))
        << result.output.toStdString();
    const QRegularExpressionMatch drift =
        QRegularExpression("Drift: (-?[0-9.]+) ppm, offset: (-?[0-9.]+) s").match(result.output);
    ASSERT_TRUE(drift.hasMatch()) << result.output.toStdString();
    EXPECT_NEAR(drift.captured(1).toDouble(), truth.driftPpm, 1.0);
    EXPECT_NEAR(drift.captured(2).toDouble(), truth.offset, kPointTolerance);
    EXPECT_TRUE(result.errors.contains(QString("%1 points;").arg(points)))
        << result.errors.toStdString();

    const double tolerance = kPointTolerance + truth.clickRounding + 1.0 / 44100;
    EXPECT_NEAR(testsupport::ExpectClicksOnFlashes(output.toStdString(), truth.flashTimes,
                                                   truth.fps, "separate.avi", tolerance),
                0, 0.1);
}

TEST_F(SeparateSoundCommandTest, EachWrongUseExitsNonZeroSayingWhy) {
    const QString input = Path(truth.videoPath);
    const QString output = folder + "/out.avi";

    const QString list = folder + "/points.ini";
    Result result = Run({input, "--separate-sound", Path(truth.recorderPath), "--auto-points",
                         "--sync-list", list, "-o", output});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.errors.contains("give either --auto-points or --sync-list"))
        << result.errors.toStdString();

    result =
        Run({input, "--separate-sound", folder + "/missing.wav", "--format", "avi", "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("Can not use " + folder +
                                       "/missing.wav as the separate sound: it does not exist."))
        << result.errors.toStdString();

    result = Run({input, "--separate-sound", Path(aligntest::UnrelatedShortRecording()),
                  "--auto-points", "--format", "avi", "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("No points found: ")) << result.errors.toStdString();
    EXPECT_TRUE(result.errors.contains("does not match")) << result.errors.toStdString();
    EXPECT_TRUE(result.output.isEmpty()) << result.output.toStdString();
    EXPECT_FALSE(QFile::exists(output));
}
