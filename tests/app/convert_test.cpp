// Convert from the main window, run the way the program runs it: its refusals and questions,
// a start and a stop, the end on completion, a failing file, the writer the format asks for,
// and the written file's sound on its picture at every point.
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "options/filter_property_dialog.h"
#include "options/output_settings_dialog.h"
#include "platform/core/guid.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/filter_options.h"
#include "platform/settings/store.h"
#include "resources/resource.h"
#include "support/drift_fixtures.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/sound_capture.h"
#include "support/test_environment.h"
#include "support/user_input.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace {

constexpr REFERENCE_TIME S = UNITS;

class ConvertTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::UseTemporarySettings();
        folder = testsupport::TemporaryFolder();
    }
    void Click(int id) { QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton); }
    void Open(const std::string& path) {
        scope.prompts.fileAnswers = {QString::fromStdString(path)};
        Click(IDC_BUTTON_ADD_VIDEO);
        ASSERT_TRUE(dlg.videoPlayer);
        Click(IDC_BUTTON_PAUSE);
    }
    // Output to `name` in the test's folder, in the given format, with the given encoders
    // ("" for none).
    void Output(const QString& name, int format, const char* video = "", const char* audio = "") {
        dlg.output.outputFileName = folder + "/" + name;
        dlg.output.outputFormat = format;
        dlg.videoCompressor.reset();
        dlg.audioCompressor.reset();
        if (*video)
            graph::CreateDeviceFilter(
                graph::DeviceCategory::VideoCompressor,
                graph::FindDevice(graph::DeviceCategory::VideoCompressor, video),
                &dlg.videoCompressor);
        if (*audio)
            graph::CreateDeviceFilter(
                graph::DeviceCategory::AudioCompressor,
                graph::FindDevice(graph::DeviceCategory::AudioCompressor, audio),
                &dlg.audioCompressor);
        dlg.output.useVideoCompressor = dlg.videoCompressor ? 1 : 0;
        dlg.output.useAudioCompressor = dlg.audioCompressor ? 1 : 0;
    }
    bool WaitUntilIdle(int ms = 60000) {
        return QTest::qWaitFor([&] { return dlg.converting == 0; }, ms);
    }
    QString Probe(const QString& entries) {
        QProcess ffprobe;
        ffprobe.start("ffprobe", {"-v", "error", "-show_entries", entries, "-of", "csv=p=0",
                                  dlg.output.outputFileName});
        ffprobe.waitForFinished(30000);
        return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
    }

    // Points half a second before each flash, so every click lies in the middle of a
    // stretch that is resampled; then the times calculated from them.
    void PointsBeforeFlashes(const testsupport::DriftingClip& clip, double offset, double drift) {
        for (std::size_t i = 0; i < clip.flashTimes.size(); ++i) {
            const double video = clip.flashTimes[i] - 0.5;
            dlg.syncState.syncPoints[i] = {
                static_cast<REFERENCE_TIME>(std::llround(video * S)),
                static_cast<REFERENCE_TIME>(std::llround((offset + video * (1 + drift)) * S))};
        }
        dlg.syncState.syncCount = static_cast<int>(clip.flashTimes.size());
        dlg.RedrawPointList();
        Click(IDC_BUTTON_CALCULATE_START_SYNC);
        Click(IDC_BUTTON_CALCULATE_END_SYNC);
    }
    // Closes the filters' dialog of a custom multiplexer as soon as it shows, while it lives.
    static std::unique_ptr<QTimer> ContinueAtOnce() {
        auto timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [] {
            if (auto* dialog =
                    qobject_cast<CDialogFilterPerproty*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        timer->start(50);
        return timer;
    }
    double ExpectClicksOnFlashes(const testsupport::DriftingClip& clip, const char* name,
                                 double tolerance) {
        return testsupport::ExpectClicksOnFlashes(dlg.output.outputFileName.toStdString(),
                                                  clip.flashTimes, clip.fps, name, tolerance);
    }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
    QString folder;
};

} // namespace

TEST_F(ConvertTest, RefusesWithoutAVideoOrWhilePreviewingAndAsksBeforeReplacing) {
    testsupport::RunModal(dlg, [&] {
        dlg.EnableWorkingSet();
        Click(IDC_BUTTON_CONVERT);
        Open(testsupport::Clip(testsupport::ClipKind::H264Aac));
        dlg.previewRunning = 1;
        Click(IDC_BUTTON_CONVERT);
        dlg.previewRunning = 0;
        ASSERT_EQ(scope.prompts.messages.size(), 2u);
        EXPECT_EQ(scope.prompts.messages[0].text, "Please open a video file first!");
        EXPECT_EQ(scope.prompts.messages[1].text, "Please stop Preview first!");

        // An existing file and No: nothing is deleted, nothing is built.
        Output("kept.avi", 0);
        QFile existing(dlg.output.outputFileName);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("mine");
        existing.close();
        scope.prompts.messages.clear();
        scope.prompts.answers = {ui::IDNO};
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_EQ(scope.prompts.messages[0].text,
                  dlg.output.outputFileName + " exists. Do you want to replace it?");
        EXPECT_EQ(scope.prompts.messages[0].caption, "Warning");
        EXPECT_EQ(testsupport::ReadFileBytes(dlg.output.outputFileName.toStdString()), "mine");
        EXPECT_EQ(dlg.converting, 0);
        EXPECT_EQ(dlg.composition.Timeline(), nullptr);

        // No video compressor and No to the question: nothing is built or written.
        Output("uncompressed.avi", 0);
        scope.prompts.messages.clear();
        scope.prompts.answers = {ui::IDNO};
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_TRUE(
            scope.prompts.messages[0].text.startsWith("You do not select a video compressor"));
        EXPECT_EQ(dlg.converting, 0);
        EXPECT_EQ(dlg.composition.Timeline(), nullptr);
        EXPECT_FALSE(QFile::exists(dlg.output.outputFileName));
    });
}

// A name holding "%1" comes through every summary as it is.
TEST_F(ConvertTest, ConvertTwiceStartsThenStopsLeavingAPlayableFile) {
    testsupport::RunModal(dlg, [&] {
        Output("100%1 clip.avi", 0, "divx", "microsoft adpcm");
        // Long enough that the conversion is still running when Stop comes.
        Open(testsupport::PlainClip(640, 480, 25, 60));
        EXPECT_TRUE(
            dlg.GetDlgItemText(IDC_STATIC_STATUS)
                .startsWith("Output file: " + dlg.output.outputFileName + "     Resolution: "))
            << dlg.GetDlgItemText(IDC_STATIC_STATUS).toStdString();
        Click(IDC_BUTTON_CONVERT);
        ASSERT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        ASSERT_EQ(dlg.converting, 1);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_CONVERT), "Stop");
        for (int id : {IDC_BUTTON_ADD_VIDEO, IDC_BUTTON_OUTPUT_SETTINGS})
            EXPECT_FALSE(dlg.GetDlgItem(id)->isEnabled());
        EXPECT_TRUE(dlg.Timer(CVellumDlg::kConversionClockTimer)->isActive());
        // Stopped once both streams have some of the file, with most of the minute still to go.
        ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.conversion.WrittenTime() >= S / 2; }, 60000));
        ASSERT_EQ(dlg.converting, 1);
        Click(IDC_BUTTON_CONVERT);
        EXPECT_EQ(dlg.converting, 0);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_CONVERT), "Convert");
        // It says where it stopped, not that it is done.
        const QRegularExpressionMatch stopped =
            QRegularExpression(
                "^Stopped at ([0-9.]+) s of the output\\.     The output file (.*) holds "
                "what was written up to then\\.$")
                .match(dlg.GetDlgItemText(IDC_STATIC_STATUS));
        ASSERT_TRUE(stopped.hasMatch()) << dlg.GetDlgItemText(IDC_STATIC_STATUS).toStdString();
        EXPECT_GT(stopped.captured(1).toDouble(), 0);
        EXPECT_LT(stopped.captured(1).toDouble(), 60);
        EXPECT_EQ(stopped.captured(2), dlg.output.outputFileName);
        EXPECT_TRUE(dlg.GetDlgItem(IDC_BUTTON_ADD_VIDEO)->isEnabled());
        EXPECT_FALSE(dlg.Timer(CVellumDlg::kConversionClockTimer)->isActive());
        // What was written so far plays.
        EXPECT_EQ(Probe("stream=codec_type"), "video\naudio");
    });
}

TEST_F(ConvertTest, TheButtonsLabelsComeFromTheLanguageFile) {
    const QString base = testsupport::TemporaryFolder();
    QDir(base).mkpath("language");
    testsupport::WriteFileBytes((base + "/language/German_Germany_utf-8.ini").toStdString(),
                                "[DIALOG]\r\nIDC_BUTTON_STOP=Stopp\r\n"
                                "IDC_BUTTON_CONVERT=Konvertieren\r\n");
    // The other tests expect the built-in English texts.
    struct EnglishAfterwards {
        ~EnglishAfterwards() { Language() = CLanguage(); }
    } englishAfterwards;
    Language() = CLanguage();
    ASSERT_TRUE(Language().Init(base, "German_Germany_utf-8"));
    testsupport::RunModal(dlg, [&] {
        Open(testsupport::PlainClip(640, 480, 25, 60));
        Output("labels.avi", 0, "divx", "microsoft adpcm");
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(dlg.converting, 1);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_CONVERT).toStdString(), "Stopp");
        Click(IDC_BUTTON_CONVERT);
        EXPECT_EQ(dlg.converting, 0);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_CONVERT).toStdString(), "Konvertieren");
    });
}

TEST_F(ConvertTest, AviWmvAndACustomMultiplexerAreWrittenToTheEnd) {
    testsupport::RunModal(dlg, [&] {
        Open(testsupport::Clip(testsupport::ClipKind::H264Aac));

        Output("100%1 clip.avi", 0, "divx", "microsoft adpcm");
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(dlg.converting, 1);
        ASSERT_TRUE(WaitUntilIdle());
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_STATUS),
                  QStringLiteral("Done. Output file: %1     Resolution: %2*%3")
                      .arg(dlg.output.outputFileName, QString::number(dlg.output.outputWidth),
                           QString::number(dlg.output.outputHeight)));
        EXPECT_EQ(Probe("stream=codec_name"), "mpeg4\nadpcm_ms");

        // WMV: the writer's own encoders, no compressor question, and both flags 0 after.
        Output("whole.wmv", 1, "divx", "microsoft adpcm");
        dlg.output.outputFrameRate = 29.97;
        Click(IDC_BUTTON_CONVERT);
        ASSERT_TRUE(WaitUntilIdle());
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        EXPECT_EQ(dlg.output.useVideoCompressor, 0);
        EXPECT_EQ(dlg.output.useAudioCompressor, 0);
        EXPECT_EQ(Probe("stream=codec_name"), "wmav2\nwmv2");

        // A custom multiplexer: the stored default names none; a real one runs after the
        // filters' dialog.
        Output("custom.mkv", 2, "divx", "mpeg layer-3");
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_EQ(scope.prompts.messages[0].text, "Please find the muxer, please install it.)");
        EXPECT_EQ(dlg.converting, 0);
        const int matroska = graph::FindDevice(graph::DeviceCategory::Filter, "matroska mux");
        ASSERT_GE(matroska, 0);
        settings::Profile().WriteProfileString(
            "DirectShowFilters", "CurrentMuxerCLSID",
            QString::fromStdString(core::GuidToString(
                graph::EnumerateDevices(graph::DeviceCategory::Filter)[matroska].classId)));
        bool dialogShown = false;
        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<CDialogFilterPerproty*>(QApplication::activeModalWidget());
            dialogShown = dialog != nullptr;
            if (dialog)
                QTest::mouseClick(dialog->GetDlgItem(IDCANCEL_BUTTON), Qt::LeftButton);
        });
        scope.prompts.messages.clear();
        Click(IDC_BUTTON_CONVERT);
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        EXPECT_TRUE(dialogShown);
        ASSERT_TRUE(WaitUntilIdle());
        EXPECT_TRUE(Probe("format=format_name").contains("matroska"));
    });
}

// WMV is refused in the order its output is built: a frame rate below 1 (which the options
// accept) before anything else, also with the profile file, whose text is then refused; nothing
// is written.
TEST_F(ConvertTest, WmvRefusalsComeInTheOrderItsOutputIsBuilt) {
    testsupport::RunModal(dlg, [&] {
        Open(testsupport::Clip(testsupport::ClipKind::H264Aac));
        struct Case {
            double rate;
            int fileProfile;
            const char* first;
        };
        for (const Case& c :
             {Case{0.5, 0, "The output frame rate 0.5 is too small for WMV output"},
              Case{0.001, 1, "The output frame rate 0.001 is too small for WMV output"},
              Case{25, 1, "Failed to map profile ID!  hr=0x"}}) {
            Output("refused.wmv", 1);
            dlg.output.frameRateIndex = 6;
            dlg.output.outputFrameRate = c.rate;
            dlg.output.useFileProfile = c.fileProfile;
            scope.prompts.messages.clear();
            Click(IDC_BUTTON_CONVERT);
            ASSERT_FALSE(scope.prompts.messages.empty()) << c.first;
            EXPECT_TRUE(scope.prompts.messages[0].text.startsWith(c.first))
                << scope.prompts.messages[0].text.toStdString();
            EXPECT_EQ(dlg.converting, 0);
            EXPECT_FALSE(QFile::exists(dlg.output.outputFileName)) << c.first;
        }
    });
}

// An output that cannot be written is refused with one message naming it and the reason:
// its folder, checked before anything is built, or the encoder's own words when it refuses
// its settings. The window stays idle, and the settings and points stay as they were.
TEST_F(ConvertTest, AnOutputThatCannotBeWrittenIsNamedWithItsReason) {
    testsupport::WriteFileBytes((folder + "/plain.txt").toStdString(), "mine");
    QDir(folder).mkdir("a-folder");
    testsupport::RunModal(dlg, [&] {
        Open(testsupport::Clip(testsupport::ClipKind::H264Aac));
        dlg.syncState.syncPoints[0] = {S, S};
        dlg.syncState.syncCount = 1;
        struct Case {
            const char* name;
            const char* videoSettings;
            QString first;  // the message's beginning ...
            QString reason; // ... and its reason, after the output's name
        };
        for (const Case& c :
             {Case{"missing-folder/out.avi", "", "Can not write ",
                   ": the folder " + folder + "/missing-folder does not exist."},
              Case{"plain.txt/out.avi", "", "Can not write ",
                   ": " + folder + "/plain.txt is a file, not a folder."},
              Case{"a-folder", "", "Can not write ",
                   ": it is a folder. Give the output a file name."},
              Case{"refused.avi", "qmin=20:qmax=10",
                   "failed pBuilder->RenderStream( NULL, NULL, pPin, NULL, pMux )\nThe output "
                   "file ",
                   " could not be written: mpeg4: qmin and or qmax are invalid, they must be 0 < "
                   "min <= max"}}) {
            Output(c.name, 0, "divx", "microsoft adpcm");
            graph::QueryFilterInterface<graph::ISpecifyPropertyPages>(dlg.videoCompressor.get())
                ->Options()
                .SetState(c.videoSettings);
            scope.prompts.messages.clear();
            Click(IDC_BUTTON_CONVERT);
            ASSERT_EQ(scope.prompts.messages.size(), 1u) << c.name;
            EXPECT_TRUE(scope.prompts.messages[0].text.startsWith(
                c.first + dlg.output.outputFileName + c.reason))
                << scope.prompts.messages[0].text.toStdString();
            EXPECT_EQ(dlg.converting, 0);
            EXPECT_FALSE(dlg.conversion.Running());
            EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_CONVERT), "Convert");
            EXPECT_TRUE(dlg.GetDlgItem(IDC_BUTTON_ADD_VIDEO)->isEnabled());
            EXPECT_EQ(dlg.output.outputFileName, folder + "/" + c.name);
            EXPECT_EQ(dlg.syncState.syncCount, 1);
        }
        EXPECT_FALSE(QFile::exists(folder + "/refused.avi"));
        EXPECT_EQ(testsupport::ReadFileBytes((folder + "/plain.txt").toStdString()), "mine");
    });
}

// A clip whose sound runs 1 % slow and 0.3 s late, four points on its flashes and a video
// start between two frames: in the file Convert writes, which starts on the next frame, every
// click falls on its flash within one sample of the output's sound.
TEST_F(ConvertTest, EveryClickFallsOnItsFlashInTheWrittenFile) {
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(12, 25, {1.0, 4.0, 7.0, 10.0}, 0.3, 0.01);
    testsupport::RunModal(dlg, [&] {
        Open(clip.path);
        // At the source's own frame rate every flash keeps its frame's exact time.
        dlg.output.frameRateIndex = 0;
        dlg.output.outputFrameRate = clip.fps;
        dlg.SetDlgItemText(IDC_EDIT_VIDEO_START, "0.37");
        PointsBeforeFlashes(clip, 0.3, 0.01);
        const int matroska = graph::FindDevice(graph::DeviceCategory::Filter, "matroska mux");
        settings::Profile().WriteProfileString(
            "DirectShowFilters", "CurrentMuxerCLSID",
            QString::fromStdString(core::GuidToString(
                graph::EnumerateDevices(graph::DeviceCategory::Filter)[matroska].classId)));
        const auto continueAtOnce = ContinueAtOnce();
        // Uncompressed and lossless sound keep the click's edge to the sample; ADPCM's
        // adaptive steps take a few samples to climb it; WMV keeps whole milliseconds.
        for (const auto& [name, format, video, audio, tolerance] :
             {std::tuple{"sync.avi", 0, "", "", 1.0 / 44100},
              std::tuple{"sync_mpeg4.avi", 0, "divx", "microsoft adpcm", 4.0 / 44100},
              std::tuple{"sync.wmv", 1, "", "", 0.0005},
              std::tuple{"sync.mkv", 2, "divx", "flac", 1.0 / 44100}}) {
            Output(name, format, video, audio);
            scope.prompts.messages.clear();
            Click(IDC_BUTTON_CONVERT);
            // Uncompressed picture: only the question about its size, answered Yes.
            for (const auto& message : scope.prompts.messages)
                EXPECT_TRUE(message.text.startsWith("You do not select a video compressor"))
                    << message.text.toStdString();
            ASSERT_TRUE(WaitUntilIdle());
            // The file starts at the frame of 0.40 s; WMA's priming and the frame its decoders
            // drop (2 × 2,048 samples) start both streams a little late.
            EXPECT_NEAR(ExpectClicksOnFlashes(clip, name, tolerance), -0.4, 0.1) << name;
        }
    });
}

// The modern file a user makes through the options dialog: MP4 by the custom multiplexer,
// H.264 and AAC; it plays, and every click still falls on its flash.
TEST_F(ConvertTest, AnMp4ChosenInTheOptionsDialogIsWrittenInSync) {
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(8, 25, {1.0, 4.0, 7.0}, 0.3, 0.01);
    const int h264 = graph::FindDevice(graph::DeviceCategory::VideoCompressor, "libx264");
    const int aac = graph::FindDevice(graph::DeviceCategory::AudioCompressor, "(advanced audio coding)");
    ASSERT_GE(h264, 0);
    ASSERT_GE(aac, 0);
    testsupport::RunModal(dlg, [&] {
        Open(clip.path);
        PointsBeforeFlashes(clip, 0.3, 0.01);

        bool optionsRan = false;
        QTimer::singleShot(0, [&] {
            auto* options = qobject_cast<CDialogOutputSettings*>(QApplication::activeModalWidget());
            if (!options)
                return;
            optionsRan = true;
            const auto pick = [&](int id, int row) {
                EXPECT_TRUE(testsupport::PickRow(options->Item<QComboBox>(id), row)) << id;
            };
            pick(IDC_COMBO_OUTPUT_FORMAT, 2);
            testsupport::TypeInto(options->Item<QLineEdit>(IDC_EDIT_OUTPUT_FILE), folder + "/film.mp4");
            pick(IDC_COMBO_MUXER_SORTED,
                 options->Item<QComboBox>(IDC_COMBO_MUXER_SORTED)->findText("mp4 Mux"));
            pick(IDC_COMBO_VIDEO_COMPRESSOR, h264 + 1);
            pick(IDC_COMBO_AUDIO_COMPRESSOR, aac + 1);
            pick(IDC_COMBO_FRAME_RATE, 0);
            QTest::mouseClick(options->GetDlgItem(IDC_BUTTON_OPTIONS_OK), Qt::LeftButton);
        });
        Click(IDC_BUTTON_OUTPUT_SETTINGS);
        ASSERT_TRUE(optionsRan);
        ASSERT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        ASSERT_EQ(dlg.output.outputFileName, folder + "/film.mp4");

        const auto continueAtOnce = ContinueAtOnce();
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(dlg.converting, 1);
        ASSERT_TRUE(WaitUntilIdle());
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        EXPECT_EQ(Probe("stream=codec_name"), "h264\naac");
        EXPECT_TRUE(Probe("format=format_name").contains("mp4"));
        // AAC smears the click's edge over a few samples; the pictures start on time.
        EXPECT_NEAR(ExpectClicksOnFlashes(clip, "film.mp4", 0.001), 0, 0.5 / clip.fps);

        // Then the source's own picture, copied: its packets are the source's.
        QTimer::singleShot(0, [&] {
            auto* options = qobject_cast<CDialogOutputSettings*>(QApplication::activeModalWidget());
            if (!options)
                return;
            auto* rows = options->Item<QComboBox>(IDC_COMBO_VIDEO_COMPRESSOR);
            EXPECT_TRUE(testsupport::PickRow(rows, rows->count() - 1));
            testsupport::TypeInto(options->Item<QLineEdit>(IDC_EDIT_OUTPUT_FILE),
                                  folder + "/film_copy.mp4");
            QTest::mouseClick(options->GetDlgItem(IDC_BUTTON_OPTIONS_OK), Qt::LeftButton);
        });
        Click(IDC_BUTTON_OUTPUT_SETTINGS);
        ASSERT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        ASSERT_EQ(dlg.output.copySourcePicture, 1);
        Click(IDC_BUTTON_CONVERT);
        ASSERT_EQ(dlg.converting, 1);
        ASSERT_TRUE(WaitUntilIdle());
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        EXPECT_EQ(Probe("stream=codec_name"), "h264\naac");
        const auto packets = [](const QString& file) {
            QProcess ffmpeg;
            ffmpeg.start("ffmpeg", {"-v", "error", "-i", file, "-map", "0:v", "-c", "copy", "-f",
                                    "framemd5", "-"});
            ffmpeg.waitForFinished(30000);
            QStringList digests;
            for (const QString& line : QString::fromUtf8(ffmpeg.readAllStandardOutput()).split('\n'))
                if (!line.startsWith('#') && line.count(',') == 5)
                    digests << line.section(',', 5).trimmed();
            return digests;
        };
        EXPECT_EQ(packets(dlg.output.outputFileName), packets(QString::fromStdString(clip.path)));
        EXPECT_NEAR(ExpectClicksOnFlashes(clip, "film_copy.mp4", 0.001), 0, 0.5 / clip.fps);
    });
}

// "Keep the pitch", chosen in the options dialog as a user chooses it: stored, shown again,
// kept by Cancel; the written file's clicks stay on their flashes and its tone at 440 Hz
// where resampling would raise it by 17 cents; the preview plays the same sound.
TEST_F(ConvertTest, TheKeptPitchIsStoredWrittenAndHeardInThePreview) {
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(4, 25, {1.0, 3.0}, 0.3, 0.01);
    const auto runOptions = [&](const std::function<void(CDialogOutputSettings&)>& use) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            if (auto* options =
                    qobject_cast<CDialogOutputSettings*>(QApplication::activeModalWidget())) {
                ran = true;
                use(*options);
            }
        });
        Click(IDC_BUTTON_OUTPUT_SETTINGS);
        EXPECT_TRUE(ran);
    };
    const auto keepBox = [](CDialogOutputSettings& options) {
        return options.Item<QCheckBox>(IDC_CHECK_KEEP_PITCH);
    };
    testsupport::RunModal(dlg, [&] {
        Open(clip.path);
        PointsBeforeFlashes(clip, 0.3, 0.01);
        EXPECT_EQ(dlg.output.keepPitch, 0);
        runOptions([&](CDialogOutputSettings& options) {
            EXPECT_FALSE(keepBox(options)->isChecked());
            EXPECT_TRUE(keepBox(options)->isVisible());
            QTest::mouseClick(keepBox(options), Qt::LeftButton);
            QTest::mouseClick(options.GetDlgItem(IDC_BUTTON_OPTIONS_OK), Qt::LeftButton);
        });
        ASSERT_EQ(dlg.output.keepPitch, 1);
        EXPECT_EQ(settings::Profile().GetProfileInt("Settings", "b_keep_pitch", 0), 1);
        OutputSettings restarted;
        ReadFrameRateAndBitrates(settings::Profile(), restarted);
        EXPECT_EQ(restarted.keepPitch, 1);
        runOptions([&](CDialogOutputSettings& options) {
            EXPECT_TRUE(keepBox(options)->isChecked());
            QTest::mouseClick(keepBox(options), Qt::LeftButton);
            QTest::mouseClick(options.GetDlgItem(IDC_BUTTON_OPTIONS_CANCEL), Qt::LeftButton);
        });
        EXPECT_EQ(dlg.output.keepPitch, 1);

        Output("pitch.avi", 0);
        const auto yes = ContinueAtOnce();
        Click(IDC_BUTTON_CONVERT);
        ASSERT_TRUE(WaitUntilIdle());
        ExpectClicksOnFlashes(clip, "pitch.avi", 0.001);
        int rate = 0;
        const std::vector<std::int16_t> written =
            testsupport::PresentedSound(dlg.output.outputFileName.toStdString(), &rate);
        // Between the points at 0.5 s and 2.5 s, clear of the clicks.
        EXPECT_NEAR(testsupport::ToneFrequency(written, rate, rate * 13 / 10, rate * 21 / 10), 440,
                    0.13);

        const QString sink = testsupport::TestSoundSink();
        if (sink.isEmpty())
            return; // no test sound server to hear the preview on
        testsupport::SoundCapture capture(sink);
        ASSERT_TRUE(capture.WaitUntilStarted()) << "parec recorded nothing";
        const long before = capture.Frames();
        dlg.SetDlgItemText(IDC_EDIT_PREVIEW_START, "1.2");
        Click(IDC_BUTTON_PREVIEW_VIDEO);
        ASSERT_EQ(dlg.previewRunning, 1);
        // The tone from the moment it is heard until 0.8 s of it have played (video 1.2 to
        // 2.0 s), as the device counts: a stall of a busy machine plays no tone.
        const int captureRate = testsupport::kClipSampleRate;
        const auto toneStart = [&] {
            for (long frame = before; frame < capture.Frames(); ++frame) {
                if (std::abs(capture.Samples()[2 * frame]) > 2000)
                    return frame;
            }
            return -1L;
        };
        const bool played = QTest::qWaitFor(
            [&] {
                const long start = toneStart();
                return start >= 0 &&
                       capture.SoundingFrames(start, capture.Frames()) >= captureRate * 8 / 10;
            },
            30000);
        Click(IDC_BUTTON_PREVIEW_VIDEO);
        const long from = toneStart();
        ASSERT_GE(from, 0) << "the preview was not heard";
        ASSERT_TRUE(played) << "the preview stopped playing";
        // Its frequency over 0.75 s of it, stretch by stretch, leaving out the start (the
        // left channel).
        std::vector<std::int16_t> heard;
        for (long frame = 0; frame < capture.Frames(); ++frame)
            heard.push_back(capture.Samples()[2 * frame]);
        const long span = captureRate * 3 / 4;
        double cycles = 0;
        long measured = 0;
        for (const auto& [begin, end] :
             capture.SoundingStretches(from + captureRate / 20, capture.Frames())) {
            const long until = std::min(end, begin + span - measured);
            // Too short to hold a few periods of the tone.
            if (until - begin < captureRate / 100)
                continue;
            cycles += testsupport::ToneFrequency(heard, captureRate, begin, until) *
                      double(until - begin) / captureRate;
            measured += until - begin;
            if (measured >= span)
                break;
        }
        ASSERT_GT(measured, span / 2);
        EXPECT_NEAR(cycles * captureRate / measured, 440, 0.13);
    });
}
