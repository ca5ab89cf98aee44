// The preview window: where it opens, its menu, full screen, the idle pointer, and its close
// handed to the main window.
#include "language/language.h"
#include "platform/core/window_message.h"
#include "platform/graph/filter_graph.h"
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
    // A test that loads a language leaves the built-in English texts to the others.
    void TearDown() override { Language() = CLanguage(); }
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

// The titles and the menu speak the loaded language, also one loaded while the window is open
// (the title made again, the menu shown again); translated, the menu still checks full screen.
TEST_F(PreviewWindowTest, TheTitlesAndTheMenuSpeakTheLoadedLanguage) {
    graph::FilterGraph empty;
    CVcdCore composed(nullptr, preview::AllStreams);
    ASSERT_EQ(composed.OpenGraph(&empty), S_OK);
    player->Cue();
    ASSERT_TRUE(player->EnterFullScreen());
    const struct {
        const char* language;
        const char* paused;
        const char* preview;
        const char* fullScreen;
    } rows[] = {{"Spanish_Spain", "(En pausa)", "VISTA PREVIA", "Pantalla completa"},
                {"chs_unicode", "（已暂停）", "预览", "全屏"}};
    for (const auto& row : rows) {
        Language() = CLanguage();
        ASSERT_TRUE(Language().Init(QStringLiteral(QUILLET_LANGUAGE_DIR), row.language));
        player->UpdateCaption();
        composed.UpdateCaption();
        EXPECT_TRUE(player->m_hWnd->windowTitle().endsWith("  " + QString::fromUtf8(row.paused)));
        EXPECT_EQ(composed.m_hWnd->windowTitle().toStdString(), row.preview);
        player->m_hWnd->ShowContextMenu(QPoint(10, 10));
        QAction* fullScreen =
            resources::FindCommand(player->m_hWnd->ContextMenu(), IDM_FULL_SCREEN);
        EXPECT_EQ(fullScreen->text().toStdString(), row.fullScreen);
        EXPECT_TRUE(fullScreen->isChecked());
        player->m_hWnd->ContextMenu()->close();
    }
    player->LeaveFullScreen();
    composed.Close();
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
