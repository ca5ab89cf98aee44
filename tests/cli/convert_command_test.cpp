// quillet-convert run as a user runs it: a drifting clip and its synchronization list in,
// a file whose every click falls on its flash out; the times --calculate derives; and a
// non-zero exit with a readable reason for each thing that can be wrong.
#include "convert_command.h"
#include "media/probe.h"
#include "support/drift_fixtures.h"
#include "support/media_fixtures.h"
#include "support/small_file_system.h"
#include "support/test_environment.h"
#include "sync/composed_times.h"
#include "sync/sync_list_file.h"
#include "sync/time_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <tuple>

namespace {

constexpr double kOffset = 0.3;
constexpr double kDrift = 0.01;
constexpr double kComposedSampleRate = 44100; // the composition's sound

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

// Resampled, the sound between the points runs 1 % fast and its 440 Hz tone is 17 cents
// sharp; with --keep-pitch it keeps its pitch, and every click still falls on its flash.
TEST_F(ConvertCommandTest, UncompressedAviHasEveryClickOnItsFlash) {
    const testsupport::DriftingClip& clip = Clip();
    for (const auto& [name, keepPitch, tolerance] :
         {std::tuple{"sync.avi", false, 1.0 / 44100}, {"pitch.avi", true, 0.001}}) {
        const QString output = folder + "/" + name;
        QStringList arguments{QString::fromStdString(clip.path),
                              "--sync-list",
                              SyncList(clip),
                              "--calculate",
                              "--format",
                              "avi",
                              "--video-encoder",
                              "none",
                              "--audio-encoder",
                              "none",
                              "--frame-rate",
                              "25",
                              "-o",
                              output};
        if (keepPitch)
            arguments << "--keep-pitch";
        const Result result = Run(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        EXPECT_TRUE(result.errors.contains("Done. Output file: " + output));
        EXPECT_EQ(Probe(output, "stream=codec_type,codec_name"), "rawvideo,video\npcm_s16le,audio");
        testsupport::ExpectClicksOnFlashes(output.toStdString(), clip.flashTimes, clip.fps, name,
                                           tolerance);

        int rate = 0;
        const std::vector<std::int16_t> sound =
            testsupport::PresentedSound(output.toStdString(), &rate);
        const double frequency =
            testsupport::ToneFrequency(sound, rate, rate * 3 / 2, rate * 7 / 2);
        EXPECT_NEAR(1200 * std::log2(frequency / 440), keepPitch ? 0 : 1200 * std::log2(1 + kDrift),
                    0.5)
            << name;
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

// Without a separate sound, --auto-points pairs the clip's clicks with its flashes.
TEST_F(ConvertCommandTest, AutoPointsFromTheClipsOwnEventsConvertInSync) {
    const testsupport::DriftingClip& clip = Clip();
    const QString output = folder + "/events.avi";
    const Result result =
        Run({QString::fromStdString(clip.path), "--auto-points", "--format", "avi",
             "--video-encoder", "none", "--audio-encoder", "none", "-o", output});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.output.startsWith("Points found: 2 (video s, sound s, confidence)"))
        << result.output.toStdString();
    const QRegularExpression pointLine("^  ([0-9.]+)  ([0-9.]+)  ([0-9.]+)$",
                                       QRegularExpression::MultilineOption);
    for (auto match = pointLine.globalMatch(result.output); match.hasNext();) {
        const QRegularExpressionMatch point = match.next();
        const double video = point.captured(1).toDouble();
        EXPECT_NEAR(point.captured(2).toDouble(), kOffset + video * (1 + kDrift), 1e-4);
    }
    EXPECT_NEAR(testsupport::ExpectClicksOnFlashes(output.toStdString(), clip.flashTimes, 25,
                                                   "events.avi", 1e-4 + 1.0 / kComposedSampleRate),
                0, 0.1);
}

TEST_F(ConvertCommandTest, CalculateDerivesTheTimesTheMainWindowCalculates) {
    const testsupport::DriftingClip& clip = Clip();
    const std::vector<avsync::SyncPoint> points = {{2 * UNITS, 1 * UNITS + UNITS / 2},
                                                   {9 * UNITS, 8 * UNITS + UNITS * 6 / 10}};
    const QString list = folder + "/two.ini";
    ASSERT_TRUE(avsync::SaveSyncList(list.toStdString(), "", points));

    // The main window: the stream lengths at opening, then Calculate start and Calculate end.
    avsync::SyncState window;
    media::StreamDurations(nullptr, clip.path, window.videoDuration, window.audioDuration);
    window.ResetForNewVideo();
    window.ReplacePoints(points);
    ASSERT_TRUE(window.CalculateStart(window.Times()));
    ASSERT_TRUE(window.CalculateEnd({window.videoStart, window.videoEnd, window.audioStart,
                                     window.audioEnd, window.outputDuration}));
    ASSERT_GT(window.videoStart, 0);
    // Written from the first frame at or after that start, the audio start moved along the map.
    constexpr REFERENCE_TIME kFrame = UNITS / 25;
    const avsync::SyncState written =
        avsync::TimesOnFrame(window, (window.videoStart + kFrame - 1) / kFrame * kFrame);
    ASSERT_NE(written.videoStart, window.videoStart);

    const Result result = Run({QString::fromStdString(clip.path), "--sync-list", list,
                               "--calculate", "--format", "avi", "--video-encoder", "none",
                               "--audio-encoder", "none", "-o", folder + "/two.avi"});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    const auto text = [](REFERENCE_TIME t) {
        return QString::fromStdString(avsync::TimeToText(t));
    };
    EXPECT_TRUE(
        result.errors.contains(QStringLiteral("2 points; video %1 to %2 s, audio %3 to %4 s, output %5 s.")
                                   .arg(text(written.videoStart), text(written.videoEnd),
                                        text(written.audioStart), text(written.audioEnd),
                                        text(written.videoEnd - written.videoStart))))
        << result.errors.toStdString();
}

TEST_F(ConvertCommandTest, EachFailureExitsNonZeroSayingWhy) {
    const QString input = QString::fromStdString(Clip().path);
    const QString output = folder + "/out.avi";

    Result result = Run({input, "--video-encoder", "nosuchcodec", "--format", "avi", "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("No video compressor has \"nosuchcodec\" in its name; "
                                       "quillet-convert --list shows the names."))
        << result.errors.toStdString();

    // A container refuses a compressor before anything is written.
    result = Run({input, "--format", "custom", "--muxer", "mp4 mux", "--video-encoder", "libx264",
                  "--audio-encoder", "microsoft adpcm", "-o", folder + "/out.mp4"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("The muxer \"mp4 Mux\" cannot hold the audio compressor "
                                       "\"Microsoft ADPCM\"."))
        << result.errors.toStdString();
    EXPECT_TRUE(result.errors.contains("Name another compressor with --audio-encoder, or another "
                                       "muxer with --muxer"))
        << result.errors.toStdString();
    EXPECT_FALSE(QFile::exists(folder + "/out.mp4"));

    result = Run({folder + "/missing.mkv", "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("Can not read the input file " + folder +
                                       "/missing.mkv: it does not exist."))
        << result.errors.toStdString();

    // Named by the file, not as missing decoders.
    const QString sound =
        QString::fromStdString(testsupport::Clip(testsupport::ClipKind::SoundOnly));
    result = Run({sound, "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("The file " + sound + " holds sound but no picture."))
        << result.errors.toStdString();
    EXPECT_TRUE(result.errors.contains("--separate-sound FILE")) << result.errors.toStdString();
    EXPECT_FALSE(result.errors.contains("IDS_")) << result.errors.toStdString();

    // An existing file is kept unless --overwrite is given.
    testsupport::WriteFileBytes(output.toStdString(), "mine");
    result = Run({input, "--format", "avi", "-o", output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("Give --overwrite")) << result.errors.toStdString();
    EXPECT_EQ(testsupport::ReadFileBytes(output.toStdString()), "mine");

    // Wrong use.
    for (const auto& [arguments, why] :
         {std::pair{QStringList{input}, "No output file given (-o)."},
          std::pair{QStringList{input, "-o", output, "--size", "big"},
                    "--size: \"big\" is not a valid value."},
          std::pair{QStringList{input, "-o", output, "--calculate"},
                    "--calculate needs the points of a --sync-list."},
          std::pair{
              QStringList{input, "-o", output, "--separate-sound", "a", "--separate-sound", "b"},
              "--separate-sound is given more than once."}}) {
        result = Run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.errors.contains(QString(why) + " See quillet-convert --help."))
            << result.errors.toStdString();
    }
}

// An output that cannot be written is refused naming it and the reason: its folder, checked
// before anything is read, the encoder's own words when it refuses its stored settings, or
// why the writer could not open the file (here where it writes first, a link to nowhere).
// Nothing is written.
TEST_F(ConvertCommandTest, AnOutputThatCannotBeWrittenIsNamedWithItsReason) {
    testsupport::WriteFileBytes((folder + "/plain.txt").toStdString(), "mine");
    QDir(folder).mkdir("a-folder");
    QFile::link(folder + "/no-such-folder/x", folder + "/unopened.avi.partial");
    QDir().mkpath(settingsRoot + "/Morvane");
    testsupport::WriteFileBytes((settingsRoot + "/Morvane/quillet.conf").toStdString(),
                                "[CodecSettings]\nmpeg4=qmin=20:qmax=10\n");
    struct Case {
        const char* name;
        const char* videoEncoder; // divx refuses the stored settings
        QString reason;           // after the output's name
    };
    for (const Case& c :
         {Case{"no-such-folder/out.avi", "none",
               ": the folder " + folder + "/no-such-folder does not exist."},
          Case{"plain.txt/out.avi", "none", ": " + folder + "/plain.txt is a file, not a folder."},
          Case{"a-folder", "none", ": it is a folder. Give the output a file name."},
          Case{"refused.avi", "divx",
               " could not be written: mpeg4: qmin and or qmax are invalid, they must be 0 < min "
               "<= max"},
          Case{"unopened.avi", "none",
               " could not be written: The system cannot find the file specified."}}) {
        const QString output = folder + "/" + c.name;
        const Result result =
            Run({QString::fromStdString(Clip().path), "--format", "avi", "--video-encoder",
                 c.videoEncoder, "--audio-encoder", "none", "-o", output});
        EXPECT_EQ(result.exitCode, 1) << c.name;
        EXPECT_TRUE(result.errors.contains(output + c.reason)) << result.errors.toStdString();
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"plain.txt"});
}

// Ctrl-C in the middle of the file stops as the Stop button does: the file keeps what was
// written under its own name, and plays; the program says when it stopped and exits 130.
TEST_F(ConvertCommandTest, CtrlCStopsMidFileLeavingAPlayableFile) {
    const QString output = folder + "/stopped.avi";
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", settingsRoot);
    process.setProcessEnvironment(environment);
    process.start(QUILLET_CONVERT,
                  {QString::fromStdString(testsupport::PlainClip(640, 480, 25, 60)), "--format",
                   "avi", "--video-encoder", "divx", "--audio-encoder", "none", "-o", output});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFileInfo(output + ".partial").size() > 100'000; }, 60000));
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QRegularExpression(
        "Stopped at [0-9.]+ s of the output\\.     The output file " +
        QRegularExpression::escape(output) + " holds what was written up to then\\.")))
        << errors.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"stopped.avi"});
    const double seconds = Probe(output, "format=duration").toDouble();
    EXPECT_GT(seconds, 0);
    EXPECT_LT(seconds, 60);
    QProcess decode;
    decode.start("ffmpeg", {"-v", "error", "-i", output, "-f", "null", "-"});
    ASSERT_TRUE(decode.waitForFinished(60000));
    EXPECT_EQ(decode.exitCode(), 0);
    EXPECT_EQ(decode.readAllStandardError(), "");
}

// FFmpeg's own lines (here the H.264 encoder's statistics) reach standard error only with
// --verbose.
TEST_F(ConvertCommandTest, TheLibrarysLinesShowOnlyWhenVerbose) {
    for (const auto& [verbose, shown] :
         {std::pair{QStringList{}, false}, std::pair{QStringList{"--verbose"}, true}}) {
        const Result result =
            Run(QStringList{QString::fromStdString(Clip().path), "--video-encoder", "libx264",
                            "--audio-encoder", "none", "--overwrite", "-o", folder + "/log.mkv"} +
                verbose);
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        EXPECT_EQ(result.errors.contains("[libx264 @ "), shown) << result.errors.toStdString();
    }
}

// --overwrite onto a disk that fills up: the run fails saying why and naming the file, and the
// file it was to replace is still whole, with no partial file beside it.
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
                                       "disk.\nThe conversion failed. The incomplete file was "
                                       "removed; " + output + " was not replaced."))
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
          "--size", "--frame-rate", "--video-bitrate", "--audio-bitrate", "--report", "--progress",
          "--list", "--separate-sound", "--auto-points", "--keep-pitch", "--verbose",
          "Exit status"})
        EXPECT_TRUE(help.contains(option)) << option;
}

// Without --format or --muxer the output's extension chooses the format, and without
// --frame-rate the input's own rate is kept, whatever the main window stored; an extension
// that names another format than the one asked for is refused.
TEST_F(ConvertCommandTest, TheNameChoosesTheFormatAndTheInputItsRate) {
    QDir().mkpath(settingsRoot + "/Morvane");
    testsupport::WriteFileBytes((settingsRoot + "/Morvane/quillet.conf").toStdString(),
                                "[Settings]\nnOuptputFormat=1\nOutputFrameRateIndex=2\n");
    const QString input = QString::fromStdString(Clip().path);
    struct Case {
        QStringList arguments;
        const char* name;
        const char* container;
        const char* rate;
    };
    // MP4 and QuickTime take no uncompressed sound.
    const QStringList aac{"--audio-encoder", "aac"};
    for (const Case& c :
         {Case{{"--audio-encoder", "none"}, "plain.avi", "avi", "25/1"},
          Case{{"--frame-rate", "source", "--audio-encoder", "none"}, "source.mkv", "matroska,webm",
               "25/1"},
          Case{QStringList{"--frame-rate", "29.97"} + aac, "ntsc.mp4", "mov,mp4", "30000/1001"},
          Case{QStringList{"--frame-rate", "23.976"} + aac, "film.mov", "mov,mp4", "24000/1001"}}) {
        const QString output = folder + "/" + c.name;
        const Result result =
            Run(QStringList{input, "--video-encoder", "divx", "-o", output} + c.arguments);
        ASSERT_EQ(result.exitCode, 0) << c.name << result.errors.toStdString();
        EXPECT_TRUE(Probe(output, "format=format_name").remove('"').startsWith(c.container))
            << c.name;
        EXPECT_EQ(Probe(output, "stream=avg_frame_rate").section('\n', 0, 0), c.rate) << c.name;
    }

    const Result clash = Run({input, "--format", "avi", "-o", folder + "/clash.wmv"});
    EXPECT_EQ(clash.exitCode, 1);
    EXPECT_TRUE(clash.errors.contains("Name it " + folder + "/clash.avi"))
        << clash.errors.toStdString();
    EXPECT_FALSE(QFile::exists(folder + "/clash.wmv"));
}

// Ten minutes at 30000/1001 frames a second, written at the input's own rate: every flash
// stays on its frame and every click on its flash, to the sample in AVI and to the
// container's millisecond in Matroska. The clip's clicks sit on whole samples and its frames
// do not (a frame is 1601.6 samples), so half a sample of the distance is in the material, and
// the click finder reads an onset up to a sample and a half late where the tone is low.
TEST_F(ConvertCommandTest, ALongNtscClipKeepsEveryFlashOnItsFrame) {
    std::vector<double> flashes;
    for (int i = 0; i < 20; ++i)
        flashes.push_back(15.0 + 30.0 * i);
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(600, 30000.0 / 1001, flashes, kOffset, kDrift);
    const QString list = SyncList(clip);
    struct Case {
        const char* name;
        double timeResolution;
    };
    for (const Case& c : {Case{"ntsc.avi", 0}, Case{"ntsc.mkv", 0.0005}}) {
        const QString output = folder + "/" + c.name;
        const Result result =
            Run({QString::fromStdString(clip.path), "--sync-list", list, "--calculate",
                 "--video-encoder", "divx", "--audio-encoder", "none", "-o", output});
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        testsupport::ExpectClicksOnFlashes(output.toStdString(), clip.flashTimes, clip.fps, c.name,
                                           2.0 / kComposedSampleRate + c.timeResolution);
    }
    EXPECT_EQ(Probe(folder + "/ntsc.avi", "stream=avg_frame_rate").section('\n', 0, 0),
              "30000/1001");
}

// A recording whose frames last 1/25 s and 1/30 s in turn, at the input's own rate: Matroska
// keeps every frame at its own time (to its millisecond) with its click on it; AVI, at the rate
// of the closest frames (said so), keeps every frame too, none more than half an output frame
// from its own time, and its sound is exact.
TEST_F(ConvertCommandTest, AVariableRateClipKeepsItsFramesTimes) {
    std::vector<int> frames;
    for (int i = 0; i < 16; ++i)
        frames.push_back(20 + 37 * i);
    const testsupport::DriftingClip clip =
        testsupport::MakeVariableRateClip(24, frames, kOffset, kDrift);
    const QString list = SyncList(clip);
    QString said;
    const auto convert = [&](const QString& name) {
        const QString output = folder + "/" + name;
        const Result result =
            Run({QString::fromStdString(clip.path), "--sync-list", list, "--calculate",
                 "--video-encoder", "divx", "--audio-encoder", "none", "-o", output});
        EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
        said = result.errors;
        return output.toStdString();
    };
    const double sample = 1 / kComposedSampleRate;
    testsupport::ExpectClicksOnFlashes(convert("variable.mkv"), clip.flashTimes,
                                       500 /* half a frame of it: a millisecond */, "variable.mkv",
                                       2 * sample + 0.0005);

    EXPECT_FALSE(said.contains("spaced unevenly")) << said.toStdString();

    const std::string avi = convert("variable.avi");
    const QString rateText = Probe(QString::fromStdString(avi), "stream=avg_frame_rate")
                                 .section('\n', 0, 0);
    const double rate = rateText.section('/', 0, 0).toDouble() / rateText.section('/', 1).toDouble();
    EXPECT_NEAR(rate, 1000 / 33.0, 0.01) << rateText.toStdString();
    EXPECT_TRUE(said.contains("spaced unevenly: written at 30.304 frames per second"))
        << said.toStdString();
    const std::vector<double> flashes = testsupport::FlashTimes(avi);
    const std::vector<double> clicks = testsupport::ClickTimes(avi);
    ASSERT_EQ(flashes.size(), clip.flashTimes.size());
    for (std::size_t i = 0; i < flashes.size(); ++i)
        EXPECT_LE(std::abs(flashes[i] - clip.flashTimes[i]), 0.5 / rate + 0.001) << "flash " << i;
    ASSERT_EQ(clicks.size(), clip.flashTimes.size());
    for (std::size_t i = 0; i < clicks.size(); ++i)
        EXPECT_NEAR(clicks[i], clip.flashTimes[i], 2 * sample) << "click " << i;
}

// Where the recording jumps between two points (0.14 s of sound for 3 s of picture, as when a
// recorder paused), the written sound is silent, faded out before and in after, instead of the
// 0.14 s stretched twenty times; the stretch after it plays as usual.
TEST_F(ConvertCommandTest, AJumpOfTheRecordingIsWrittenAsSilence) {
    const auto at = [](double video) { return kOffset + video * (1 + kDrift); };
    const std::vector<avsync::SyncPoint> points = {
        {2 * UNITS, std::llround(at(2) * UNITS)},
        {5 * UNITS, std::llround((at(2) + 0.14) * UNITS)},
        {8 * UNITS, std::llround((at(2) + 0.14 + 3 * (1 + kDrift)) * UNITS)}};
    const QString list = folder + "/jump.ini";
    ASSERT_TRUE(avsync::SaveSyncList(list.toStdString(), "", points));
    const QString output = folder + "/jump.avi";
    const Result result =
        Run({QString::fromStdString(Clip().path), "--sync-list", list, "--video-start", "0",
             "--video-end", "12", "--audio-start", QString::number(at(0)), "--audio-end",
             QString::number(at(2) + 0.14 + 7 * (1 + kDrift)), "--video-encoder", "divx",
             "--audio-encoder", "none", "-o", output});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();

    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-v", "error", "-i", output, "-map", "0:a", "-ac", "1", "-f", "f32le", "-"});
    ASSERT_TRUE(ffmpeg.waitForFinished(30000));
    const QByteArray pcm = ffmpeg.readAllStandardOutput();
    const auto* samples = reinterpret_cast<const float*>(pcm.constData());
    const long count = pcm.size() / static_cast<long>(sizeof(float));
    // The loudest sample between two instants (seconds of the written file).
    const auto loudest = [&](double from, double to) {
        float peak = 0;
        for (long i = std::lround(from * kComposedSampleRate);
             i < std::min(count, std::lround(to * kComposedSampleRate)); ++i)
            peak = std::max(peak, std::abs(samples[i]));
        return peak;
    };
    const double cut = 2, resume = 5;
    EXPECT_GT(loudest(cut - 0.4, cut - 0.01), 0.08);         // the tone before
    EXPECT_LT(loudest(cut - 0.0005, resume + 0.0005), 0.01); // faded out: no cut, no drone
    EXPECT_LT(loudest(resume, resume + 0.001), 0.03);        // fading in
    EXPECT_GT(loudest(resume + 0.01, resume + 0.4), 0.08);   // the tone after
}

// --list shows the short names --video-encoder, --audio-encoder and --muxer take, and those
// names pick their encoders and muxer; --progress json gives a job runner lines it can read,
// the last at the whole output.
TEST_F(ConvertCommandTest, ListedShortNamesPickTheirEncodersAndProgressIsJson) {
    const Result listed = Run({"--list"});
    EXPECT_EQ(listed.exitCode, 0);
    for (const char* name : {"\n  mpeg4 ", "\n  aac ", "\n  matroska "})
        EXPECT_TRUE(listed.output.contains(name)) << name;

    const testsupport::DriftingClip& clip = Clip();
    const QString output = folder + "/short.mkv";
    const Result result = Run({QString::fromStdString(clip.path), "--sync-list", SyncList(clip),
                               "--calculate", "--video-encoder", "mpeg4", "--audio-encoder", "aac",
                               "--muxer", "matroska", "--progress", "json", "-o", output});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(Probe(output, "stream=codec_name"), "mpeg4\naac");
    QJsonObject last;
    for (const QString& line : result.errors.split('\n')) {
        if (!line.startsWith('{'))
            continue;
        last = QJsonDocument::fromJson(line.toUtf8()).object();
        EXPECT_TRUE(last.contains("fraction") && last.contains("secondsLeft"))
            << line.toStdString();
    }
    EXPECT_EQ(last["fraction"].toDouble(), 1.0) << result.errors.toStdString();
}
