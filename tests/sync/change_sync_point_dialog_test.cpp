#include "resources/resource.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "sync/change_sync_point_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {
struct Shown {
    QString videoText;
    QString audioText;
};

// Runs the dialog modally; once it shows, records its boxes, lets `user` act, and presses
// the button with the given number.
int RunDialog(CDialogChangeSyncPoint& dialog, Shown& shown, int button,
        const std::function<void()>& user = {}) {
    QTimer::singleShot(0, &dialog, [&] {
        shown = {dialog.GetDlgItemText(IDC_EDIT_CHANGE_SYNC_VIDEO_TIME),
                 dialog.GetDlgItemText(IDC_EDIT_CHANGE_SYNC_AUDIO_TIME)};
        if (user)
            user();
        dialog.Item<QPushButton>(button)->click();
    });
    return dialog.exec();
}
} // namespace

TEST(ChangeSyncPointDialog, ShowsTheTimesAndReturnsThemUnchangedOnOk) {
    CDialogChangeSyncPoint dialog;
    dialog.videoTime = 123'456'789;
    dialog.audioTime = -15'000'000;
    Shown shown;
    EXPECT_EQ(RunDialog(dialog, shown, IDOK_BUTTON), QDialog::Accepted);
    EXPECT_EQ(shown.videoText, "12.3456789");
    EXPECT_EQ(shown.audioText, "-1.5000000");
    EXPECT_EQ(dialog.videoTime, 123'456'789);
    EXPECT_EQ(dialog.audioTime, -15'000'000);
}

TEST(ChangeSyncPointDialog, OkTakesTimesWithAPointOrACommaAndRefusesAnythingElse) {
    struct Row {
        const char* video;
        const char* audio;
        int refusedBox; // 0: OK takes both times
        REFERENCE_TIME videoTime;
        REFERENCE_TIME audioTime;
    };
    const Row rows[] = {
        {"8,68", "2.5", 0, 86'800'000, 25'000'000},
        {"-1", " 3,0 ", 0, -10'000'000, 30'000'000},
        {"abc", "2.5", IDC_EDIT_CHANGE_SYNC_VIDEO_TIME, 7, 8},
        {"", "2.5", IDC_EDIT_CHANGE_SYNC_VIDEO_TIME, 7, 8},
        {"8,68", "1e400", IDC_EDIT_CHANGE_SYNC_AUDIO_TIME, 7, 8},
        {"1", "8.6.8", IDC_EDIT_CHANGE_SYNC_AUDIO_TIME, 7, 8},
    };
    for (const Row& row : rows) {
        testsupport::PromptScope scope;
        CDialogChangeSyncPoint dialog;
        dialog.videoTime = 7;
        dialog.audioTime = 8;
        const bool video = row.refusedBox == IDC_EDIT_CHANGE_SYNC_VIDEO_TIME;
        const int result = testsupport::RunModal(dialog, [&] {
            dialog.SetDlgItemText(IDC_EDIT_CHANGE_SYNC_VIDEO_TIME, row.video);
            dialog.SetDlgItemText(IDC_EDIT_CHANGE_SYNC_AUDIO_TIME, row.audio);
            dialog.Item<QPushButton>(IDOK_BUTTON)->click();
            if (!row.refusedBox)
                return;
            // Still open, on the refused box, which shows the point's time again.
            EXPECT_TRUE(dialog.isVisible()) << row.video;
            EXPECT_TRUE(dialog.GetDlgItem(row.refusedBox)->hasFocus()) << row.video;
            EXPECT_EQ(dialog.GetDlgItemText(row.refusedBox), video ? "0.0000007" : "0.0000008");
            dialog.Item<QPushButton>(IDCANCEL_BUTTON)->click();
        });
        EXPECT_EQ(result, row.refusedBox ? QDialog::Rejected : QDialog::Accepted) << row.video;
        EXPECT_EQ(dialog.videoTime, row.videoTime) << row.video;
        EXPECT_EQ(dialog.audioTime, row.audioTime) << row.video;
        if (row.refusedBox) {
            ASSERT_EQ(scope.prompts.messages.size(), 1u) << row.video;
            const QString refusal =
                QStringLiteral("\"%1\" in %2 is not a time")
                    .arg(video ? row.video : row.audio, video ? "Video time" : "Audio time");
            EXPECT_TRUE(scope.prompts.messages[0].text.startsWith(refusal))
                << scope.prompts.messages[0].text.toStdString();
            EXPECT_EQ(scope.prompts.messages[0].caption, "Error");
        }
    }
}

// Times beyond the caller's bounds are refused naming the bounds, written as the boxes write
// times; times on them are taken.
TEST(ChangeSyncPointDialog, OkRefusesTimesBeyondTheBoundsNamingThem) {
    const struct {
        const char* video;
        const char* audio;
        bool taken;
    } rows[] = {{"20", "21", true}, {"20.0000001", "10", false}, {"10", "2.9999999", false}};
    for (const auto& row : rows) {
        testsupport::PromptScope scope;
        CDialogChangeSyncPoint dialog;
        dialog.bounds = avsync::PointBounds{{2 * UNITS, 3 * UNITS}, {20 * UNITS, 21 * UNITS}};
        const int result = testsupport::RunModal(dialog, [&] {
            dialog.SetDlgItemText(IDC_EDIT_CHANGE_SYNC_VIDEO_TIME, row.video);
            dialog.SetDlgItemText(IDC_EDIT_CHANGE_SYNC_AUDIO_TIME, row.audio);
            dialog.Item<QPushButton>(IDOK_BUTTON)->click();
            if (!row.taken)
                dialog.Item<QPushButton>(IDCANCEL_BUTTON)->click();
        });
        EXPECT_EQ(result, row.taken ? QDialog::Accepted : QDialog::Rejected) << row.video;
        ASSERT_EQ(scope.prompts.messages.size(), row.taken ? 0u : 1u) << row.video;
        if (!row.taken)
            EXPECT_EQ(scope.prompts.messages[0].text.toStdString(),
                      "The video time must lie between 2.0000000 and 20.0000000 s, the audio "
                      "time between 3.0000000 and 21.0000000 s.");
    }
}

TEST(ChangeSyncPointDialog, CancelKeepsTheTimesTheCallerSet) {
    CDialogChangeSyncPoint dialog;
    dialog.videoTime = 10 * UNITS;
    dialog.audioTime = 12 * UNITS;
    Shown shown;
    EXPECT_EQ(RunDialog(dialog, shown, IDCANCEL_BUTTON, [&] {
                  dialog.SetDlgItemText(IDC_EDIT_CHANGE_SYNC_VIDEO_TIME, "1");
                  dialog.SetDlgItemText(IDC_EDIT_CHANGE_SYNC_AUDIO_TIME, "-4");
              }),
              QDialog::Rejected);
    EXPECT_EQ(dialog.videoTime, 10 * UNITS);
    EXPECT_EQ(dialog.audioTime, 12 * UNITS);
}
