// The Options button under the running main window: the window's settings go into the
// options dialog and, on OK only, come back with the summary line rewritten.
#include "app/vellum_dlg.h"
#include "options/output_settings_dialog.h"
#include "platform/graph/writing/device_enumerator.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"
#include "support/user_input.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

class OptionsButtonTest : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::UseTemporarySettings(); }

    // Clicks Options and plays `steps` in the options dialog once it runs.
    void RunOptions(const std::function<void(CDialogOutputSettings&)>& steps) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* options = qobject_cast<CDialogOutputSettings*>(QApplication::activeModalWidget());
            if (!options)
                return;
            ran = true;
            steps(*options);
            if (options->isVisible())
                options->reject();
        });
        QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_OUTPUT_SETTINGS), Qt::LeftButton);
        EXPECT_TRUE(ran);
    }
    static void Pick(CDialogOutputSettings& options, int id, int row) {
        ASSERT_TRUE(testsupport::PickRow(options.Item<QComboBox>(id), row));
    }
    static void Type(CDialogOutputSettings& options, int id, const QString& text) {
        testsupport::TypeInto(options.Item<QLineEdit>(id), text);
    }
    static void Click(CDialogOutputSettings& options, int id) {
        QTest::mouseClick(options.GetDlgItem(id), Qt::LeftButton);
    }
    QString Status() const { return dlg.GetDlgItemText(IDC_STATIC_STATUS); }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};

} // namespace

TEST_F(OptionsButtonTest, OkTakesTheChoicesBackAndRewritesTheSummaryCancelChangesNothing) {
    const QString folder = testsupport::TemporaryFolder();
    dlg.output.outputFileName = folder + "/film.wmv";
    const std::string clip = testsupport::PlainClip(320, 240, 25, 1);
    testsupport::RunModal(dlg, [&] {
        const auto oldCompressor = dlg.videoCompressor;
        RunOptions([&](CDialogOutputSettings& options) {
            EXPECT_EQ(options.Item<QLineEdit>(IDC_EDIT_OUTPUT_FILE)->text(), folder + "/film.wmv");
            EXPECT_EQ(options.Item<QComboBox>(IDC_COMBO_FRAME_RATE)->itemText(0),
                      "Original frame rate");
            Pick(options, IDC_COMBO_OUTPUT_FORMAT, 0);
            Pick(options, IDC_COMBO_RESOLUTION, 6);
            Pick(options, IDC_COMBO_VIDEO_COMPRESSOR,
                 graph::FindDevice(graph::DeviceCategory::VideoCompressor, "divx") + 1);
            Type(options, IDC_EDIT_SKIP_FORWARD, "5");
            Type(options, IDC_EDIT_AUDIO_SKIP_BACKWARD, "0.5");
            Click(options, IDC_BUTTON_OPTIONS_OK);
        });
        EXPECT_EQ(dlg.output.outputFormat, 0);
        EXPECT_EQ(dlg.output.outputFileName, folder + "/film.avi");
        EXPECT_EQ(dlg.output.outputWidth, 352);
        EXPECT_EQ(dlg.output.outputHeight, 288);
        EXPECT_EQ(dlg.syncState.skipForwardSeconds, 5);
        EXPECT_DOUBLE_EQ(dlg.syncState.audioSkipBackwardSeconds, 0.5);
        EXPECT_EQ(dlg.output.useVideoCompressor, 1);
        ASSERT_TRUE(dlg.videoCompressor);
        EXPECT_NE(dlg.videoCompressor, oldCompressor);
        // No video probed yet: no size to name.
        EXPECT_EQ(Status(), "Output file: " + folder + "/film.avi     Resolution: Original size");

        RunOptions([&](CDialogOutputSettings& options) {
            Pick(options, IDC_COMBO_OUTPUT_FORMAT, 1);
            Type(options, IDC_EDIT_SKIP_FORWARD, "9");
            Click(options, IDC_BUTTON_OPTIONS_CANCEL);
        });
        EXPECT_EQ(dlg.output.outputFormat, 0);
        EXPECT_EQ(dlg.syncState.skipForwardSeconds, 5);
        EXPECT_EQ(Status(), "Output file: " + folder + "/film.avi     Resolution: Original size");

        scope.prompts.fileAnswers = {QString::fromStdString(clip)};
        QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_ADD_VIDEO), Qt::LeftButton);
        ASSERT_TRUE(dlg.videoPlayer);
        RunOptions([&](CDialogOutputSettings& options) {
            EXPECT_EQ(options.Item<QComboBox>(IDC_COMBO_RESOLUTION)->currentText(),
                      "Original size 320*240");
            EXPECT_EQ(options.Item<QComboBox>(IDC_COMBO_FRAME_RATE)->itemText(0),
                      "Original frame rate 25.000");
            EXPECT_EQ(options.Item<QLineEdit>(IDC_EDIT_SKIP_FORWARD)->text(), "5");
            Click(options, IDC_BUTTON_OPTIONS_OK);
        });
        EXPECT_EQ(Status(), "Output file: " + folder + "/film.avi     Resolution: 320*240");
        // The skip steps chosen are the ones the transport uses.
        dlg.syncState.audioOffset = 0;
        QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_AUDIO_JUMP_BACKWARD), Qt::LeftButton);
        EXPECT_EQ(dlg.syncState.audioOffset, -UNITS / 2);
    });
}
