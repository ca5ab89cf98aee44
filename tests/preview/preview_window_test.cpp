// The preview window: where it opens, its menu, full screen, the idle pointer, and its close
// handed to the main window.
#include "platform/core/window_message.h"
#include "platform/graph/interfaces.h"
#include "platform/ui/dialog.h"
#include "preview/preview_geometry.h"
#include "preview/preview_window.h"
#include "preview/vcd_core.h"
#include "resources/menus.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/scripted_prompts.h"

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using preview::CVcdCore;

namespace {

// Stands in for the main window: records the commands the preview windows send it.
class Owner : public ui::Dialog {
  public:
    std::vector<int> commands;

  protected:
    void OnCommand(int id) override { commands.push_back(id); }
};

class PreviewWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner.setGeometry(400, 500, 575, 580);
        owner.show();
        player = std::make_unique<CVcdCore>(&owner, preview::VideoOnly);
        player->fileName = testsupport::Clip(testsupport::ClipKind::H264Aac);
        ASSERT_TRUE(player->OpenFile());
    }
    QRect Picture() {
        long left = 0, top = 0, width = 0, height = 0;
        player->pVW->GetWindowPosition(&left, &top, &width, &height);
        return QRect(left, top, width, height);
    }

    testsupport::PromptScope scope;
    Owner owner;
    std::unique_ptr<CVcdCore> player;
};

} // namespace

TEST_F(PreviewWindowTest, OpensAboveTheMainWindowAtThePicturesSize) {
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect expected = preview::PreviewWindowRect(workArea, owner.frameGeometry());
    EXPECT_EQ(player->m_hWnd->pos(), expected.topLeft());
    EXPECT_EQ(player->m_hWnd->size(), QSize(testsupport::kClipWidth, testsupport::kClipHeight));
    EXPECT_EQ(Picture(), QRect(0, 0, testsupport::kClipWidth, testsupport::kClipHeight));
    EXPECT_FLOAT_EQ(player->zoom, 1.0f);
}

TEST_F(PreviewWindowTest, ClosingAsksTheMainWindowToCloseThePlayers) {
    player->m_hWnd->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.commands, std::vector<int>{IDC_BUTTON_CLOSE_PLAYERS});
    EXPECT_TRUE(player->m_hWnd->isVisible()); // the main window decides

    CVcdCore result(&owner, preview::AllStreams);
    result.fileName = testsupport::Clip(testsupport::ClipKind::H264Aac);
    ASSERT_TRUE(result.OpenFile());
    result.m_hWnd->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.commands.back(), IDC_BUTTON_PREVIEW_VIDEO);
}

TEST_F(PreviewWindowTest, FullScreenFitsThePictureAndEscapeLeavesIt) {
    QTest::keyClick(player->m_hWnd, Qt::Key_Escape); // windowed: nothing happens
    EXPECT_EQ(player->fullScreen, 0);

    player->m_hWnd->ShowContextMenu(QPoint(10, 10));
    QAction* fullScreen = resources::FindCommand(player->m_hWnd->ContextMenu(), IDM_FULL_SCREEN);
    EXPECT_FALSE(fullScreen->isChecked());
    fullScreen->trigger();
    ASSERT_EQ(player->fullScreen, 1);
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(player->m_hWnd->geometry(), QRect(QPoint(0, 0), screen));
    EXPECT_EQ(Picture(), preview::FullScreenPictureRect(
                             screen, QSize(testsupport::kClipWidth, testsupport::kClipHeight)));

    player->m_hWnd->ShowContextMenu(QPoint(10, 10));
    EXPECT_TRUE(resources::FindCommand(player->m_hWnd->ContextMenu(), IDM_FULL_SCREEN)->isChecked());
    player->m_hWnd->ContextMenu()->close();

    QTest::keyClick(player->m_hWnd, Qt::Key_Escape);
    EXPECT_EQ(player->fullScreen, 0);
    EXPECT_EQ(player->m_hWnd->size(), QSize(testsupport::kClipWidth, testsupport::kClipHeight));
}

TEST_F(PreviewWindowTest, TheIdlePointerHidesInFullScreenAndComesBackOnAMove) {
    ASSERT_TRUE(player->EnterFullScreen());
    EXPECT_EQ(player->Timer(CVcdCore::kCursorTimer)->interval(), 50'000);
    EXPECT_TRUE(player->Timer(CVcdCore::kCursorTimer)->isActive());
    player->HideIdleCursor(); // just entered: not idle yet
    EXPECT_EQ(player->cursorCount, 0);
    player->lastActivityTime = preview::TickCount() - 100'001;
    player->HideIdleCursor();
    EXPECT_EQ(player->cursorCount, -1);
    EXPECT_EQ(player->m_hWnd->cursor().shape(), Qt::BlankCursor);
    QTest::mouseMove(player->m_hWnd, QPoint(20, 20));
    EXPECT_EQ(player->cursorCount, 0);
    EXPECT_NE(player->m_hWnd->cursor().shape(), Qt::BlankCursor);
    player->LeaveFullScreen();
    EXPECT_FALSE(player->Timer(CVcdCore::kCursorTimer)->isActive());
}

TEST_F(PreviewWindowTest, NormalSizeSizesTheWindowToThePictureAgain) {
    player->m_hWnd->resize(400, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(Picture(), QRect(0, 0, 400, 300)); // the picture follows the window
    player->m_hWnd->OnMenuCommand(IDM_NORMAL_SIZE);
    EXPECT_EQ(player->m_hWnd->size(), QSize(testsupport::kClipWidth, testsupport::kClipHeight));
}
