#include "app/vellum_dlg.h"
#include "platform/settings/store.h"
#include "preview/preview_window.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"
#include "sync/sync_list_file.h"

#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <tuple>

namespace {

constexpr REFERENCE_TIME S = 10'000'000;

class MainWindowSyncTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::UseTemporarySettings();
        OpenVideo();
        ASSERT_TRUE(dlg.videoPlayer && dlg.audioPlayer);
        dlg.syncState.videoDuration = 60 * S;
        dlg.syncState.audioDuration = 61 * S;
        dlg.syncState.ResetForNewVideo();
        dlg.ShowTimes();
    }
    void OpenVideo() {
        scope.prompts.fileAnswers = {
            QString::fromStdString(testsupport::Clip(testsupport::ClipKind::H264Aac))};
        Click(IDC_BUTTON_ADD_VIDEO);
    }
    // The main window takes its own close at once; a picture window's close reaches it as a
    // posted command.
    static void CloseFromTitleBar(QWidget* window) {
        QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window->windowHandle());
    }
    // The picture player's polled position is what a point takes.
    void AddAt(REFERENCE_TIME v) {
        dlg.videoPlayer->currentPosition = v;
        Click(IDC_BUTTON_ADD_SYNC_POINT);
    }
    QTableWidget* List() { return dlg.Item<QTableWidget>(IDC_LIST_SYNC_POINTS); }
    QString Cell(int row, int column) { return List()->item(row, column)->text(); }
    void Select(std::initializer_list<int> rows) {
        List()->clearSelection();
        for (int row : rows)
            List()->selectionModel()->select(List()->model()->index(row, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void Click(int id) { QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton); }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};

} // namespace

TEST_F(MainWindowSyncTest, AddedPointsAreSortedAndShownWithSevenDecimals) {
    AddAt(5 * S);
    AddAt(2 * S);
    dlg.syncState.audioOffset = 3 * S;
    AddAt(5 * S);
    ASSERT_EQ(List()->rowCount(), 3);
    EXPECT_EQ(Cell(0, 0), "2.0000000");
    EXPECT_EQ(Cell(1, 1), "5.0000000");
    EXPECT_EQ(Cell(2, 0), "5.0000000");
    EXPECT_EQ(Cell(2, 1), "8.0000000");
    EXPECT_EQ(List()->horizontalHeaderItem(0)->text(), "Video time(s)");
    EXPECT_EQ(List()->horizontalHeaderItem(1)->text(), "Audio time(s)");
}

TEST_F(MainWindowSyncTest, AddIsRefusedWhenTheListIsFull) {
    dlg.syncState.syncCount = avsync::kMaxSyncPoints;
    AddAt(S);
    EXPECT_EQ(dlg.syncState.syncCount, avsync::kMaxSyncPoints);
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_TRUE(scope.prompts.messages[0].text.contains("1000"));
}

TEST_F(MainWindowSyncTest, DeleteAndEditNeedASelection) {
    Click(IDC_BUTTON_DELETE_SYNC_POINT);
    AddAt(S);
    Click(IDC_BUTTON_EDIT_SYNC_POINT);
    ASSERT_EQ(scope.prompts.messages.size(), 2u);
    for (const auto& m : scope.prompts.messages) {
        EXPECT_EQ(m.text, "Please select an item in the synchronization point list!");
        EXPECT_EQ(m.caption, "");
    }
    for (int i = 2; i <= 5; ++i)
        AddAt(i * S);
    Select({1, 3});
    Click(IDC_BUTTON_DELETE_SYNC_POINT);
    ASSERT_EQ(List()->rowCount(), 3);
    EXPECT_EQ(Cell(1, 0), "3.0000000");
    EXPECT_EQ(Cell(2, 0), "5.0000000");
    Click(IDC_BUTTON_CLEAR_ALL_SYNC_POINTS);
    EXPECT_EQ(List()->rowCount(), 0);
}

TEST_F(MainWindowSyncTest, EditStoresAcceptedValuesAndRefusesOutOfRange) {
    AddAt(10 * S);
    AddAt(20 * S);
    Select({0, 1});
    // Row 0 takes 12 s / 13 s; row 1 is typed beyond the video end and refused, the dialog
    // keeping what was typed until Cancel.
    int opened = 0;
    std::function<void()> answer = [&] {
        auto* edit = qobject_cast<ui::Dialog*>(QApplication::activeModalWidget());
        if (!edit) {
            QTimer::singleShot(10, answer);
            return;
        }
        ++opened;
        edit->SetDlgItemText(1123, opened == 1 ? "12" : "99");
        edit->SetDlgItemText(1093, opened == 1 ? "13" : "25");
        QTest::mouseClick(edit->GetDlgItem(1), Qt::LeftButton);
        if (opened == 1) {
            QTimer::singleShot(0, answer);
            return;
        }
        EXPECT_TRUE(edit->isVisible());
        EXPECT_EQ(edit->GetDlgItemText(1123), "99");
        QTest::mouseClick(edit->GetDlgItem(2), Qt::LeftButton);
    };
    QTimer::singleShot(0, answer);
    Click(IDC_BUTTON_EDIT_SYNC_POINT);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(Cell(0, 0), "12.0000000");
    EXPECT_EQ(Cell(0, 1), "13.0000000");
    EXPECT_EQ(Cell(1, 0), "20.0000000");
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    // Point 1 lies between point 0 and the end times.
    EXPECT_EQ(scope.prompts.messages[0].text.toStdString(),
              "The video time must lie between 12.0000000 and 60.0000000 s, the audio time "
              "between 13.0000000 and 61.0000000 s.");
    EXPECT_EQ(scope.prompts.messages[0].caption, "error");
}

TEST_F(MainWindowSyncTest, CalculateStartAndEndWorkFromTheBoxes) {
    Click(IDC_BUTTON_CALCULATE_START_SYNC);
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_EQ(scope.prompts.messages[0].text, "Please add sync points to the synchronization list");
    EXPECT_EQ(scope.prompts.messages[0].caption, "Can not calculate the start synchronization point");
    Click(IDC_BUTTON_CALCULATE_END_SYNC);
    ASSERT_EQ(scope.prompts.messages.size(), 2u);
    EXPECT_EQ(scope.prompts.messages[1].caption, "Can not calculate the end synchronization point");

    dlg.syncState.audioOffset = 2 * S;
    AddAt(10 * S);
    dlg.syncState.audioOffset = 3 * S;
    AddAt(20 * S);
    // Both read every box first and keep what was typed: Calculate end then works from the
    // video end typed before Calculate start.
    dlg.SetDlgItemText(IDC_EDIT_VIDEO_START, "0");
    dlg.SetDlgItemText(IDC_EDIT_VIDEO_END, "50");
    Click(IDC_BUTTON_CALCULATE_START_SYNC);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_START), "1.0000000");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_VIDEO_END), "50.0000000");
    Click(IDC_BUTTON_CALCULATE_END_SYNC);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_END), "56.0000000");

    dlg.SetDlgItemText(IDC_EDIT_VIDEO_END, "30");
    dlg.SetDlgItemText(IDC_EDIT_VIDEO_START, "1.5");
    Click(IDC_BUTTON_CALCULATE_END_SYNC);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_END), "34.0000000");
    EXPECT_EQ(dlg.syncState.videoStart, 15'000'000);
}

TEST_F(MainWindowSyncTest, OnePointAsksAndNoAnswerChangesNothing) {
    AddAt(10 * S);
    dlg.syncState.videoStart = 2 * S;
    dlg.syncState.audioStart = 3 * S;
    dlg.ShowTimes();
    scope.prompts.answers = {ui::IDNO};
    Click(IDC_BUTTON_CALCULATE_START_SYNC);
    EXPECT_EQ(dlg.syncState.videoStart, 2 * S);
    EXPECT_EQ(scope.prompts.messages.back().flags & 0xF, unsigned(ui::MB_YESNO));
    Click(IDC_BUTTON_CALCULATE_START_SYNC); // Yes
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_VIDEO_START), "0.0000000");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_START), "0.0000000");
}

TEST_F(MainWindowSyncTest, UnmappablePointsAreRefusedWithoutChangingATime) {
    AddAt(10 * S);
    AddAt(10 * S);
    dlg.SetDlgItemText(IDC_EDIT_VIDEO_START, "3");
    Click(IDC_BUTTON_CALCULATE_START_SYNC);
    Click(IDC_BUTTON_CALCULATE_END_SYNC);
    ASSERT_EQ(scope.prompts.messages.size(), 2u);
    EXPECT_EQ(dlg.syncState.videoStart, 0);
    EXPECT_EQ(dlg.syncState.audioStart, 0);
    EXPECT_EQ(dlg.syncState.audioEnd, 61 * S);
}

TEST_F(MainWindowSyncTest, SyncListsSaveAndLoadThroughTheFileDialogs) {
    const QString folder = testsupport::TemporaryFolder();
    AddAt(2 * S);
    AddAt(123'456'789);
    scope.prompts.fileAnswers = {folder + "/points.txt"};
    Click(IDC_BUTTON_SAVE_SYNC_LIST);
    ASSERT_TRUE(QFile::exists(folder + "/points.ini"));
    EXPECT_EQ(scope.prompts.fileDialogs.back().title, "Save the synchronization list");
    EXPECT_EQ(scope.prompts.fileDialogs.back().initialFolder, ".");
    EXPECT_EQ(settings::Profile().GetProfileString("Option", "LastSynclistFolder", ""), folder + "/");

    // Saving again asks before replacing; No leaves the file as it was.
    AddAt(30 * S);
    scope.prompts.fileAnswers = {folder + "/points.ini"};
    scope.prompts.answers = {ui::IDNO};
    Click(IDC_BUTTON_SAVE_SYNC_LIST);
    EXPECT_EQ(scope.prompts.messages.back().text,
              folder + "/points.ini exists. Do you want to replace it?");
    EXPECT_EQ(scope.prompts.messages.back().caption, "Warning");
    EXPECT_EQ(avsync::LoadSyncList((folder + "/points.ini").toStdString()).points.size(), 2u);

    Click(IDC_BUTTON_CLEAR_ALL_SYNC_POINTS);
    scope.prompts.fileAnswers = {folder + "/points.ini"};
    Click(IDC_BUTTON_LOAD_SYNC_LIST);
    EXPECT_EQ(scope.prompts.fileDialogs.back().title, "Select an ini file...");
    EXPECT_EQ(scope.prompts.fileDialogs.back().initialFolder, folder + "/");
    ASSERT_EQ(List()->rowCount(), 2);
    EXPECT_EQ(Cell(1, 0), "12.3456789");
}

TEST_F(MainWindowSyncTest, AFileThatIsNoUsableListIsRefusedAndThePointsStay) {
    const QString path = testsupport::TemporaryFolder() + "/bad.ini";
    const std::string times = "[FILENAME]\r\nTOTAL_SYNC_POINTS=2\r\n[SYNC_LIST]\r\n"
                              "SYNC_VIDEO_TIME_0=1\r\nSYNC_AUDIO_TIME_0=1\r\nSYNC_VIDEO_TIME_1=";
    // Each file, and a text its refusal must show.
    const std::vector<std::pair<std::string, QString>> files = {
        {"[FILENAME]\r\nTOTAL_SYNC_POINTS=1001\r\n", "1001"},
        {"a letter, not a list\r\n", "is not a synchronization list"},
        {std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x01\0", 20),
         "is not a synchronization list"},
        {"[FILENAME]\r\nVIDEO_NAME=out.avi\r\n", "is not a synchronization list"},
        {"[FILENAME]\r\nTOTAL_SYNC_POINTS=abc\r\n", "is not a synchronization list"},
        {times + "1e400\r\n", "SYNC_VIDEO_TIME_1=1e400"},
        {times + "inf\r\n", "SYNC_VIDEO_TIME_1=inf"},
        {times + "-inf\r\n", "SYNC_VIDEO_TIME_1=-inf"},
        {times + "nan\r\n", "SYNC_VIDEO_TIME_1=nan"},
        {times + "1e18\r\n", "SYNC_VIDEO_TIME_1=1e18"},
    };
    AddAt(4 * S);
    for (const auto& [bytes, shown] : files) {
        testsupport::WriteFileBytes(path.toStdString(), bytes);
        scope.prompts.messages.clear();
        scope.prompts.fileAnswers = {path};
        Click(IDC_BUTTON_LOAD_SYNC_LIST);
        EXPECT_EQ(dlg.syncState.Points(), (std::vector<avsync::SyncPoint>{{4 * S, 4 * S}}))
            << shown.toStdString();
        EXPECT_EQ(List()->rowCount(), 1);
        ASSERT_EQ(scope.prompts.messages.size(), 1u) << shown.toStdString();
        EXPECT_TRUE(scope.prompts.messages[0].text.contains(shown))
            << scope.prompts.messages[0].text.toStdString();
        EXPECT_TRUE(scope.prompts.messages[0].text.contains(path));
        EXPECT_EQ(scope.prompts.messages[0].caption, "Error");
    }
}

TEST_F(MainWindowSyncTest, PreviewBarFollowsTheComposedPreviewUnlessHeld) {
    dlg.resultPlayer = std::make_unique<preview::CVcdCore>(&dlg, preview::AllStreams);
    dlg.resultPlayer->currentPosition = 30 * S;
    dlg.resultPlayer->stopPosition = 60 * S;
    dlg.OnTimer(CVellumDlg::kPreviewBarTimer);
    auto* bar = dlg.Item<QSlider>(IDC_SLIDER_PREVIEW);
    EXPECT_EQ(bar->value(), 300);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, bar->height() / 2));
    dlg.resultPlayer->currentPosition = 60 * S;
    dlg.OnTimer(CVellumDlg::kPreviewBarTimer);
    EXPECT_NE(bar->value(), 600);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(2, bar->height() / 2));
    dlg.resultPlayer->stopPosition = 0;
    dlg.OnTimer(CVellumDlg::kPreviewBarTimer);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(MainWindowSyncTest, PointsChangedSinceTheLastSaveOrLoadAreNotDroppedWithoutAsking) {
    const QString list = testsupport::TemporaryFolder() + "/kept.ini";
    const std::pair<const char*, std::function<void()>> drops[] = {
        {"Open Video", [&] { OpenVideo(); }},
        {"Exit", [&] { Click(IDC_BUTTON_EXIT); }},
        {"title bar", [&] { CloseFromTitleBar(&dlg); }},
    };
    testsupport::RunModal(dlg, [&] {
        AddAt(2 * S);
        for (const auto& [name, drop] : drops) {
            scope.prompts.messages.clear();
            scope.prompts.answers = {ui::IDNO};
            drop();
            ASSERT_EQ(scope.prompts.messages.size(), 1u) << name;
            EXPECT_EQ(scope.prompts.messages[0].text,
                      "The synchronization points were changed since they were last saved or "
                      "loaded. Do you want to go on and lose the changes?");
            EXPECT_EQ(scope.prompts.messages[0].flags & 0xF, unsigned(ui::MB_YESNO));
            EXPECT_TRUE(dlg.isVisible()) << name;
            EXPECT_EQ(List()->rowCount(), 1) << name;
        }

        // Closing the picture leaves the points, and their Save.
        CloseFromTitleBar(dlg.videoPlayer->m_hWnd);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.videoPlayer; }, 10000));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_BUTTON_SAVE_SYNC_LIST)->isEnabled());
        scope.prompts.fileAnswers = {list};
        Click(IDC_BUTTON_SAVE_SYNC_LIST);
        ASSERT_TRUE(QFile::exists(list));

        // Saved points go without a question; loaded ones too, until they change.
        scope.prompts.messages.clear();
        OpenVideo();
        EXPECT_TRUE(scope.prompts.messages.empty());
        EXPECT_EQ(List()->rowCount(), 0);
        scope.prompts.fileAnswers = {list};
        Click(IDC_BUTTON_LOAD_SYNC_LIST);
        AddAt(3 * S);
        scope.prompts.answers = {ui::IDYES};
        OpenVideo();
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_EQ(List()->rowCount(), 0);
        scope.prompts.fileAnswers = {list};
        Click(IDC_BUTTON_LOAD_SYNC_LIST);
        scope.prompts.messages.clear();
        Click(IDC_BUTTON_EXIT);
        EXPECT_TRUE(scope.prompts.messages.empty());
        EXPECT_FALSE(dlg.isVisible());
    });
}

TEST_F(MainWindowSyncTest, TimeBoxesTakeAPointOrACommaAndRefuseWhatIsNoTime) {
    struct Row {
        int box;
        const char* typed;
        int command; // that reads the box
        const char* label;
        const char* kept;
    } const rows[] = {
        {IDC_EDIT_VIDEO_START, "12.5 s", IDC_BUTTON_CALCULATE_START_SYNC, "Video start time",
         "0.0000000"},
        {IDC_EDIT_VIDEO_END, "abc", IDC_BUTTON_CALCULATE_END_SYNC, "Video end time", "60.0000000"},
        {IDC_EDIT_AUDIO_START, "1e400", IDC_BUTTON_PREVIEW_VIDEO, "Audio start time", "0.0000000"},
        {IDC_EDIT_AUDIO_END, "8,6,8", IDC_BUTTON_CONVERT, "Audio end time", "61.0000000"},
    };
    testsupport::RunModal(dlg, [&] {
        AddAt(10 * S);
        AddAt(20 * S);
        for (const Row& row : rows) {
            scope.prompts.messages.clear();
            dlg.SetDlgItemText(row.box, row.typed);
            Click(row.command);
            ASSERT_FALSE(scope.prompts.messages.empty()) << row.typed;
            EXPECT_EQ(scope.prompts.messages.back().text,
                      QStringLiteral("\"%1\" in %2 is not a time: type seconds as a number "
                                     "between -922337203685 and 922337203685, with a point or a "
                                     "comma before the decimals, such as 12.5 or 12,5. %2 keeps "
                                     "%3.")
                          .arg(row.typed, row.label, row.kept));
            EXPECT_TRUE(dlg.GetDlgItem(row.box)->hasFocus()) << row.typed;
            EXPECT_EQ(dlg.GetDlgItemText(row.box), row.kept);
            EXPECT_EQ(dlg.previewRunning + dlg.converting, 0) << row.typed;
            const avsync::SyncState& s = dlg.syncState;
            EXPECT_EQ(std::tuple(s.videoStart, s.videoEnd, s.audioStart, s.audioEnd),
                      std::tuple(0, 60 * S, 0, 61 * S));
        }
        // A comma before the decimals reads as a point.
        dlg.SetDlgItemText(IDC_EDIT_VIDEO_END, "50,5");
        Click(IDC_BUTTON_CALCULATE_END_SYNC);
        EXPECT_EQ(dlg.syncState.videoEnd, 505'000'000);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_AUDIO_END), "50.5000000");
    });
}
