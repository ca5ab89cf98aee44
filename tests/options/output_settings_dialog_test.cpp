// "Output options" driven through its controls inside its own modal loop, with the settings
// store looked at afterwards: what it shows for the owner's values, what OK stores and
// refuses, Default, the muxer lists, the extension rule, Cancel, and the codec settings.
#include "language/language.h"
#include "options/av_options_dialog.h"
#include "options/codec_settings.h"
#include "options/output_settings_dialog.h"
#include "options/picture_copy_check.h"
#include "platform/core/guid.h"
#include "platform/graph/filter.h"
#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/filter_options.h"
#include "platform/settings/store.h"
#include "resources/resource.h"
#include "resources/strings.h"
#include "support/drift_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"
#include "support/user_input.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using graph::DeviceCategory;

constexpr const char* kUnset = "<unset>";

class OutputOptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::UseTemporarySettings();
        dialog.outputFileName = "/tmp/films/clip.wmv";
        dialog.nativeWidth = 640;
        dialog.nativeHeight = 480;
        dialog.outputWidth = 640;
        dialog.outputHeight = 480;
        dialog.videoCount = 1;
        dialog.sourceFrameRate = 25;
        dialog.videoBitrate = 798720;
    }
    // A test that loads a language leaves the built-in English texts to the others.
    void TearDown() override { Language() = CLanguage(); }

    QComboBox* Combo(int id) const { return dialog.Item<QComboBox>(id); }
    QLineEdit* Edit(int id) const { return dialog.Item<QLineEdit>(id); }
    void Pick(int id, int row) { ASSERT_TRUE(testsupport::PickRow(Combo(id), row)) << id << " " << row; }
    void PickText(int id, const QString& text) {
        const int row = Combo(id)->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        Pick(id, row);
    }
    void Type(int id, const QString& text) { testsupport::TypeInto(Edit(id), text); }
    void Click(int id) { QTest::mouseClick(dialog.GetDlgItem(id), Qt::LeftButton); }
    bool Shown(int id) const { return dialog.GetDlgItem(id)->isVisible(); }
    static QString Stored(const char* section, const char* name) {
        return settings::Profile().GetProfileString(section, name, kUnset);
    }
    std::vector<QString> Messages() const {
        std::vector<QString> texts;
        for (const auto& message : scope.prompts.messages)
            texts.push_back(message.text);
        return texts;
    }

    testsupport::PromptScope scope;
    CDialogOutputSettings dialog;
};

int Entry(DeviceCategory category, const char* name) {
    return graph::FindDevice(category, name);
}

} // namespace

TEST_F(OutputOptionsTest, OpensOnTheOwnersValuesAndShowsWhatTheFormatUses) {
    dialog.outputFormat = 1;
    dialog.frameRateIndex = 0;
    dialog.audioBitrate = 192000;
    dialog.audioSkipForwardSeconds = 0.05f;
    const int result = testsupport::RunModal(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Output options");
        EXPECT_EQ(Combo(IDC_COMBO_RESOLUTION)->itemText(0), "Original size 640*480");
        EXPECT_EQ(Combo(IDC_COMBO_RESOLUTION)->currentIndex(), 0);
        EXPECT_EQ(Combo(IDC_COMBO_RESOLUTION)->itemText(8), "Custom size");
        EXPECT_FALSE(Shown(IDC_EDIT_CUSTOM_WIDTH));
        EXPECT_EQ(Combo(IDC_COMBO_FRAME_RATE)->itemText(0), "Original frame rate 25.000");
        EXPECT_EQ(Edit(IDC_EDIT_CUSTOM_FRAME_RATE)->text(), "23.976000");
        EXPECT_EQ(Edit(IDC_EDIT_VIDEO_BITRATE)->text(), "780");
        EXPECT_EQ(Combo(IDC_COMBO_AUDIO_BITRATE)->currentText(), "192");
        EXPECT_EQ(Edit(IDC_EDIT_AUDIO_SKIP_FORWARD)->text(), "0.05");
        EXPECT_EQ(Edit(IDC_EDIT_SKIP_FORWARD)->text(), "20");

        // WMV chooses bit rates; AVI compressors; the custom multiplexer also its muxer.
        for (int id : {IDC_EDIT_VIDEO_BITRATE, IDC_COMBO_AUDIO_BITRATE})
            EXPECT_TRUE(Shown(id)) << id;
        for (int id : {IDC_COMBO_VIDEO_COMPRESSOR, IDC_BUTTON_VIDEO_CODEC_SETTINGS,
                       IDC_STATIC_OPTIONS_NOTE, IDC_COMBO_MUXER_SORTED, IDC_COMBO_MUXER_ORDERED,
                       IDC_COMBO_CODEC_LIST, IDC_EDIT_AUDIO_BITRATE})
            EXPECT_FALSE(Shown(id)) << id;
        Pick(IDC_COMBO_OUTPUT_FORMAT, 0);
        EXPECT_EQ(Edit(IDC_EDIT_OUTPUT_FILE)->text(), "/tmp/films/clip.avi");
        for (int id : {IDC_COMBO_VIDEO_COMPRESSOR, IDC_COMBO_AUDIO_COMPRESSOR,
                       IDC_BUTTON_VIDEO_CODEC_SETTINGS, IDC_STATIC_OPTIONS_NOTE})
            EXPECT_TRUE(Shown(id)) << id;
        for (int id : {IDC_EDIT_VIDEO_BITRATE, IDC_COMBO_MUXER_SORTED})
            EXPECT_FALSE(Shown(id)) << id;
        Pick(IDC_COMBO_OUTPUT_FORMAT, 2);
        EXPECT_TRUE(Shown(IDC_COMBO_MUXER_SORTED));
        EXPECT_FALSE(Shown(IDC_COMBO_MUXER_ORDERED));

        // Rows that name a size or a rate fill the hidden edits; the custom rows show them.
        Pick(IDC_COMBO_RESOLUTION, 2);
        EXPECT_EQ(Edit(IDC_EDIT_CUSTOM_WIDTH)->text(), "720");
        EXPECT_EQ(Edit(IDC_EDIT_CUSTOM_HEIGHT)->text(), "576");
        Pick(IDC_COMBO_RESOLUTION, 8);
        EXPECT_TRUE(Shown(IDC_EDIT_CUSTOM_WIDTH));
        EXPECT_EQ(Edit(IDC_EDIT_CUSTOM_WIDTH)->text(), "640");
        Pick(IDC_COMBO_FRAME_RATE, 3);
        EXPECT_EQ(Edit(IDC_EDIT_CUSTOM_FRAME_RATE)->text(), "25.000000");
        EXPECT_FALSE(Shown(IDC_EDIT_CUSTOM_FRAME_RATE));
        Pick(IDC_COMBO_FRAME_RATE, 6);
        EXPECT_TRUE(Shown(IDC_EDIT_CUSTOM_FRAME_RATE));
        // Every text fits its control in every format.
        for (int format : {0, 1, 2}) {
            Pick(IDC_COMBO_OUTPUT_FORMAT, format);
            for (QWidget* control : dialog.findChildren<QWidget*>()) {
                auto* label = qobject_cast<QLabel*>(control);
                if (!control->isVisible() || !(label || qobject_cast<QAbstractButton*>(control)) ||
                    (label && label->wordWrap()))
                    continue;
                EXPECT_GE(control->width(), control->sizeHint().width())
                    << ui::Dialog::ControlId(control) << " in format " << format;
            }
        }
        Click(IDC_BUTTON_OPTIONS_CANCEL);
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST_F(OutputOptionsTest, OkStoresEveryValueUnderItsName) {
    dialog.outputFormat = 0;
    int result = testsupport::RunModal(dialog, [&] {
        Pick(IDC_COMBO_OUTPUT_FORMAT, 1);
        Pick(IDC_COMBO_RESOLUTION, 8);
        Type(IDC_EDIT_CUSTOM_WIDTH, "721");
        Type(IDC_EDIT_CUSTOM_HEIGHT, "15");
        Type(IDC_EDIT_VIDEO_BITRATE, "780");
        Pick(IDC_COMBO_AUDIO_BITRATE, 3);
        Pick(IDC_COMBO_FRAME_RATE, 6);
        // A comma before the decimals, as many languages write it.
        Type(IDC_EDIT_CUSTOM_FRAME_RATE, "12,5");
        Pick(IDC_COMBO_RESIZE_MODE, 1);
        Type(IDC_EDIT_SKIP_FORWARD, "7");
        Type(IDC_EDIT_AUDIO_SKIP_BACKWARD, "0,25");
        Click(IDC_BUTTON_OPTIONS_OK);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(dialog.outputWidth, 720);
    EXPECT_EQ(dialog.outputHeight, 16);
    EXPECT_EQ(dialog.videoBitrate, 798720);
    EXPECT_EQ(dialog.audioBitrate, 320000);
    EXPECT_EQ(dialog.frameRateIndex, 6);
    EXPECT_DOUBLE_EQ(dialog.outputFrameRate, 12.5);
    EXPECT_EQ(dialog.stretchMode, 0);
    EXPECT_EQ(dialog.outputFormat, 1);
    EXPECT_EQ(dialog.outputFileName, "/tmp/films/clip.wmv");
    EXPECT_EQ(dialog.skipForwardSeconds, 7);
    EXPECT_FLOAT_EQ(dialog.audioSkipBackwardSeconds, 0.25f);

    EXPECT_EQ(Stored("Settings", "OutputWidth"), "720");
    EXPECT_EQ(Stored("Settings", "OutputHigh"), "16");
    EXPECT_EQ(Stored("Settings", "n_video_bitrate"), "798720");
    EXPECT_EQ(Stored("Settings", "n_audio_bitrate"), "320000");
    EXPECT_EQ(Stored("Settings", "OutputFrameRateIndex"), "6");
    // The rate is stored as typed and read back as the same number.
    EXPECT_EQ(Stored("Settings", "OutputFrameRate"), "12,5");
    OutputSettings restarted;
    ReadFrameRateAndBitrates(settings::Profile(), restarted);
    EXPECT_DOUBLE_EQ(restarted.outputFrameRate, 12.5);
    EXPECT_EQ(Stored("Settings", "OutputName"), "/tmp/films/clip.wmv");
    EXPECT_EQ(Stored("Settings", "nOuptputFormat"), "1");
    EXPECT_EQ(Stored("Settings", "SkipForward"), "7");
    EXPECT_EQ(Stored("Settings", "SkipBackward"), "10");
    EXPECT_EQ(Stored("Settings", "mf_audio_skip_forward"), "0.300000");
    EXPECT_EQ(Stored("Settings", "mf_audio_skip_backward"), "0.250000");
    // The resize mode lives only in memory.
    EXPECT_EQ(Stored("Settings", "stretchMode"), kUnset);
    // The compressors never chosen are stored as the rows the default search selected.
    EXPECT_EQ(Stored("DexVideoCompress", "CompressorNumber"),
              QString::number(Entry(DeviceCategory::VideoCompressor, "divx")));
    EXPECT_EQ(Stored("DirectShowFilters", "CurrentMuxerName"), "AVI Mux");
    const int avi = Entry(DeviceCategory::Filter, "avi mux");
    EXPECT_EQ(Stored("DirectShowFilters", "CurrentMuxer"), QString::number(avi));
    EXPECT_EQ(Stored("DirectShowFilters", "CurrentMuxerCLSID"),
              QString::fromStdString(core::GuidToString(
                  graph::EnumerateDevices(DeviceCategory::Filter)[avi].classId)));
}

TEST_F(OutputOptionsTest, OriginalFrameRateWithoutAVideoStoresTheDefaultRate) {
    dialog.videoCount = 0;
    dialog.nativeWidth = dialog.nativeHeight = 0;
    dialog.sourceFrameRate = 23.976;
    dialog.frameRateIndex = 4;
    dialog.outputFrameRate = 29.97;
    testsupport::RunModal(dialog, [&] {
        EXPECT_EQ(Combo(IDC_COMBO_FRAME_RATE)->itemText(0), "Original frame rate");
        EXPECT_EQ(Combo(IDC_COMBO_RESOLUTION)->itemText(0), "Original size");
        // 640 × 480 is no longer the native size, so it is the row of its own.
        EXPECT_EQ(Combo(IDC_COMBO_RESOLUTION)->currentIndex(), 1);
        EXPECT_EQ(Edit(IDC_EDIT_CUSTOM_FRAME_RATE)->text(), "29.970");
        Pick(IDC_COMBO_FRAME_RATE, 0);
        Click(IDC_BUTTON_OPTIONS_OK);
    });
    EXPECT_EQ(dialog.frameRateIndex, 0);
    EXPECT_DOUBLE_EQ(dialog.outputFrameRate, dialog.sourceFrameRate);
    EXPECT_EQ(Stored("Settings", "OutputFrameRate"), "23.976");
    EXPECT_EQ(Stored("Settings", "OutputFrameRateIndex"), "0");
}

TEST_F(OutputOptionsTest, BadFieldsAreRefusedWithTheirReasonAndNothingIsStored) {
    const int result = testsupport::RunModal(dialog, [&] {
        const struct {
            int field;
            const char* typed;
            const char* message;
        } cases[] = {
            {IDC_EDIT_SKIP_FORWARD, "0", "Enter an integer between 1 and 2147483647."},
            {IDC_EDIT_SKIP_FORWARD, "2147483648", "Enter an integer between 1 and 2147483647."},
            {IDC_EDIT_SKIP_BACKWARD, "1.5", "Enter an integer."},
            {IDC_EDIT_AUDIO_SKIP_FORWARD, "0.001", "Enter a number between 0.01 and 65535."},
            {IDC_EDIT_AUDIO_SKIP_BACKWARD, "fast", "Enter a number."},
        };
        for (const auto& c : cases) {
            const QString before = Edit(c.field)->text();
            Type(c.field, c.typed);
            scope.prompts.messages.clear();
            Click(IDC_BUTTON_OPTIONS_OK);
            ASSERT_EQ(Messages(), std::vector<QString>{c.message}) << c.typed;
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_TRUE(Edit(c.field)->hasFocus());
            Type(c.field, before);
        }
        Pick(IDC_COMBO_FRAME_RATE, 6);
        for (const char* rate : {"0", "0.0009", "-5", "many"}) {
            Type(IDC_EDIT_CUSTOM_FRAME_RATE, rate);
            scope.prompts.messages.clear();
            Click(IDC_BUTTON_OPTIONS_OK);
            ASSERT_EQ(Messages(), std::vector<QString>{"The frame rate is too small!"}) << rate;
            EXPECT_TRUE(scope.prompts.messages[0].caption.isEmpty());
        }
        EXPECT_EQ(Stored("Settings", "OutputFrameRateIndex"), kUnset);
        EXPECT_EQ(Stored("Settings", "SkipForward"), kUnset);
        EXPECT_EQ(Stored("DirectShowFilters", "CurrentMuxerName"), kUnset);
        Type(IDC_EDIT_CUSTOM_FRAME_RATE, "0.001");
        Click(IDC_BUTTON_OPTIONS_OK);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(Stored("Settings", "OutputFrameRate"), "0.001");
}

TEST_F(OutputOptionsTest, CancelStoresAndChangesNothing) {
    const auto before = dialog.videoCompressor;
    testsupport::RunModal(dialog, [&] {
        Pick(IDC_COMBO_OUTPUT_FORMAT, 0);
        Pick(IDC_COMBO_VIDEO_COMPRESSOR, 1);
        Type(IDC_EDIT_SKIP_FORWARD, "3");
        Click(IDC_BUTTON_OPTIONS_CANCEL);
    });
    for (const char* name : {"OutputName", "nOuptputFormat", "SkipForward", "OutputWidth"})
        EXPECT_EQ(Stored("Settings", name), kUnset) << name;
    EXPECT_EQ(Stored("DexVideoCompress", "CompressorNumber"), kUnset);
    EXPECT_EQ(Stored("DirectShowFilters", "CurrentMuxerCLSID"), kUnset);
    EXPECT_EQ(dialog.videoCompressor, before);
}

TEST_F(OutputOptionsTest, DefaultResetsWhatTheFormatChoosesAndAlwaysTheSkipSteps) {
    settings::Profile().WriteProfileInt("DexVideoCompress", "CompressorNumber", 2);
    settings::Profile().WriteProfileInt("DexAudioCompress", "CompressorNumber", -1);
    settings::Profile().WriteProfileString("DirectShowFilters", "CurrentMuxerName", "mp4 Mux");
    const int divx = Entry(DeviceCategory::VideoCompressor, "divx") + 1;
    const int adpcm = Entry(DeviceCategory::AudioCompressor, "microsoft adpcm") + 1;
    testsupport::RunModal(dialog, [&] {
        const auto typeSkips = [&] {
            for (int id : {IDC_EDIT_SKIP_FORWARD, IDC_EDIT_SKIP_BACKWARD,
                           IDC_EDIT_AUDIO_SKIP_FORWARD, IDC_EDIT_AUDIO_SKIP_BACKWARD})
                Type(id, "5");
        };
        // WMV: the bit rates, not the compressors.
        EXPECT_EQ(Combo(IDC_COMBO_VIDEO_COMPRESSOR)->currentIndex(), 3);
        EXPECT_EQ(Combo(IDC_COMBO_AUDIO_COMPRESSOR)->currentIndex(), 0);
        Type(IDC_EDIT_VIDEO_BITRATE, "100");
        Pick(IDC_COMBO_AUDIO_BITRATE, 3);
        typeSkips();
        Click(IDC_BUTTON_OUTPUT_DEAULT);
        EXPECT_EQ(Edit(IDC_EDIT_VIDEO_BITRATE)->text(), "780");
        EXPECT_EQ(Combo(IDC_COMBO_AUDIO_BITRATE)->currentIndex(), 1);
        EXPECT_EQ(Combo(IDC_COMBO_VIDEO_COMPRESSOR)->currentIndex(), 3);
        EXPECT_EQ(Combo(IDC_COMBO_AUDIO_COMPRESSOR)->currentIndex(), 0);
        EXPECT_EQ(Edit(IDC_EDIT_SKIP_FORWARD)->text(), "20");
        EXPECT_EQ(Edit(IDC_EDIT_SKIP_BACKWARD)->text(), "10");
        EXPECT_EQ(Edit(IDC_EDIT_AUDIO_SKIP_FORWARD)->text(), "0.3");

        // AVI: the compressors, not the bit rates nor the muxer.
        Pick(IDC_COMBO_OUTPUT_FORMAT, 0);
        Type(IDC_EDIT_VIDEO_BITRATE, "100");
        typeSkips();
        Click(IDC_BUTTON_OUTPUT_DEAULT);
        EXPECT_EQ(Combo(IDC_COMBO_VIDEO_COMPRESSOR)->currentIndex(), divx);
        EXPECT_EQ(Combo(IDC_COMBO_AUDIO_COMPRESSOR)->currentIndex(), adpcm);
        EXPECT_EQ(Edit(IDC_EDIT_VIDEO_BITRATE)->text(), "100");
        EXPECT_EQ(Combo(IDC_COMBO_MUXER_SORTED)->currentText(), "mp4 Mux");
        EXPECT_EQ(Edit(IDC_EDIT_AUDIO_SKIP_BACKWARD)->text(), "0.3");

        // The custom multiplexer: also back to the AVI multiplexer.
        Pick(IDC_COMBO_OUTPUT_FORMAT, 2);
        Click(IDC_BUTTON_OUTPUT_DEAULT);
        EXPECT_EQ(Combo(IDC_COMBO_MUXER_SORTED)->currentText(), "AVI Mux");
        EXPECT_EQ(Combo(IDC_COMBO_MUXER_ORDERED)->currentText(), "AVI Mux");
        Click(IDC_BUTTON_OPTIONS_CANCEL);
    });
    EXPECT_TRUE(Messages().empty());
}

TEST_F(OutputOptionsTest, MuxerListsFindTheStoredNameAndStayInStep) {
    settings::Profile().WriteProfileString("DirectShowFilters", "CurrentMuxerName", "avi mux");
    testsupport::RunModal(dialog, [&] {
        Pick(IDC_COMBO_OUTPUT_FORMAT, 2);
        auto* sorted = Combo(IDC_COMBO_MUXER_SORTED);
        auto* ordered = Combo(IDC_COMBO_MUXER_ORDERED);
        EXPECT_EQ(sorted->currentText(), "AVI Mux");
        EXPECT_EQ(ordered->currentText(), "AVI Mux");
        // Only multiplexers, the modern containers among them; the hidden list numbers every
        // filter, as the settings store it.
        const auto& filters = graph::EnumerateDevices(DeviceCategory::Filter);
        EXPECT_EQ(sorted->count(),
                  std::count_if(filters.begin(), filters.end(), [](const graph::DeviceEntry& e) {
                      return e.kind == graph::FilterKind::Multiplexer;
                  }));
        EXPECT_EQ(ordered->count(), static_cast<int>(filters.size()));
        for (const char* name : {"mp4 Mux", "matroska Mux", "webm Mux", "mov Mux"})
            EXPECT_GE(sorted->findText(name), 0) << name;
        for (const char* name : {"Video Renderer", "Audio Renderer", "Audio Decoder", "Demultiplexer"})
            EXPECT_LT(sorted->findText(name), 0) << name;
        for (int row = 1; row < sorted->count(); ++row)
            EXPECT_LE(sorted->itemText(row - 1).compare(sorted->itemText(row), Qt::CaseInsensitive), 0);
        PickText(IDC_COMBO_MUXER_SORTED, "webm Mux");
        EXPECT_EQ(ordered->currentText(), "webm Mux");
        Click(IDC_BUTTON_OPTIONS_CANCEL);
    });
    EXPECT_TRUE(Messages().empty());

    // A stored filter that writes no file gives way to the default muxer.
    settings::Profile().WriteProfileString("DirectShowFilters", "CurrentMuxerName", "Audio Renderer");
    CDialogOutputSettings renderer;
    testsupport::RunModal(renderer, [&] {
        EXPECT_EQ(renderer.Item<QComboBox>(IDC_COMBO_MUXER_SORTED)->currentText(), "AVI Mux");
        EXPECT_EQ(renderer.Item<QComboBox>(IDC_COMBO_MUXER_ORDERED)->currentText(), "AVI Mux");
        renderer.reject();
    });
    EXPECT_TRUE(Messages().empty());

    settings::Profile().WriteProfileString("DirectShowFilters", "CurrentMuxerName", "No Such Mux");
    CDialogOutputSettings again;
    testsupport::RunModal(again, [&] {
        EXPECT_EQ(again.Item<QComboBox>(IDC_COMBO_MUXER_ORDERED)->currentIndex(), 0);
        EXPECT_EQ(again.Item<QComboBox>(IDC_COMBO_MUXER_SORTED)->currentIndex(), 0);
        again.reject();
    });
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_EQ(scope.prompts.messages[0].text, "can not find the default avi muxer!");
    EXPECT_EQ(scope.prompts.messages[0].caption, "error");
}

TEST_F(OutputOptionsTest, TheFileNameFollowsTheFormatAndBrowse) {
    dialog.outputFileName = "/tmp/videos.old/clip";
    testsupport::RunModal(dialog, [&] {
        // The dot of the folder is no extension.
        EXPECT_EQ(Edit(IDC_EDIT_OUTPUT_FILE)->text(), "/tmp/videos.old/clip.wmv");
        Pick(IDC_COMBO_OUTPUT_FORMAT, 0);
        EXPECT_EQ(Edit(IDC_EDIT_OUTPUT_FILE)->text(), "/tmp/videos.old/clip.avi");
        // A custom muxer gives the name its container's extension.
        Pick(IDC_COMBO_OUTPUT_FORMAT, 2);
        PickText(IDC_COMBO_MUXER_SORTED, "mp4 Mux");
        EXPECT_EQ(Edit(IDC_EDIT_OUTPUT_FILE)->text(), "/tmp/videos.old/clip.mp4");
        PickText(IDC_COMBO_MUXER_SORTED, "matroska Mux");
        EXPECT_EQ(Edit(IDC_EDIT_OUTPUT_FILE)->text(), "/tmp/videos.old/clip.mkv");
        // Default brings the AVI multiplexer back, and the name follows it.
        Click(IDC_BUTTON_OUTPUT_DEAULT);
        EXPECT_EQ(Edit(IDC_EDIT_OUTPUT_FILE)->text(), "/tmp/videos.old/clip.avi");
        PickText(IDC_COMBO_MUXER_SORTED, "matroska Mux");
        scope.prompts.fileAnswers = {QString("/home/me/out.final.mkv")};
        Click(IDC_BUTTON_BROWSE);
        EXPECT_EQ(Edit(IDC_EDIT_OUTPUT_FILE)->text(), "/home/me/out.final.mkv");
        Pick(IDC_COMBO_OUTPUT_FORMAT, 0);
        scope.prompts.fileAnswers = {QString("/home/me/new.mkv")};
        Click(IDC_BUTTON_BROWSE);
        EXPECT_EQ(Edit(IDC_EDIT_OUTPUT_FILE)->text(), "/home/me/new.avi");
        scope.prompts.fileAnswers = {std::nullopt};
        Click(IDC_BUTTON_BROWSE);
        EXPECT_EQ(Edit(IDC_EDIT_OUTPUT_FILE)->text(), "/home/me/new.avi");
        Click(IDC_BUTTON_OPTIONS_OK);
    });
    ASSERT_EQ(scope.prompts.fileDialogs.size(), 3u);
    const ui::FileDialogRequest& custom = scope.prompts.fileDialogs[0];
    EXPECT_EQ(custom.title, "Select Output File Name");
    EXPECT_EQ(custom.initialFolder, "/tmp/videos.old");
    EXPECT_EQ(custom.initialName, "*.*");
    ASSERT_EQ(custom.filters.size(), 1u);
    EXPECT_EQ(custom.filters[0].description, "Video file(*.*)");
    EXPECT_EQ(scope.prompts.fileDialogs[1].filters[0].description,
              "Audio Video Interleave file(*.avi)");
    EXPECT_EQ(scope.prompts.fileDialogs[1].initialFolder, "/home/me");
    EXPECT_EQ(Stored("Settings", "OutputName"), "/home/me/new.avi");
}

TEST_F(OutputOptionsTest, AModernMp4IsChosenThroughTheCustomMuxerAndWrongPairsAreRefused) {
    dialog.outputFileName = "/tmp/films/clip.mp4";
    dialog.outputFormat = 2;
    ASSERT_GE(Entry(DeviceCategory::VideoCompressor, "libx264"), 0);
    const QString h264 = QString::fromStdString(
        graph::EnumerateDevices(DeviceCategory::VideoCompressor)
            [Entry(DeviceCategory::VideoCompressor, "libx264")].friendlyName);
    const int aac = Entry(DeviceCategory::AudioCompressor, "(advanced audio coding)");
    ASSERT_GE(aac, 0);
    testsupport::RunModal(dialog, [&] {
        Pick(IDC_COMBO_OUTPUT_FORMAT, 2);
        PickText(IDC_COMBO_MUXER_SORTED, "mp4 Mux");
        PickText(IDC_COMBO_VIDEO_COMPRESSOR, h264);
        // The default sound compressor, ADPCM, has no place in MP4.
        Click(IDC_BUTTON_OPTIONS_OK);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], "The muxer \"mp4 Mux\" cannot hold the audio compressor "
                                 "\"Microsoft ADPCM\". Choose another audio compressor or "
                                 "another muxer.");
        // Nor uncompressed pictures.
        Pick(IDC_COMBO_VIDEO_COMPRESSOR, 0);
        Pick(IDC_COMBO_AUDIO_COMPRESSOR, aac + 1);
        scope.prompts.messages.clear();
        Click(IDC_BUTTON_OPTIONS_OK);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_NE(Messages()[0].indexOf("\"Full frames (uncompressed)\""), -1);
        EXPECT_EQ(Stored("Settings", "nOuptputFormat"), kUnset);

        PickText(IDC_COMBO_VIDEO_COMPRESSOR, h264);
        scope.prompts.messages.clear();
        Click(IDC_BUTTON_OPTIONS_OK);
    });
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(dialog.outputFormat, 2);
    EXPECT_EQ(dialog.outputFileName, "/tmp/films/clip.mp4");
    ASSERT_TRUE(dialog.videoCompressor && dialog.audioCompressor);
    EXPECT_EQ(dialog.useVideoCompressor, 1);
    EXPECT_EQ(dialog.useAudioCompressor, 1);
    EXPECT_EQ(dialog.audioCompressor->ClassId(),
              graph::EnumerateDevices(DeviceCategory::AudioCompressor)[aac].classId);
    EXPECT_EQ(Stored("DexAudioCompress", "CompressorNumber"), QString::number(aac));
    EXPECT_EQ(Stored("DirectShowFilters", "CurrentMuxerName"), "mp4 Mux");

    // The uncompressed rows clear the flags; AVI holds them.
    CDialogOutputSettings plain;
    plain.outputFormat = 0;
    testsupport::RunModal(plain, [&] {
        plain.Item<QComboBox>(IDC_COMBO_VIDEO_COMPRESSOR)->setCurrentIndex(0);
        plain.Item<QComboBox>(IDC_COMBO_AUDIO_COMPRESSOR)->setCurrentIndex(0);
        QTest::mouseClick(plain.GetDlgItem(IDC_BUTTON_OPTIONS_OK), Qt::LeftButton);
    });
    EXPECT_EQ(plain.useVideoCompressor, 0);
    EXPECT_EQ(plain.useAudioCompressor, 0);
    EXPECT_EQ(Stored("DexVideoCompress", "CompressorNumber"), "-1");
}

TEST_F(OutputOptionsTest, CodecSettingsAreKeptByTheEncoderAndUsedByItsNextCompressor) {
    dialog.outputFormat = 0;
    const int mpeg4 = Entry(DeviceCategory::VideoCompressor, "divx");
    ASSERT_GE(mpeg4, 0);
    bool pageSeen = false;
    testsupport::RunModal(dialog, [&] {
        // The uncompressed row has no codec to configure.
        Pick(IDC_COMBO_VIDEO_COMPRESSOR, 0);
        Click(IDC_BUTTON_VIDEO_CODEC_SETTINGS);
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);

        Pick(IDC_COMBO_VIDEO_COMPRESSOR, mpeg4 + 1);
        QTimer::singleShot(0, [&] {
            auto* page = qobject_cast<CDialogAvOptions*>(QApplication::activeModalWidget());
            if (!page)
                return;
            pageSeen = true;
            EXPECT_EQ(page->windowTitle(), "DivX MPEG-4 Video Codec");
            auto* rate = qobject_cast<QLineEdit*>(page->Editor("b"));
            ASSERT_TRUE(rate);
            rate->setText("2000000");
            QTest::mouseClick(page->GetDlgItem(IDOK_BUTTON), Qt::LeftButton);
        });
        Click(IDC_BUTTON_VIDEO_CODEC_SETTINGS);
        EXPECT_EQ(dialog.Item<QComboBox>(IDC_COMBO_CODEC_LIST)->currentText(),
                  "DivX MPEG-4 Video Codec");
        Click(IDC_BUTTON_OPTIONS_OK);
    });
    ASSERT_TRUE(pageSeen);
    EXPECT_EQ(options::StoredCodecState("mpeg4"), "b=2000000");
    auto* pages =
        graph::QueryFilterInterface<graph::ISpecifyPropertyPages>(dialog.videoCompressor.get());
    ASSERT_TRUE(pages);
    std::int64_t rate = 0;
    av_opt_get_int(pages->Options().Object(), "b", 0, &rate);
    EXPECT_EQ(rate, 2000000);
}

// The copy of the source picture is the last video compressor row. OK refuses it where the
// correction would change the picture, naming why and storing nothing; accepted, it stores
// its own number and no compressor, and the next opening shows it chosen.
TEST_F(OutputOptionsTest, TheSourcePictureCopyIsRefusedWhereThePictureWouldChange) {
    const testsupport::DriftingClip clip = testsupport::MakeDriftingClip(4, 25, {1.0}, 0.3, 0.01);
    dialog.videoPath = clip.path;
    dialog.nativeWidth = dialog.outputWidth = 160;
    dialog.nativeHeight = dialog.outputHeight = 120;
    dialog.frameRateIndex = 0;
    dialog.outputFormat = 2;
    dialog.outputFileName = "/tmp/films/clip.mp4";
    const int aac = Entry(DeviceCategory::AudioCompressor, "(advanced audio coding)");
    ASSERT_GE(aac, 0);
    testsupport::RunModal(dialog, [&] {
        auto* videoRows = Combo(IDC_COMBO_VIDEO_COMPRESSOR);
        EXPECT_EQ(videoRows->itemText(videoRows->count() - 1),
                  QString("Copy the source picture (no re-encoding)"));
        EXPECT_EQ(Combo(IDC_COMBO_AUDIO_COMPRESSOR)
                      ->findText(QString("Copy the source picture (no re-encoding)")),
                  -1);
        PickText(IDC_COMBO_MUXER_SORTED, "mp4 Mux");
        Pick(IDC_COMBO_AUDIO_COMPRESSOR, aac + 1);
        Pick(IDC_COMBO_VIDEO_COMPRESSOR, videoRows->count() - 1);
        Pick(IDC_COMBO_RESOLUTION, 8);
        Type(IDC_EDIT_CUSTOM_WIDTH, "320");
        Type(IDC_EDIT_CUSTOM_HEIGHT, "240");
        Click(IDC_BUTTON_OPTIONS_OK);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], "The source picture cannot be copied: the output size 320*240 "
                                 "is not the video's own 160*120. Choose the original size.");
        EXPECT_EQ(Stored("DexVideoCompress", "CompressorNumber"), kUnset);

        Pick(IDC_COMBO_RESOLUTION, 0);
        Pick(IDC_COMBO_FRAME_RATE, 5);
        scope.prompts.messages.clear();
        Click(IDC_BUTTON_OPTIONS_OK);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_TRUE(Messages()[0].startsWith("The source picture cannot be copied: the output "
                                             "frame rate 30.000 is not the video's own 25.000."));
        Pick(IDC_COMBO_FRAME_RATE, 0);
        scope.prompts.messages.clear();
        Click(IDC_BUTTON_OPTIONS_OK);
    });
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Stored("DexVideoCompress", "CompressorNumber"),
              QString::number(options::kCopyPictureNumber));
    EXPECT_EQ(dialog.copySourcePicture, 1);
    EXPECT_EQ(dialog.useVideoCompressor, 0);
    EXPECT_FALSE(dialog.videoCompressor);

    CDialogOutputSettings again;
    again.outputFormat = 2;
    testsupport::RunModal(again, [&] {
        auto* rows = again.Item<QComboBox>(IDC_COMBO_VIDEO_COMPRESSOR);
        EXPECT_EQ(rows->currentText(), QString("Copy the source picture (no re-encoding)"));
        QTest::mouseClick(again.GetDlgItem(IDC_BUTTON_OPTIONS_CANCEL), Qt::LeftButton);
    });
}

// With a language loaded, OK's refusals speak it, under its caption for an error: the dialog
// stays open until the user chooses what can be written.
TEST_F(OutputOptionsTest, RefusalsSpeakTheLoadedLanguage) {
    ASSERT_TRUE(Language().Init(QStringLiteral(QUILLET_LANGUAGE_DIR), "French_France"));
    dialog.outputFormat = 2;
    dialog.frameRateIndex = 0;
    const int h264 = Entry(DeviceCategory::VideoCompressor, "libx264");
    const int aac = Entry(DeviceCategory::AudioCompressor, "(advanced audio coding)");
    const int adpcm = Entry(DeviceCategory::AudioCompressor, "Microsoft ADPCM");
    ASSERT_TRUE(h264 >= 0 && aac >= 0 && adpcm >= 0);
    const struct {
        int videoRow; // -1: the copy of the source picture
        int audioRow;
        int resolutionRow;
        const char* message;
    } rows[] = {
        {h264 + 1, adpcm + 1, 0,
         "Le multiplexeur « mp4 Mux » ne peut pas recevoir le son du compresseur « Microsoft "
         "ADPCM ». Choisissez un autre compresseur audio ou un autre multiplexeur."},
        {0, aac + 1, 0,
         "Le multiplexeur « mp4 Mux » ne peut pas recevoir la vidéo du compresseur « Images "
         "complètes (non compressées) ». Choisissez un autre compresseur vidéo ou un autre "
         "multiplexeur."},
        {-1, aac + 1, 2,
         "L'image source ne peut pas être copiée : la taille de sortie 720*576 n'est pas celle "
         "de la vidéo, 640*480. Choisissez la taille d'origine."},
    };
    testsupport::RunModal(dialog, [&] {
        PickText(IDC_COMBO_MUXER_SORTED, "mp4 Mux");
        for (const auto& row : rows) {
            const int copyRow = Combo(IDC_COMBO_VIDEO_COMPRESSOR)->count() - 1;
            Pick(IDC_COMBO_VIDEO_COMPRESSOR, row.videoRow < 0 ? copyRow : row.videoRow);
            Pick(IDC_COMBO_AUDIO_COMPRESSOR, row.audioRow);
            Pick(IDC_COMBO_RESOLUTION, row.resolutionRow);
            scope.prompts.messages.clear();
            Click(IDC_BUTTON_OPTIONS_OK);
            ASSERT_EQ(Messages().size(), 1u);
            EXPECT_EQ(Messages()[0].toStdString(), row.message);
            EXPECT_EQ(scope.prompts.messages[0].caption.toStdString(), "Erreur");
        }
        Click(IDC_BUTTON_OPTIONS_CANCEL);
    });
}

TEST(CodecRowPick, EqualNamesWinAndVersionedDivxStandsInForAnother) {
    const QStringList codecs = {"Cinepak Codec", "DivX 4.12 Codec", "Intel IYUV", "DivX 5.0.2 Codec"};
    EXPECT_EQ(options::PickCodecRow(codecs, "divx 5.0.2 codec"), 3);
    EXPECT_EQ(options::PickCodecRow(codecs, "DivX 6.1 Pro Codec"), 1);
    EXPECT_EQ(options::PickCodecRow(codecs, "DivX Pro Codec"), -1);
    EXPECT_EQ(options::PickCodecRow(codecs, "Full frames (uncompressed)"), -1);
}
