// The source picture copied instead of coded again, on drifting clips whose key frames are
// two seconds apart and whose video start falls between them: the pictures of the span come
// out as the source's (exactly where the container hides what comes before the start, coded
// again only up to the first key frame elsewhere), and every click falls on its flash to the
// sample. And a copy the correction would change is refused, naming why.
#include "convert_command.h"
#include "support/drift_fixtures.h"
#include "support/media_fixtures.h"
#include "support/test_environment.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

constexpr int kFps = 25;
constexpr double kOffset = 0.3;
constexpr double kDrift = 0.01;
// Between key frames (0, 2, 4 ... s), and the frames from it to the next one.
constexpr double kVideoStart = 1.32;
constexpr double kVideoEnd = 9.48;
constexpr int kFirstFrame = 33;
constexpr int kFrames = 204;
constexpr int kHeadFrames = 17;

testsupport::ClipCoding H264InMp4() {
    return {"mp4",
            {"-c:v", "libx264", "-preset", "fast", "-g", "50", "-keyint_min", "50",
             "-sc_threshold", "0", "-bf", "2", "-pix_fmt", "yuv420p", "-c:a", "aac"}};
}

// Without B-frames, so AVI may hold it.
testsupport::ClipCoding H264InMov() {
    return {"mov",
            {"-c:v", "libx264", "-preset", "fast", "-g", "50", "-keyint_min", "50",
             "-sc_threshold", "0", "-bf", "0", "-pix_fmt", "yuv420p", "-c:a", "aac"}};
}

testsupport::ClipCoding Mpeg4InAvi() {
    return {"avi", {"-c:v", "mpeg4", "-g", "50", "-q:v", "4", "-c:a", "pcm_s16le"}};
}

const testsupport::DriftingClip& Clip(const testsupport::ClipCoding& coding) {
    static std::map<std::string, testsupport::DriftingClip> made;
    auto found = made.find(coding.extension);
    if (found == made.end())
        found = made.emplace(coding.extension,
                             testsupport::MakeDriftingClip(10, kFps, {2.5, 5.5, 8.3}, kOffset,
                                                           kDrift, coding))
                    .first;
    return found->second;
}

// The MD5 of every decoded picture of a file, in showing order; the file decodes cleanly.
QStringList PictureDigests(const QString& file) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", file, "-map", "0:v", "-f", "framemd5", "-"});
    ffmpeg.waitForFinished(60000);
    const QString errors = QString::fromUtf8(ffmpeg.readAllStandardError());
    EXPECT_TRUE(errors.isEmpty()) << file.toStdString() << ": " << errors.toStdString();
    QStringList digests;
    for (const QString& line : QString::fromUtf8(ffmpeg.readAllStandardOutput()).split('\n')) {
        if (!line.startsWith('#') && line.count(',') == 5)
            digests << line.section(',', 5).trimmed();
    }
    return digests;
}

// The lowest PSNR of the output's first `count` pictures against the source's from `first`.
double LowestPsnr(const QString& output, const QString& source, int first, int count) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-v", "info", "-i", output, "-i", source, "-lavfi",
                  QString("[0:v]trim=end_frame=%1,setpts=PTS-STARTPTS[a];[1:v]trim=start_frame=%2:"
                          "end_frame=%3,setpts=PTS-STARTPTS[b];[a][b]psnr")
                      .arg(count)
                      .arg(first)
                      .arg(first + count),
                  "-f", "null", "-"});
    ffmpeg.waitForFinished(60000);
    const QString log = QString::fromUtf8(ffmpeg.readAllStandardError());
    const qsizetype at = log.lastIndexOf("min:");
    return at < 0 ? 0 : log.mid(at + 4).section(' ', 0, 0).toDouble();
}

class PictureCopyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = testsupport::TemporaryFolder();
        settingsRoot = testsupport::TemporaryFolder();
    }

    // Points half a second before each flash, and the span between the key frames.
    QStringList Span(const testsupport::DriftingClip& clip) {
        const QString list =
            clitest::PointsBeforeFlashes(folder + "/points.ini", clip, kOffset, kDrift);
        const auto audio = [](double video) {
            return QString::number(kOffset + video * (1 + kDrift), 'f', 7);
        };
        return {"--sync-list", list, "--video-start", QString::number(kVideoStart),
                "--video-end", QString::number(kVideoEnd), "--audio-start", audio(kVideoStart),
                "--audio-end", audio(kVideoEnd), "--frame-rate", QString::number(kFps)};
    }

    QString folder;
    QString settingsRoot;
};

} // namespace

TEST_F(PictureCopyTest, TheSpanIsTheSourcesOwnPicturesWithEveryClickOnItsFlash) {
    struct Case {
        testsupport::ClipCoding source;
        const char* codec;
        const char* output;
        const char* muxer;
        const char* audio; // lossless, so the click keeps its edge to the sample
        bool exact;        // the container hides the pictures before the start
    };
    for (const Case& c : {Case{H264InMp4(), "h264", "copy.mp4", "mp4 mux", "alac", true},
                          Case{H264InMp4(), "h264", "copy.mkv", "matroska mux", "flac", false},
                          Case{H264InMov(), "h264", "copy_h264.avi", "AVI Mux", "none", false},
                          Case{Mpeg4InAvi(), "mpeg4", "copy.avi", "AVI Mux", "none", false},
                          Case{Mpeg4InAvi(), "mpeg4", "copy_mpeg4.mp4", "mp4 mux", "alac", true}}) {
        SCOPED_TRACE(c.output);
        const testsupport::DriftingClip& clip = Clip(c.source);
        const QString output = folder + "/" + c.output;
        const clitest::Result result = clitest::RunConvert(
            settingsRoot, QStringList{QString::fromStdString(clip.path), "--muxer", c.muxer,
                                      "--video-encoder", "copy", "--audio-encoder", c.audio,
                                      "-o", output} +
                              Span(clip));
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        EXPECT_TRUE(clitest::Probe(output, "stream=codec_name").startsWith(c.codec));

        const QStringList source = PictureDigests(QString::fromStdString(clip.path));
        const QStringList copied = PictureDigests(output);
        // A reference frame the last B-frames need may stay just after the end.
        ASSERT_GE(copied.size(), kFrames);
        EXPECT_LE(copied.size(), kFrames + 2);
        const int same = c.exact ? 0 : kHeadFrames;
        EXPECT_EQ(copied.mid(same, kFrames - same), source.mid(kFirstFrame + same, kFrames - same));
        if (!c.exact) {
            EXPECT_GT(LowestPsnr(output, QString::fromStdString(clip.path), kFirstFrame,
                                 kHeadFrames),
                      45);
        }

        int rate = 0;
        const std::vector<double> flashes = testsupport::FlashTimes(output.toStdString());
        const std::vector<double> clicks = testsupport::ClickTimes(output.toStdString(), &rate);
        ASSERT_EQ(flashes.size(), clip.flashTimes.size());
        ASSERT_EQ(clicks.size(), clip.flashTimes.size());
        for (std::size_t i = 0; i < flashes.size(); ++i) {
            EXPECT_NEAR(flashes[i], clip.flashTimes[i] - kVideoStart, 0.5 / kFps) << i;
            EXPECT_NEAR(clicks[i], flashes[i], 1.0 / rate + 1e-9) << i;
        }
    }
}

TEST_F(PictureCopyTest, ACopyTheCorrectionWouldChangeIsRefusedNamingWhy) {
    const testsupport::DriftingClip& clip = Clip(H264InMp4());
    const QString input = QString::fromStdString(clip.path);
    const QString output = folder + "/refused.mp4";
    const QStringList copy = {input, "--muxer", "mp4 mux", "--video-encoder", "copy",
                              "--audio-encoder", "aac", "-o", output};
    const QString cannot = "The source picture cannot be copied: ";
    for (const auto& [extra, why] :
         {std::pair{QStringList{"--size", "320x240"},
                    cannot + "the output size 320*240 is not the video's own 160*120."},
          std::pair{QStringList{"--frame-rate", "30"},
                    cannot + "the output frame rate 30.000 is not the video's own 25.000."}}) {
        const clitest::Result result = clitest::RunConvert(settingsRoot, copy + extra);
        EXPECT_EQ(result.exitCode, 1) << extra.join(' ').toStdString();
        EXPECT_TRUE(result.errors.contains(why)) << result.errors.toStdString();
        EXPECT_FALSE(QFile::exists(output));
    }
    // The container must hold the source's codec (WebM takes no H.264), and keep the showing
    // times of pictures stored out of order (AVI keeps none).
    for (const auto& [muxer, audio, name, why] :
         {std::tuple{"webm mux", "libopus", "refused.webm",
                     cannot + "the webm container cannot hold its h264 pictures."},
          std::tuple{"AVI Mux", "none", "refused.avi",
                     cannot + "its h264 pictures are stored out of showing order (B-frames), "
                              "and the avi container keeps no showing times"}}) {
        const clitest::Result result = clitest::RunConvert(
            settingsRoot, QStringList{input, "--muxer", muxer, "--video-encoder", "copy",
                                      "--audio-encoder", audio, "-o", folder + "/" + name} +
                              Span(clip));
        EXPECT_EQ(result.exitCode, 1) << name;
        EXPECT_TRUE(result.errors.contains(why)) << result.errors.toStdString();
    }
}

TEST_F(PictureCopyTest, AVariableRateKeepsEveryFramesOwnTimeOrIsRefused) {
    // Frames of 1/25 s and 1/30 s in turn, a key frame about every second: the copy into
    // Matroska codes its head again, up to the first key frame after the start.
    testsupport::ClipRecipe recipe;
    recipe.seconds = 4;
    recipe.fps = 0;
    recipe.flashFrames = {60};
    recipe.clickOf = [](double video) { return video; };
    recipe.coding = {"mkv",
                     {"-fps_mode", "passthrough", "-enc_time_base:v", "1/150", "-c:v", "libx264",
                      "-preset", "ultrafast", "-g", "27", "-pix_fmt", "yuv420p", "-c:a",
                      "pcm_s16le"}};
    const testsupport::DriftingClip clip = testsupport::MakeClip(recipe);
    const std::vector<double> source = testsupport::ProbeStream(clip.path, 'v').times;
    // The composition starts on the first frame at or after the start asked for.
    constexpr double kStart = 0.2;
    constexpr double kEnd = 3.5;
    const double from = *std::lower_bound(source.begin(), source.end(), kStart);
    std::vector<double> expected;
    for (double t : source) {
        if (t >= from && t < kEnd)
            expected.push_back(t - from);
    }
    const QStringList span = {
        "--video-start", QString::number(kStart), "--video-end", QString::number(kEnd),
        "--audio-start", QString::number(kStart), "--audio-end", QString::number(kEnd)};
    for (const auto& [muxer, audio, name] : {std::tuple{"matroska mux", "flac", "vfr.mkv"},
                                             std::tuple{"mp4 mux", "alac", "vfr.mp4"}}) {
        SCOPED_TRACE(name);
        const QString output = folder + "/" + name;
        const clitest::Result result = clitest::RunConvert(
            settingsRoot,
            QStringList{QString::fromStdString(clip.path), "--muxer", muxer, "--video-encoder",
                        "copy", "--audio-encoder", audio, "-o", output} +
                span);
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        // Frames before the start that MP4 hides have times before 0.
        std::vector<double> shown = testsupport::ProbeStream(output.toStdString(), 'v').times;
        shown.erase(shown.begin(), std::lower_bound(shown.begin(), shown.end(), 0.0));
        ASSERT_EQ(shown.size(), expected.size());
        // The source's times are whole milliseconds, which both containers hold exactly.
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_NEAR(shown[i], expected[i], 1e-6) << i;
    }
    // AVI counts frames at one rate.
    const clitest::Result result = clitest::RunConvert(
        settingsRoot,
        QStringList{QString::fromStdString(clip.path), "--muxer", "AVI Mux", "--video-encoder",
                    "copy", "--audio-encoder", "none", "-o", folder + "/vfr.avi"} +
            span);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains(
        "The source picture cannot be copied: its frames are spaced unevenly"))
        << result.errors.toStdString();
}
