// quillet-convert run as a user runs it: a drifting clip and its synchronization list in,
// a file whose every click falls on its flash out; the times --calculate derives; and a
// non-zero exit with a readable reason for each thing that can be wrong.
#include "convert_command.h"
#include "media/probe.h"
#include "support/drift_fixtures.h"
#include "support/small_file_system.h"
#include "support/test_environment.h"
#include "sync/sync_list_file.h"
#include "sync/time_text.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kOffset = 0.3;
constexpr double kDrift = 0.01;

using clitest::Result;

class ConvertCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = testsupport::TemporaryFolder();
        settingsRoot = testsupport::TemporaryFolder();
    }

    Result Run(const QStringList& arguments) { return clitest::RunConvert(settingsRoot, arguments); }

    // A synchronization list of the clip, with one point half a second before each flash
    // (so every click lies inside a resampled stretch).
    QString SyncList(const testsupport::DriftingClip& clip) {
        return clitest::PointsBeforeFlashes(folder + "/points.ini", clip, kOffset, kDrift);
    }

    QString Probe(const QString& file, const QString& entries) {
        return clitest::Probe(file, entries);
    }

    QString folder;
    QString settingsRoot;
};

const testsupport::DriftingClip& Clip() {
    static const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(12, 25, {1.0, 4.0, 7.0, 10.0}, kOffset, kDrift);
    return clip;
}

} // namespace

TEST_F(ConvertCommandTest, UncompressedAviHasEveryClickOnItsFlash) {
    const testsupport::DriftingClip& clip = Clip();
    const QString output = folder + "/sync.avi";
    const Result result = Run({QString::fromStdString(clip.path), "--sync-list", SyncList(clip),
                               "--calculate", "--format", "avi", "--video-encoder", "none",
                               "--audio-encoder", "none", "--frame-rate", "25", "-o", output});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.errors.contains("Done. Output file: " + output));
    EXPECT_EQ(Probe(output, "stream=codec_type,codec_name"), "rawvideo,video\npcm_s16le,audio");

    int rate = 0;
    const std::vector<double> flashes = testsupport::FlashTimes(output.toStdString());
    const std::vector<double> clicks = testsupport::ClickTimes(output.toStdString(), &rate);
    ASSERT_EQ(flashes.size(), clip.flashTimes.size());
    ASSERT_EQ(clicks.size(), clip.flashTimes.size());
    for (std::size_t i = 0; i < flashes.size(); ++i) {
        EXPECT_NEAR(flashes[i], clip.flashTimes[i], 0.5 / clip.fps) << "flash " << i;
        EXPECT_NEAR(clicks[i], flashes[i], 1.0 / rate) << "click " << i;
    }
}

// Two points whose line puts the sound's start before 0: Calculate start moves the video
// start forward, Calculate end extends the line to the end.
// AVI keeps no showing times, so an encoder that reorders pictures (H.264 with B-frames)
// would have them shown late by its reordering: into AVI they are coded in showing order.
TEST_F(ConvertCommandTest, AnAviOfH264HasEveryClickOnItsFlash) {
    const testsupport::DriftingClip& clip = Clip();
    const QString output = folder + "/sync_h264.avi";
    const Result result = Run({QString::fromStdString(clip.path), "--sync-list", SyncList(clip),
                               "--calculate", "--format", "avi", "--video-encoder", "libx264",
                               "--audio-encoder", "none", "--frame-rate", "25", "-o", output});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(Probe(output, "stream=has_b_frames").section('\n', 0, 0), "0");
    int rate = 0;
    const std::vector<double> flashes = testsupport::FlashTimes(output.toStdString());
    const std::vector<double> clicks = testsupport::ClickTimes(output.toStdString(), &rate);
    ASSERT_EQ(flashes.size(), clip.flashTimes.size());
    ASSERT_EQ(clicks.size(), clip.flashTimes.size());
    for (std::size_t i = 0; i < flashes.size(); ++i)
        EXPECT_NEAR(clicks[i], flashes[i], 1.0 / rate + 1e-9) << "click " << i;
}

TEST_F(ConvertCommandTest, CalculateDerivesTheTimesTheMainWindowCalculates) {
    const testsupport::DriftingClip& clip = Clip();
    const std::vector<avsync::SyncPoint> points = {{2 * UNITS, 1 * UNITS + UNITS / 2},
                                                   {9 * UNITS, 8 * UNITS + UNITS * 6 / 10}};
    const QString list = folder + "/two.ini";
    ASSERT_TRUE(avsync::SaveSyncList(list.toStdString(), "", points));

    // The main window: the stream lengths at opening, then Calculate start and Calculate end.
    avsync::SyncState window;
    media::StreamDuration(nullptr, clip.path, media::Stream::Audio, window.audioDuration);
    media::StreamDuration(nullptr, clip.path, media::Stream::Video, window.videoDuration);
    window.ResetForNewVideo();
    window.ReplacePoints(points);
    ASSERT_TRUE(window.CalculateStart(window.Times()));
    ASSERT_TRUE(window.CalculateEnd({window.videoStart, window.videoEnd, window.audioStart,
                                     window.audioEnd, window.outputDuration}));
    ASSERT_GT(window.videoStart, 0);

    const Result result = Run({QString::fromStdString(clip.path), "--sync-list", list,
                               "--calculate", "--format", "avi", "--video-encoder", "none",
                               "--audio-encoder", "none", "-o", folder + "/two.avi"});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    const auto text = [](REFERENCE_TIME t) {
        return QString::fromStdString(avsync::TimeToText(t));
    };
    EXPECT_TRUE(
        result.errors.contains(QStringLiteral("2 points; video %1 to %2 s, audio %3 to %4 s")
                                   .arg(text(window.videoStart), text(window.videoEnd),
                                        text(window.audioStart), text(window.audioEnd))))
        << result.errors.toStdString();
}

TEST_F(ConvertCommandTest, EachFailureExitsNonZeroSayingWhy) {
    const QString input = QString::fromStdString(Clip().path);
    const QString output = folder + "/out.avi";

    Result result = Run({input, "--video-encoder", "nosuchcodec", "--format", "avi", "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("No video compressor has \"nosuchcodec\" in its name."))
        << result.errors.toStdString();

    // A container refuses a compressor before anything is written.
    result = Run({input, "--format", "custom", "--muxer", "mp4 mux", "--video-encoder", "libx264",
                  "--audio-encoder", "microsoft adpcm", "-o", folder + "/out.mp4"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("The muxer \"mp4 Mux\" cannot hold the audio compressor "
                                       "\"Microsoft ADPCM\"."))
        << result.errors.toStdString();
    EXPECT_FALSE(QFile::exists(folder + "/out.mp4"));

    result = Run({folder + "/missing.mkv", "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("Can not read the input file " + folder +
                                       "/missing.mkv: it does not exist."))
        << result.errors.toStdString();

    result = Run({input, "--format", "avi", "-o", folder + "/no-such-folder/out.avi"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("the folder " + folder + "/no-such-folder does not exist"))
        << result.errors.toStdString();

    // An existing file is kept unless --overwrite is given.
    testsupport::WriteFileBytes(output.toStdString(), "mine");
    result = Run({input, "--format", "avi", "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("Give --overwrite")) << result.errors.toStdString();
    EXPECT_EQ(testsupport::ReadFileBytes(output.toStdString()), "mine");

    for (const QStringList& arguments :
         {QStringList{input}, QStringList{input, "-o", output, "--size", "big"},
          QStringList{input, "-o", output, "--calculate"}}) {
        result = Run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.errors.contains("See quillet-convert --help."));
    }
    EXPECT_TRUE(result.errors.contains("--calculate needs the points of a --sync-list."));
}

// --overwrite onto a disk that fills up: the run fails saying why, and the file it was to
// replace is still whole, with no partial file beside it.
TEST_F(ConvertCommandTest, AFailedRunKeepsTheFileItWasToReplace) {
    testsupport::SmallFileSystem disk(512);
    if (!disk.Mounted())
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    const QString output = disk.Path() + "/out.avi";
    const std::string mine(300'000, 'm');
    testsupport::WriteFileBytes(output.toStdString(), mine);
    const Result result = Run({QString::fromStdString(Clip().path), "--format", "avi",
                               "--video-encoder", "none", "--overwrite", "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("The conversion stopped: There is not enough space on the "
                                       "disk."))
        << result.errors.toStdString();
    EXPECT_EQ(testsupport::ReadFileBytes(output.toStdString()), mine);
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files), QStringList{"out.avi"});
}

TEST_F(ConvertCommandTest, HelpListsEveryOption) {
    QProcess process;
    process.start(QUILLET_CONVERT, {"--help"});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    const QString help = QString::fromUtf8(process.readAllStandardOutput());
    for (const char* option :
         {"--sync-list", "--video-start", "--video-end", "--audio-start", "--audio-end",
          "--calculate", "--overwrite", "--format", "--video-encoder", "--audio-encoder", "--muxer",
          "--size", "--frame-rate", "--video-bitrate", "--audio-bitrate", "Exit status"})
        EXPECT_TRUE(help.contains(option)) << option;
}
