// Damaged and vanishing videos through the main window, the way a user meets them: files
// that are empty, random, text, cut short, with flipped bits, without picture or sound, with
// a broken index, and files deleted or cut while they play or convert. Each goes through
// Open Video, the two players, the composed preview and Convert as far as it gets. Nothing
// may crash or hang; a file that cannot be opened says why and leaves the previous video, its
// points and the settings as they were; a conversion that fails says so and leaves no file
// that passes for a finished one.
#include "app/vellum_dlg.h"
#include "controls/bitmap_slider.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/settings/store.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/small_file_system.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <thread>

using testsupport::ClipKind;

namespace {

constexpr REFERENCE_TIME S = UNITS;

const QString kNotOpen =
    "Cannot open the file. You need to install appropriate decoders. Or the file is corrupt.";

// Ends the test program when a step does not come back in time, naming the step: a hang
// shows as a failure instead of a run that never ends.
class Deadline {
  public:
    Deadline(std::string step, std::chrono::seconds limit)
        : step_(std::move(step)), watch_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!over_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "Hung: %s did not come back within %lld s\n", step_.c_str(),
                               static_cast<long long>(limit.count()));
                  std::abort();
              }
          }) {}
    ~Deadline() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        over_.notify_all();
        watch_.join();
    }

  private:
    std::string step_;
    std::mutex mutex_;
    std::condition_variable over_;
    bool done_ = false;
    std::thread watch_; // last: it starts at once and uses the members above
};

// The test program's open file descriptors.
qsizetype OpenFiles() {
    return QDir("/proc/self/fd")
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// `count` single bits flipped at random places in [from, to), the same for the same seed.
QByteArray Flipped(QByteArray bytes, qsizetype from, qsizetype to, int count, unsigned seed) {
    std::mt19937 random(seed);
    for (int i = 0; i < count; ++i) {
        const qsizetype at = from + static_cast<qsizetype>(random() % (to - from));
        bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
    }
    return bytes;
}

// What Open Video makes of a damaged file.
enum class Outcome {
    Refused, // the described messages; nothing of the open video changes
    Opens,   // it plays, seeks, previews and converts what it holds
    Either,  // random damage: one of the two, each as above
};

struct Damaged {
    std::string what;
    QString path;
    Outcome outcome;
    // For a file cut short: the longest its picture may be measured, since only what is
    // left of it plays (0: no bound).
    REFERENCE_TIME longest = 0;
};

// What an open that fails must leave as it was.
struct Kept {
    preview::CVcdCore* player;
    std::string path;
    std::vector<avsync::SyncPoint> points;
    REFERENCE_TIME videoDuration, audioDuration, videoEnd, audioEnd, outputDuration;
    int nativeWidth, nativeHeight, outputWidth, outputHeight;
    double sourceFrameRate, outputFrameRate;
    QString status, lastFolder;
};

class CorruptMediaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::UseTemporarySettings();
        folder = testsupport::TemporaryFolder();
    }
    void Click(int id) { QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton); }
    void Open(const QString& path) {
        Deadline deadline("opening " + path.toStdString(), std::chrono::seconds(20));
        scope.prompts.fileAnswers = {path};
        Click(IDC_BUTTON_ADD_VIDEO);
    }
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = folder + "/" + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    QString Copy(const std::string& clip, const QString& name) {
        const QString path = folder + "/" + name;
        QFile::copy(QString::fromStdString(clip), path);
        return path;
    }
    // The good video, with two points: what a failed open must not lose.
    void OpenGoodVideoWithPoints() {
        Open(QString::fromStdString(testsupport::Clip(ClipKind::H264Aac)));
        ASSERT_TRUE(dlg.videoPlayer);
        Click(IDC_BUTTON_PAUSE);
        for (REFERENCE_TIME at : {S, 3 * S}) {
            dlg.videoPlayer->currentPosition = at;
            Click(IDC_BUTTON_ADD_SYNC_POINT);
        }
        ASSERT_EQ(dlg.syncState.syncCount, 2);
        // Saved, so the next open asks nothing before it tries.
        scope.prompts.fileAnswers = {folder + "/points.ini"};
        Click(IDC_BUTTON_SAVE_SYNC_LIST);
        scope.prompts.messages.clear();
    }
    Kept Keep() const {
        const avsync::SyncState& s = dlg.syncState;
        return {dlg.videoPlayer.get(),
                dlg.photoList.Count() ? dlg.photoList[0].path : std::string(),
                s.Points(),
                s.videoDuration,
                s.audioDuration,
                s.videoEnd,
                s.audioEnd,
                s.outputDuration,
                dlg.nativeWidth,
                dlg.nativeHeight,
                dlg.output.outputWidth,
                dlg.output.outputHeight,
                dlg.output.sourceFrameRate,
                dlg.output.outputFrameRate,
                dlg.GetDlgItemText(IDC_STATIC_STATUS),
                settings::Profile().GetProfileString("Option", "LastPhotoFolder", "")};
    }
    void ExpectKept(const Kept& before, const std::string& what) {
        const Kept after = Keep();
        EXPECT_EQ(after.player, before.player) << what;
        EXPECT_EQ(after.path, before.path) << what;
        EXPECT_EQ(after.points, before.points) << what;
        EXPECT_EQ(dlg.syncState.syncCount, static_cast<int>(before.points.size())) << what;
        EXPECT_EQ(after.videoDuration, before.videoDuration) << what;
        EXPECT_EQ(after.audioDuration, before.audioDuration) << what;
        EXPECT_EQ(after.videoEnd, before.videoEnd) << what;
        EXPECT_EQ(after.audioEnd, before.audioEnd) << what;
        EXPECT_EQ(after.outputDuration, before.outputDuration) << what;
        EXPECT_EQ(after.nativeWidth, before.nativeWidth) << what;
        EXPECT_EQ(after.nativeHeight, before.nativeHeight) << what;
        EXPECT_EQ(after.outputWidth, before.outputWidth) << what;
        EXPECT_EQ(after.outputHeight, before.outputHeight) << what;
        EXPECT_EQ(after.sourceFrameRate, before.sourceFrameRate) << what;
        EXPECT_EQ(after.outputFrameRate, before.outputFrameRate) << what;
        EXPECT_EQ(after.status, before.status) << what;
        EXPECT_EQ(after.lastFolder, before.lastFolder) << what;
    }
    // The one message of a file that cannot be opened, naming it; false when it is not that.
    bool SaidItCannotBeOpened(const QString& path) {
        const auto& m = scope.prompts.messages;
        const QString noPicture = "The file " + path + " holds sound but no picture.";
        return m.size() == 1u && m[0].caption == "Error" &&
               (m[0].text == path + "\n\n" + kNotOpen || m[0].text.startsWith(noPicture));
    }
    void SeekBar(int position) {
        auto* bar = dlg.Item<CBitmapSlider>(IDC_SLIDER_POSITION);
        bar->setValue(position);
        emit bar->releasedCapture();
    }
    // Output to an AVI file of MPEG-4 pictures and ADPCM sound in the test's folder.
    void OutputTo(const QString& name) {
        dlg.output.outputFileName = folder + "/" + name;
        dlg.output.outputFormat = 0;
        graph::CreateDeviceFilter(graph::DeviceCategory::VideoCompressor,
                                  graph::FindDevice(graph::DeviceCategory::VideoCompressor, "divx"),
                                  &dlg.videoCompressor);
        graph::CreateDeviceFilter(
            graph::DeviceCategory::AudioCompressor,
            graph::FindDevice(graph::DeviceCategory::AudioCompressor, "microsoft adpcm"),
            &dlg.audioCompressor);
        dlg.output.useVideoCompressor = dlg.output.useAudioCompressor = 1;
    }
    bool WaitUntilConverted(int ms = 30000) {
        return QTest::qWaitFor([&] { return dlg.converting == 0; }, ms);
    }
    // The written file's length in seconds as ffprobe reads it; 0 when it does not play.
    double WrittenSeconds() {
        QProcess ffprobe;
        ffprobe.start("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of",
                                  "csv=p=0", dlg.output.outputFileName});
        ffprobe.waitForFinished(30000);
        return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed().toDouble();
    }

    // An opened damaged video: its players play and seek, its preview runs, and Convert
    // writes what it holds to the end.
    void PlayPreviewAndConvert(const std::string& what) {
        SCOPED_TRACE(what);
        ASSERT_GT(dlg.syncState.videoDuration, 0);
        {
            Deadline deadline(what + ": playing and seeking", std::chrono::seconds(30));
            Click(IDC_BUTTON_PLAY);
            QTest::qWait(100);
            for (int position : {300, 570, 30})
                SeekBar(position);
            Click(IDC_BUTTON_JUMP_FORWARD);
            Click(IDC_BUTTON_JUMP_BACKWARD);
            Click(IDC_BUTTON_STOP);
            Click(IDC_BUTTON_PLAY);
            EXPECT_EQ(dlg.videoPlayer->playState, preview::Running);
            dlg.videoPlayer->PollPosition();
            EXPECT_GE(dlg.videoPlayer->currentPosition, 0);
            EXPECT_LE(dlg.videoPlayer->currentPosition, dlg.videoPlayer->stopPosition);
        }
        {
            Deadline deadline(what + ": the composed preview", std::chrono::seconds(30));
            Click(IDC_BUTTON_PREVIEW_VIDEO);
            ASSERT_EQ(dlg.previewRunning, 1);
            QTest::qWait(100);
            dlg.resultPlayer->SeekTo(dlg.syncState.outputDuration * 9 / 10);
            QTest::qWait(100);
            Click(IDC_BUTTON_PREVIEW_VIDEO);
            EXPECT_EQ(dlg.previewRunning, 0);
        }
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        OutputTo(QString::fromStdString(what) + ".avi");
        Click(IDC_BUTTON_CONVERT);
        ASSERT_TRUE(WaitUntilConverted());
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        EXPECT_TRUE(dlg.GetDlgItemText(IDC_STATIC_STATUS).startsWith("Done."));
        EXPECT_NEAR(WrittenSeconds(), static_cast<double>(dlg.syncState.outputDuration) / S, 0.2);
    }

    // Opens the damaged file over the good video and takes it as far as it goes.
    void GoThrough(const Damaged& file) {
        SCOPED_TRACE(file.what);
        OpenGoodVideoWithPoints();
        const Kept before = Keep();
        const qsizetype filesBefore = OpenFiles();
        Open(file.path);
        const bool opened = dlg.videoPlayer.get() != before.player;
        if (file.outcome != Outcome::Either) {
            ASSERT_EQ(opened, file.outcome == Outcome::Opens);
        }
        if (opened) {
            if (file.longest > 0) {
                EXPECT_LE(dlg.syncState.videoDuration, file.longest);
            }
            return PlayPreviewAndConvert(file.what);
        }
        EXPECT_TRUE(SaidItCannotBeOpened(file.path));
        ExpectKept(before, file.what);
        // What the probe opened is closed again.
        EXPECT_EQ(OpenFiles(), filesBefore);
        // The video that stayed still plays.
        Click(IDC_BUTTON_PLAY);
        EXPECT_EQ(dlg.videoPlayer->playState, preview::Running);
    }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
    QString folder;
};

} // namespace

TEST_F(CorruptMediaTest, FilesWithoutAPlayableVideoSayWhyAndKeepTheVideoItsPointsAndSettings) {
    const QByteArray mp4 = Bytes(testsupport::Clip(ClipKind::H264Aac));
    // The index of an MP4 is written last.
    const qsizetype moov = mp4.lastIndexOf("moov") - 4;
    QByteArray noIndex = mp4;
    // One bit in each name of the tables that place the samples in the file: the streams
    // stay described, but not one of their samples can be found.
    for (qsizetype at = noIndex.indexOf("stco"); at >= 0; at = noIndex.indexOf("stco", at))
        noIndex[at + 3] = static_cast<char>(noIndex[at + 3] ^ 0x20);
    std::mt19937 random(11);
    QByteArray noise(64 * 1024, 0);
    for (char& byte : noise)
        byte = static_cast<char>(random());
    const std::vector<Damaged> files = {
        {"zero bytes", Write("empty.mp4", {}), Outcome::Refused},
        {"random bytes", Write("random.avi", noise), Outcome::Refused},
        {"a text file", Write("notes.mkv", QByteArray("Plain notes, not a video.\n").repeated(200)),
         Outcome::Refused},
        {"an MP4 cut before its index", Write("no_moov.mp4", mp4.left(moov)), Outcome::Refused},
        {"an MP4 whose index finds no samples", Write("no_samples.mp4", noIndex), Outcome::Refused},
        {"sound only", QString::fromStdString(testsupport::Clip(ClipKind::SoundOnly)),
         Outcome::Refused},
    };
    testsupport::RunModal(dlg, [&] {
        for (const Damaged& file : files)
            GoThrough(file);
    });
}

TEST_F(CorruptMediaTest, DamagedVideosThatOpenPlaySeekPreviewAndConvertWhatTheyHold) {
    const QByteArray avi = Bytes(testsupport::Clip(ClipKind::Mpeg4Mp3));
    const QByteArray mkv = Bytes(testsupport::Clip(ClipKind::H264Pcm));
    const QByteArray mp4 = Bytes(testsupport::Clip(ClipKind::H264Aac));
    const qsizetype moov = mp4.lastIndexOf("moov") - 4;
    std::vector<Damaged> files;
    for (int percent : {10, 50, 90}) {
        const REFERENCE_TIME left = testsupport::kClipSeconds * S * percent / 100 + S / 2;
        files.push_back(
            {"an AVI cut at " + std::to_string(percent) + " %",
             Write(QString("cut%1.avi").arg(percent), avi.left(avi.size() * percent / 100)),
             Outcome::Opens, left});
        files.push_back(
            {"a Matroska file cut at " + std::to_string(percent) + " %",
             Write(QString("cut%1.mkv").arg(percent), mkv.left(mkv.size() * percent / 100)),
             Outcome::Opens, left});
    }
    files.push_back(
        {"an AVI with flipped bits in the middle",
         Write("middle.avi", Flipped(avi, avi.size() * 4 / 10, avi.size() * 6 / 10, 200, 4)),
         Outcome::Opens});
    files.push_back(
        {"a Matroska file with flipped bits in the middle",
         Write("middle.mkv", Flipped(mkv, mkv.size() * 4 / 10, mkv.size() * 6 / 10, 200, 2)),
         Outcome::Opens});
    for (unsigned seed : {1u, 2u, 6u})
        files.push_back(
            {"a Matroska file with flipped bits in its header, seed " + std::to_string(seed),
             Write(QString("header%1.mkv").arg(seed), Flipped(mkv, 0, 400, 4, seed)),
             Outcome::Either});
    files.push_back({"an AVI with flipped bits in its header",
                     Write("header.avi", Flipped(avi, 0, 4000, 4, 3)), Outcome::Either});
    // The index cut off where its second track, the sound's, begins: the picture plays alone.
    const qsizetype soundTrack = mp4.indexOf("trak", mp4.indexOf("trak", moov) + 4) - 4;
    files.push_back({"an MP4 whose index is cut off", Write("cut_moov.mp4", mp4.left(soundTrack)),
                     Outcome::Opens});
    files.push_back({"picture only",
                     QString::fromStdString(testsupport::Clip(ClipKind::PictureOnly)),
                     Outcome::Opens});
    // The sound changes from stereo to mono halfway: the composition must follow it.
    const std::string joined = testsupport::JoinedRecording();
    files.push_back({"two recordings joined", QString::fromStdString(joined), Outcome::Opens});
    // Damaged tables of a transport stream announce streams that were not there at first.
    const QByteArray ts = Bytes(joined);
    files.push_back({"two recordings joined, with flipped bits in the middle",
                     Write("middle.ts", Flipped(ts, ts.size() / 5, ts.size() * 4 / 5, 300, 22)),
                     Outcome::Either});
    testsupport::RunModal(dlg, [&] {
        for (const Damaged& file : files)
            GoThrough(file);
    });
}

TEST_F(CorruptMediaTest, AVideoDeletedOrCutWhileItPlaysIsNotComposedFromWhatItWas) {
    testsupport::RunModal(dlg, [&] {
        for (const bool cut : {false, true}) {
            const std::string what = cut ? "cut while it plays" : "deleted while it plays";
            SCOPED_TRACE(what);
            const QString path =
                Copy(testsupport::Clip(ClipKind::H264Pcm), cut ? "cut.mkv" : "gone.mkv");
            Open(path);
            ASSERT_TRUE(dlg.videoPlayer);
            dlg.videoPlayer->currentPosition = S;
            Click(IDC_BUTTON_ADD_SYNC_POINT);
            const std::vector<avsync::SyncPoint> points = dlg.syncState.Points();
            Click(IDC_BUTTON_PLAY);
            QTest::qWait(100);
            if (cut)
                QFile::resize(path, QFileInfo(path).size() * 4 / 10);
            else
                QFile::remove(path);
            {
                // The players read on from the file they hold open; where it was cut they end.
                Deadline deadline(what + ": playing and seeking", std::chrono::seconds(30));
                for (int position : {150, 570, 30})
                    SeekBar(position);
                Click(IDC_BUTTON_STOP);
                Click(IDC_BUTTON_PLAY);
                EXPECT_EQ(dlg.videoPlayer->playState, preview::Running);
            }
            scope.prompts.messages.clear();
            scope.prompts.fileDialogs.clear();
            OutputTo(QString::fromStdString(cut ? "cut.avi" : "gone.avi"));
            for (int button : {IDC_BUTTON_PREVIEW_VIDEO, IDC_BUTTON_CONVERT}) {
                Deadline deadline(what + ": preview and convert", std::chrono::seconds(30));
                Click(button);
                EXPECT_EQ(dlg.previewRunning, 0);
                EXPECT_EQ(dlg.converting, 0);
            }
            ASSERT_EQ(scope.prompts.messages.size(), 2u);
            for (const auto& message : scope.prompts.messages) {
                if (cut) {
                    // What was measured when it was opened is no longer there.
                    EXPECT_EQ(message.text, path + " has changed since it was opened. Open it "
                                                   "again to work on it as it is now.");
                } else {
                    // Asked where it went (and not told), the timeline cannot be played.
                    EXPECT_EQ(message.text, "Could not ConnectFrontEnd");
                }
            }
            if (!cut) {
                ASSERT_EQ(scope.prompts.fileDialogs.size(), 2u);
                EXPECT_EQ(scope.prompts.fileDialogs[0].title, "Where is gone.mkv?");
            }
            EXPECT_FALSE(QFile::exists(dlg.output.outputFileName));
            EXPECT_EQ(dlg.syncState.Points(), points);
            EXPECT_FALSE(dlg.composition.Timeline());
        }
    });
}

TEST_F(CorruptMediaTest, AConversionWhoseVideoIsCutShortSaysSoAndLeavesNoFile) {
    testsupport::RunModal(dlg, [&] {
        // Long enough that the conversion still runs when its video is cut.
        const std::string clip = testsupport::PlainClip(320, 240, 25, 20);
        const QString path = Copy(clip, "cut_while_converting.mp4");
        Open(path);
        ASSERT_TRUE(dlg.videoPlayer);
        dlg.videoPlayer->currentPosition = S;
        Click(IDC_BUTTON_ADD_SYNC_POINT);
        const std::vector<avsync::SyncPoint> points = dlg.syncState.Points();
        OutputTo("cut_while_converting.avi");
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(dlg.converting, 1);
        QFile::resize(path, QFileInfo(path).size() / 3);
        ASSERT_TRUE(WaitUntilConverted());
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        const QString removed = "The conversion failed. The incomplete file was removed; " +
                                dlg.output.outputFileName + " was not written.";
        EXPECT_EQ(scope.prompts.messages[0].text,
                  "The conversion stopped: The file was changed by another program while it was "
                  "being read.\n" +
                      removed);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_STATUS), removed);
        EXPECT_FALSE(QFile::exists(dlg.output.outputFileName));
        EXPECT_EQ(dlg.syncState.Points(), points);
        EXPECT_TRUE(dlg.GetDlgItem(IDC_BUTTON_ADD_VIDEO)->isEnabled());
        EXPECT_FALSE(dlg.conversion.Running());

        // A video deleted while it converts is still read through to its end: the file
        // stays open, and the conversion finishes whole.
        const QString deleted = Copy(clip, "deleted_while_converting.mp4");
        Open(deleted);
        scope.prompts.messages.clear();
        OutputTo("deleted_while_converting.avi");
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(dlg.converting, 1);
        QFile::remove(deleted);
        ASSERT_TRUE(WaitUntilConverted());
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        EXPECT_TRUE(dlg.GetDlgItemText(IDC_STATIC_STATUS).startsWith("Done."));
        EXPECT_NEAR(WrittenSeconds(), 20, 0.2);
    });
}

TEST_F(CorruptMediaTest, TheVideoBeingConvertedIsNeverReplacedByItsOutput) {
    testsupport::RunModal(dlg, [&] {
        const QString path = Copy(testsupport::Clip(ClipKind::Mpeg4Mp3), "mine.avi");
        const QByteArray bytes = Bytes(path.toStdString());
        Open(path);
        ASSERT_TRUE(dlg.videoPlayer);
        scope.prompts.messages.clear();
        OutputTo("mine.avi");
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_EQ(scope.prompts.messages[0].text,
                  "The output file " + path +
                      " is the video being converted. Choose another output file in the Options.");
        EXPECT_EQ(dlg.converting, 0);
        EXPECT_EQ(Bytes(path.toStdString()), bytes);
    });
}

// Replacing a film on a disk that fills up while the new one is written: the user is told, and
// the film that was there is still whole, with no partial file beside it.
TEST_F(CorruptMediaTest, AConversionThatFillsTheDiskKeepsTheFileItWasToReplace) {
    testsupport::SmallFileSystem disk(512);
    if (!disk.Mounted())
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    testsupport::RunModal(dlg, [&] {
        Open(QString::fromStdString(testsupport::PlainClip(320, 240, 25, 10)));
        ASSERT_TRUE(dlg.videoPlayer);
        dlg.videoPlayer->currentPosition = S;
        Click(IDC_BUTTON_ADD_SYNC_POINT);
        OutputTo("film.avi");
        dlg.output.outputFileName = disk.Path() + "/film.avi";
        const QByteArray film(300'000, 'f');
        Write("film.avi", film);
        QFile::copy(folder + "/film.avi", dlg.output.outputFileName);
        scope.prompts.messages.clear();
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(dlg.converting, 1);
        ASSERT_TRUE(WaitUntilConverted());
        const QString failed = "The conversion failed. The incomplete file was removed; " +
                               dlg.output.outputFileName + " was not replaced.";
        ASSERT_EQ(scope.prompts.messages.size(), 2u);
        EXPECT_TRUE(scope.prompts.messages[0].text.endsWith(" exists. Do you want to replace it?"))
            << scope.prompts.messages[0].text.toStdString();
        EXPECT_EQ(scope.prompts.messages[1].text,
                  "The conversion stopped: There is not enough space on the disk.\n" + failed);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_STATUS), failed);
        EXPECT_EQ(Bytes(dlg.output.outputFileName.toStdString()), film);
        EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files), QStringList{"film.avi"});
    });
}
