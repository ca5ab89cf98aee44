#include "sound_menu_fixture.h"

#include "resources/menus.h"
#include "resources/resource.h"
#include "support/test_environment.h"

#include <QAction>
#include <QMenu>
#include <QTest>

void SoundMenuFixture::SetUp() {
    testsupport::UseTemporarySettings();
}

void SoundMenuFixture::Click(int id) {
    QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton);
}

void SoundMenuFixture::OpenVideo(const std::string& path) {
    scope.prompts.fileAnswers = {QString::fromStdString(path)};
    Click(IDC_BUTTON_ADD_VIDEO);
    ASSERT_TRUE(dlg.videoPlayer && dlg.audioPlayer);
    Click(IDC_BUTTON_PAUSE);
}

namespace {

// Shows the pop-up as a right click on the window's background does and finds the command.
QAction* ShowMenuWith(CVellumDlg& dlg, int command) {
    QTest::mouseRelease(dlg.GetDlgItem(IDC_STATIC_VIDEO_DURATION), Qt::RightButton);
    if (!dlg.PopupMenu())
        return nullptr;
    QAction* action = resources::FindCommand(dlg.PopupMenu(), command);
    dlg.PopupMenu()->close();
    return action;
}

} // namespace

bool SoundMenuFixture::Enabled(int command) {
    QAction* action = ShowMenuWith(dlg, command);
    EXPECT_NE(action, nullptr) << command;
    return action && action->isEnabled();
}

bool PickPopupCommand(CVellumDlg& dlg, int command) {
    QAction* action = ShowMenuWith(dlg, command);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

bool SoundMenuFixture::Pick(int command) {
    return PickPopupCommand(dlg, command);
}

bool SoundMenuFixture::OpenSeparateSound(const std::string& path) {
    scope.prompts.fileAnswers = {QString::fromStdString(path)};
    return Pick(IDM_OPEN_SEPARATE_SOUND);
}
