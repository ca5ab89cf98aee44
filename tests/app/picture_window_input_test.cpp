// The picture windows take mouse, keyboard and close input while the main window runs in its
// modal loop, as the program runs it, and pass on the keys they do not use. Input goes in
// through the window system layer, where a modal window would block it.
#include "app/vellum_dlg.h"
#include "preview/preview_window.h"
#include "resources/menus.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QKeySequence>
#include <QMenu>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <functional>
#include <tuple>

namespace {

class PictureWindowInputTest : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::UseTemporarySettings(); }

    void RunModally(const std::function<void()>& steps) { testsupport::RunModal(dlg, steps); }
    void Click(int id) { QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton); }
    void Open() {
        scope.prompts.fileAnswers = {
            QString::fromStdString(testsupport::Clip(testsupport::ClipKind::H264Aac))};
        Click(IDC_BUTTON_ADD_VIDEO);
    }
    static QWindow* Shown(preview::PreviewWindow* window) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return window->windowHandle();
    }
    static void RightClick(QWindow* window) {
        QTest::mouseClick(window, Qt::RightButton, {}, QPoint(20, 20));
    }
    // Picks a command of the open context menu with the mouse.
    static void Choose(preview::PreviewWindow* window, int command) {
        QMenu* menu = window->ContextMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QAction* action = resources::FindCommand(menu, command);
        ASSERT_NE(action, nullptr);
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                          menu->actionGeometry(action).center());
    }
    // The close reaches the main window as a posted command.
    static void CloseFromTitleBar(QWindow* window) {
        QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window);
    }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};

} // namespace

TEST_F(PictureWindowInputTest, SourcePictureTakesMenuFullScreenEscapeClicksAndClose) {
    RunModally([&] {
        Open();
        ASSERT_TRUE(dlg.videoPlayer);
        preview::PreviewWindow* window = dlg.videoPlayer->m_hWnd;
        QWindow* handle = Shown(window);

        RightClick(handle);
        ASSERT_NE(window->ContextMenu(), nullptr);
        EXPECT_TRUE(window->ContextMenu()->isVisible());
        Choose(window, IDM_FULL_SCREEN);
        ASSERT_EQ(dlg.videoPlayer->fullScreen, 1);

        RightClick(handle);
        EXPECT_TRUE(resources::FindCommand(window->ContextMenu(), IDM_FULL_SCREEN)->isChecked());
        window->ContextMenu()->close();
        QTest::keyClick(handle, Qt::Key_Escape);
        EXPECT_EQ(dlg.videoPlayer->fullScreen, 0);

        const int before = preview::topmostToggle;
        QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(20, 20));
        EXPECT_NE(preview::topmostToggle, before);

        CloseFromTitleBar(handle);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.videoPlayer; }, 10000));
        EXPECT_FALSE(dlg.audioPlayer);
    });
}

TEST_F(PictureWindowInputTest, ComposedPreviewTakesItsMenuAndItsCloseStopsIt) {
    RunModally([&] {
        Open();
        ASSERT_TRUE(dlg.videoPlayer);
        Click(IDC_BUTTON_PREVIEW_VIDEO);
        ASSERT_TRUE(dlg.resultPlayer);
        preview::PreviewWindow* window = dlg.resultPlayer->m_hWnd;
        QWindow* handle = Shown(window);

        RightClick(handle);
        Choose(window, IDM_FULL_SCREEN);
        EXPECT_EQ(dlg.resultPlayer->fullScreen, 1);
        RightClick(handle);
        Choose(window, IDM_NORMAL_SIZE);
        EXPECT_EQ(dlg.resultPlayer->fullScreen, 0);

        RightClick(handle);
        Choose(window, IDM_CLOSE_PREVIEW);
        // The window closes, and its close reaches the main window as a posted command.
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.previewRunning == 0; }, 10000));
        EXPECT_FALSE(dlg.resultPlayer);
        EXPECT_TRUE(dlg.videoPlayer); // the source players stay
    });
}

TEST_F(PictureWindowInputTest, TheTransportKeysWorkOverThePictureWindowedAndInFullScreen) {
    constexpr REFERENCE_TIME kStep = 3'000'000; // the default audio skip of 0.3 s
    // The key pressed over the picture, in full screen or not, and the audio offset after it.
    const std::tuple<Qt::Key, bool, REFERENCE_TIME> rows[] = {
        {Qt::Key_I, false, kStep},    {Qt::Key_I, false, 2 * kStep}, {Qt::Key_P, false, kStep},
        {Qt::Key_I, true, 2 * kStep}, {Qt::Key_O, true, 0},          {Qt::Key_P, true, -kStep},
    };
    RunModally([&] {
        Open();
        ASSERT_TRUE(dlg.videoPlayer);
        QWindow* handle = Shown(dlg.videoPlayer->m_hWnd);
        for (const auto& [key, fullScreen, offset] : rows) {
            if (dlg.videoPlayer->fullScreen != int(fullScreen))
                dlg.videoPlayer->ToggleFullScreen();
            QTest::keyClick(handle, key);
            EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.syncState.audioOffset == offset; }, 2000))
                << QKeySequence(key).toString().toStdString() << (fullScreen ? " full screen" : "")
                << ": " << dlg.syncState.audioOffset;
        }
    });
}
