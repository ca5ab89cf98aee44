#include "app/vellum_app.h"
#include "app/vellum_dlg.h"
#include "controls/bitmap_slider.h"
#include "controls/button_st.h"
#include "controls/hyperlink.h"
#include "platform/settings/store.h"
#include "resources/resource.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::UseTemporarySettings(); }
    testsupport::PromptScope scope;
};

} // namespace

TEST_F(MainWindowTest, FirstRunShowsTheDefaultOutputAndOriginalSize) {
    CVellumDlg dlg;
    const QString expected = "Output file: " + QDir::homePath() + "/Videos/output.wmv" +
                             "     Resolution: Original size";
    EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_STATUS), expected);
    EXPECT_EQ(dlg.windowTitle(), "Quillet");
    EXPECT_EQ(dlg.output.outputFormat, 1);
    EXPECT_EQ(dlg.output.videoBitrate, 798720);
    EXPECT_EQ(dlg.output.audioBitrate, 128000);
    EXPECT_DOUBLE_EQ(dlg.output.outputFrameRate, 23.976);
    EXPECT_EQ(dlg.syncState.skipForwardSeconds, 20);
    EXPECT_EQ(dlg.syncState.skipBackwardSeconds, 10);
    EXPECT_DOUBLE_EQ(dlg.syncState.audioSkipForwardSeconds, 0.3);
    EXPECT_DOUBLE_EQ(dlg.syncState.audioSkipBackwardSeconds, 0.3);
    EXPECT_TRUE(scope.prompts.messages.empty());
}

TEST_F(MainWindowTest, StoredSettingsAreReadWithTheirMappings) {
    settings::Store& store = settings::Profile();
    store.WriteProfileInt("Settings", "nOuptputFormat", 0);
    store.WriteProfileString("Settings", "OutputName", "/tmp/my.films/clip.mkv");
    store.WriteProfileInt("Settings", "OutputFrameRateIndex", 9);
    store.WriteProfileString("Settings", "mf_audio_skip_forward", "0.05");
    store.WriteProfileInt("DexVideoCompress", "CompressorNumber", 3);
    store.WriteProfileInt("DexAudioCompress", "CompressorNumber", -1);
    CVellumDlg dlg;
    EXPECT_EQ(dlg.output.outputFileName, "/tmp/my.films/clip.avi");
    EXPECT_EQ(dlg.output.frameRateIndex, 1);
    EXPECT_DOUBLE_EQ(dlg.output.outputFrameRate, 23.976);
    EXPECT_DOUBLE_EQ(dlg.syncState.audioSkipForwardSeconds, 0.05);
    EXPECT_EQ(dlg.output.useVideoCompressor, 1);
    EXPECT_EQ(dlg.output.useAudioCompressor, 0);

    store.WriteProfileInt("Settings", "OutputFrameRateIndex", 6);
    store.WriteProfileString("Settings", "OutputFrameRate", "12.5");
    CVellumDlg custom;
    EXPECT_EQ(custom.output.frameRateIndex, 6);
    EXPECT_DOUBLE_EQ(custom.output.outputFrameRate, 12.5);
}

TEST_F(MainWindowTest, WorkingControlsAreDisabledAndHiddenOnesHidden) {
    CVellumDlg dlg;
    dlg.show();
    for (int id :
         {IDC_BUTTON_CONVERT, IDC_SLIDER_POSITION, IDC_BUTTON_PLAY, IDC_BUTTON_PAUSE,
          IDC_BUTTON_STOP, IDC_BUTTON_JUMP_FORWARD, IDC_BUTTON_AUDIO_JUMP_BACKWARD,
          IDC_BUTTON_ADD_SYNC_POINT, IDC_BUTTON_EDIT_SYNC_POINT, IDC_BUTTON_LOAD_SYNC_LIST,
          IDC_BUTTON_SAVE_SYNC_LIST, IDC_BUTTON_CALCULATE_END_SYNC, IDC_BUTTON_PREVIEW_VIDEO,
          IDC_SLIDER_PREVIEW, IDC_EDIT_VIDEO_START, IDC_EDIT_AUDIO_END})
        EXPECT_FALSE(dlg.GetDlgItem(id)->isEnabled()) << id;
    for (int id : {IDC_BUTTON_ADD_VIDEO, IDC_BUTTON_OUTPUT_SETTINGS, IDC_BUTTON_HELP,
                   IDC_BUTTON_ABOUT, IDC_BUTTON_HOMEPAGE, IDC_BUTTON_EXIT})
        EXPECT_TRUE(dlg.GetDlgItem(id)->isEnabled() && dlg.GetDlgItem(id)->isVisible()) << id;
    for (int id : {IDC_BUTTON_CLOSE_PLAYERS, IDC_BUTTON_ADD_MUSIC, IDC_LIST_PHOTO, IDC_LIST_MUSIC,
                   IDC_BUTTON_START_TIME, IDC_STATIC_MUSIC_END, IDC_EDIT_OUTPUT_DURATION,
                   IDC_STATIC_OUTPUT_DURATION, IDC_EDIT_PREVIEW_START, IDC_STATIC_SYNC_POINT_LIST,
                   IDC_STATIC_PICTURE, IDC_BUTTON_TRANSITION})
        EXPECT_FALSE(dlg.GetDlgItem(id)->isVisible()) << id;
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_PREVIEW_START), "0");
    EXPECT_EQ(dlg.Item<CBitmapSlider>(IDC_SLIDER_POSITION)->maximum(), 600);
    EXPECT_EQ(dlg.Item<CBitmapSlider>(IDC_SLIDER_PREVIEW)->maximum(), 600);

    dlg.EnableWorkingSet();
    EXPECT_TRUE(dlg.GetDlgItem(IDC_BUTTON_CALCULATE_START_SYNC)->isEnabled());
    dlg.SetDlgItemText(IDC_EDIT_VIDEO_START, "1.0");
    dlg.DisableAndClear();
    EXPECT_FALSE(dlg.GetDlgItem(IDC_BUTTON_CALCULATE_START_SYNC)->isEnabled());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_VIDEO_START), "");
}

TEST_F(MainWindowTest, IconButtonsCarryTheirToolTipsAndPlayTheHoverSoundOncePerEntry) {
    auto sounds = std::make_unique<testsupport::CountingSounds>();
    testsupport::CountingSounds& counter = *sounds;
    auto previous = ui::InstallSounds(std::move(sounds));
    {
        CVellumDlg dlg;
        dlg.show();
        auto* open = dlg.Item<CButtonST>(IDC_BUTTON_ADD_VIDEO);
        EXPECT_TRUE(open->toolTip().contains("Open a video file"));
        EXPECT_TRUE(dlg.Item<CButtonST>(IDC_BUTTON_HOMEPAGE)->toolTip().contains("Homepage"));
        EXPECT_FALSE(open->icon().isNull());
        EXPECT_EQ(open->cursor().shape(), Qt::PointingHandCursor);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(open, &enter);
        QApplication::sendEvent(open, &enter);
        EXPECT_EQ(counter.played.size(), 1u);
        EXPECT_TRUE(open->IsHovering());
        QApplication::sendEvent(open, &leave);
        EXPECT_FALSE(open->IsHovering());
        QApplication::sendEvent(open, &enter);
        EXPECT_EQ(counter.played.size(), 2u);
    }
    ui::InstallSounds(std::move(previous));
}

TEST_F(MainWindowTest, PopupMenuOpensOnlyOverTheSurfaceAndLabels) {
    CVellumDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));

    QTest::mouseRelease(dlg.GetDlgItem(IDC_BUTTON_ADD_SYNC_POINT), Qt::RightButton);
    QTest::mouseRelease(dlg.GetDlgItem(IDC_BUTTON_ADD_VIDEO), Qt::RightButton);
    QTest::mouseRelease(dlg.GetDlgItem(IDC_EDIT_VIDEO_START), Qt::RightButton);
    QTest::mouseRelease(dlg.GetDlgItem(IDC_SLIDER_POSITION), Qt::RightButton);
    EXPECT_EQ(dlg.PopupMenu(), nullptr);

    QTest::mouseRelease(dlg.GetDlgItem(IDC_STATIC_VIDEO_DURATION), Qt::RightButton);
    ASSERT_NE(dlg.PopupMenu(), nullptr);
    EXPECT_TRUE(dlg.PopupMenu()->isVisible());
    QStringList items;
    for (QAction* action : dlg.PopupMenu()->actions())
        items << action->text();
    // The sound commands come after the items whose numbering language files rely on.
    EXPECT_EQ(items, QStringList({"Language", "Font", "About", "", "Open separate sound...",
                                  "Use the video's own sound", "Find points automatically",
                                  "Find points from events", "Sync view (V)"}));
    dlg.PopupMenu()->close();

    QTest::mouseRelease(&dlg, Qt::RightButton, {}, QPoint(3, dlg.height() - 3));
    EXPECT_TRUE(dlg.PopupMenu()->isVisible());
    dlg.PopupMenu()->close();
}

TEST_F(MainWindowTest, AboutBoxHasItsTwoLinks) {
    CVellumDlg dlg;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<ui::Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        auto* site = about->Item<CHyperLink>(IDC_STATIC_HOMEPAGE_LINK);
        auto* support = about->Item<CHyperLink>(IDC_STATIC_SUPPORT_LINK);
        ASSERT_TRUE(site && support);
        EXPECT_TRUE(site->GetURL().startsWith("https://"));
        EXPECT_EQ(support->text(), "Support Email: Click here");
        seen = true;
        about->accept();
    });
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_ABOUT), Qt::LeftButton);
    EXPECT_TRUE(seen);
}

TEST_F(MainWindowTest, ConversionClockShowsTheElapsedTime) {
    CVellumDlg dlg;
    dlg.elapsedSeconds = 3725 - 1;
    dlg.OnTimer(CVellumDlg::kConversionClockTimer);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_STATUS), "Please wait... Used Time: 01:02:05");
    EXPECT_EQ(dlg.Timer(CVellumDlg::kConversionClockTimer)->interval(), 1000);
    EXPECT_EQ(dlg.Timer(CVellumDlg::kPreviewBarTimer)->interval(), 2000);
}

TEST_F(MainWindowTest, StartUpChoosesTheCompressorsAviOutputUses) {
    settings::Store& store = settings::Profile();
    // First run with AVI output: the MPEG-4 ("DivX") and Microsoft ADPCM compressors.
    store.WriteProfileInt("Settings", "nOuptputFormat", 0);
    {
        CVellumDlg dlg;
        ASSERT_TRUE(dlg.videoCompressor && dlg.audioCompressor);
        EXPECT_EQ(dlg.output.useVideoCompressor, 1);
        EXPECT_EQ(dlg.output.useAudioCompressor, 1);
        EXPECT_EQ(dlg.videoCompressor->Name(), "DivX MPEG-4 Video Codec");
        EXPECT_EQ(dlg.audioCompressor->Name(), "Microsoft ADPCM");
    }
    // The uncompressed entry, and a stored number past the end, leave no flag without a
    // compressor behind it.
    store.WriteProfileInt("DexVideoCompress", "CompressorNumber", -1);
    store.WriteProfileInt("DexAudioCompress", "CompressorNumber", 100000);
    {
        CVellumDlg dlg;
        EXPECT_FALSE(dlg.videoCompressor);
        EXPECT_FALSE(dlg.audioCompressor);
        EXPECT_EQ(dlg.output.useVideoCompressor, 0);
        EXPECT_EQ(dlg.output.useAudioCompressor, 0);
    }
    // WMV output: the writer encodes, no compressor is made.
    store.WriteProfileInt("Settings", "nOuptputFormat", 1);
    store.WriteProfileInt("DexVideoCompress", "CompressorNumber", -2);
    CVellumDlg dlg;
    EXPECT_FALSE(dlg.videoCompressor);
    EXPECT_EQ(dlg.output.useVideoCompressor, 0);
}

TEST_F(MainWindowTest, EnterAndEscapeInATimeBoxNeitherPressAButtonNorClose) {
    CVellumDlg dlg;
    dlg.show();
    dlg.EnableWorkingSet();
    QSignalSpy openClicks(dlg.Item<QAbstractButton>(IDC_BUTTON_ADD_VIDEO),
                          &QAbstractButton::clicked);
    QWidget* box = dlg.GetDlgItem(IDC_EDIT_VIDEO_START);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(openClicks.count(), 0);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(scope.prompts.messages.empty());
}
