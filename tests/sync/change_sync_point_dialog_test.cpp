#include "resources/resource.h"
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

TEST(ChangeSyncPointDialog, OkTakesTheTypedTimesWithAPointOrAComma) {
    CDialogChangeSyncPoint dialog;
    dialog.videoTime = 7;
    dialog.audioTime = 8;
    Shown shown;
    EXPECT_EQ(RunDialog(dialog, shown, IDOK_BUTTON,
                        [&] {
                            dialog.Item<QLineEdit>(IDC_EDIT_CHANGE_SYNC_VIDEO_TIME)->setText("8,6");
                            dialog.Item<QLineEdit>(IDC_EDIT_CHANGE_SYNC_AUDIO_TIME)->setText("2.5");
                        }),
              QDialog::Accepted);
    EXPECT_EQ(dialog.videoTime, 86'000'000);
    EXPECT_EQ(dialog.audioTime, 25'000'000);
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
