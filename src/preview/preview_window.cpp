#include "preview/preview_window.h"

#include "language/language.h"
#include "platform/core/window_message.h"
#include "platform/graph/interfaces.h"
#include "platform/ui/prompts.h"
#include "preview/vcd_core.h"
#include "resources/art.h"
#include "resources/menus.h"
#include "resources/resource.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace preview {

PreviewWindow::PreviewWindow(CVcdCore* player) : QWidget(nullptr), player_(player) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Video Window"));
    setWindowIcon(resources::LoadIcon(IDR_MAINFRAME));
    setAttribute(Qt::WA_NativeWindow);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setMouseTracking(true);
}

bool PreviewWindow::event(QEvent* event) {
    if (event->type() == core::WindowMessageEvent::EventType()) {
        auto* message = static_cast<core::WindowMessageEvent*>(event);
        if (message->message == WM_GRAPHNOTIFY)
            player_->HandleGraphEvents();
        return true;
    }
    return QWidget::event(event);
}

void PreviewWindow::FitPicture() {
    if (player_->windowShown == 1 && player_->pVW)
        player_->pVW->SetWindowPosition(0, 0, width(), height());
}

void PreviewWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!player_->fullScreen)
        FitPicture();
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // In full screen the picture keeps the place the full-screen rule gave it.
    if (!player_->fullScreen)
        FitPicture();
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    // The main window decides: it stops the composed preview or closes the source players.
    event->ignore();
    if (player_->ownerWindow)
        core::PostMessage(player_->ownerWindow, WM_COMMAND,
                          player_->playerMode == AllStreams ? IDC_BUTTON_PREVIEW_VIDEO
                                                            : IDC_BUTTON_CLOSE_PLAYERS);
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    // Escape is this window's own; every other key is the owner's, whose keyboard commands
    // then also work over the picture, in full screen too.
    if (event->key() == Qt::Key_Escape || !player_->ownerWindow) {
        QWidget::keyPressEvent(event);
        return;
    }
    core::PostMessage(player_->ownerWindow, WM_KEYDOWN, event->key(),
                      static_cast<std::intptr_t>(event->modifiers().toInt()));
}

void PreviewWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (player_->fullScreen == 1)
            player_->LeaveFullScreen();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void PreviewWindow::mouseMoveEvent(QMouseEvent* event) {
    if (player_->fullScreen == 1)
        player_->SetCursorVisible(true);
    QWidget::mouseMoveEvent(event);
}

void PreviewWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (player_->fullScreen == 1)
        player_->SetCursorVisible(true);
    if (event->button() == Qt::LeftButton) {
        player_->ToggleOnTop();
    } else if (event->button() == Qt::RightButton) {
        ShowContextMenu(event->position().toPoint());
        player_->mainShown = 1;
    } else {
        QWidget::mouseReleaseEvent(event);
    }
}

void PreviewWindow::ShowContextMenu(const QPoint& clientPoint) {
    const std::vector<resources::MenuItem>* menuTemplate = resources::MenuTemplate(IDR_MENU_PREVIEW);
    if (!menuTemplate || menuTemplate->empty()) {
        ui::MessageBox(nullptr, "error", "error");
        return;
    }
    delete menu_;
    menu_ = resources::BuildMenu(menuTemplate->front(), this);
    // Built anew for every click, so it speaks the language chosen last; it holds commands
    // only, translated as the inner menu of its template they are. The translation enables
    // the items and clears their checks, so their states are set after it.
    Language().TranslateMenu(menu_, IDR_MENU_PREVIEW, false);
    QAction* fullScreen = resources::FindCommand(menu_, IDM_FULL_SCREEN);
    fullScreen->setCheckable(true);
    fullScreen->setChecked(player_->fullScreen == 1);
    // Transport commands the menu carries are grayed where they would do nothing.
    const auto gray = [this](int command) {
        if (QAction* action = resources::FindCommand(menu_, command))
            action->setEnabled(false);
    };
    switch (player_->playState) {
    case Stopped:
        gray(IDM_PAUSE);
        gray(IDM_STOP);
        break;
    case Paused:
        gray(IDM_PAUSE);
        break;
    case Running:
        gray(IDM_PLAY);
        break;
    case Init:
        break;
    }
    connect(menu_, &QMenu::triggered, this,
            [this](QAction* action) { OnMenuCommand(action->data().toInt()); });
    menu_->popup(mapToGlobal(clientPoint));
}

void PreviewWindow::OnMenuCommand(int command) {
    switch (command) {
    case IDM_FULL_SCREEN:
        player_->ToggleFullScreen();
        break;
    case IDM_NORMAL_SIZE:
        player_->InitVideoWindow(1, 1);
        break;
    case IDM_PLAY:
        player_->Play();
        break;
    case IDM_PAUSE:
        player_->Pause();
        break;
    case IDM_STOP:
        player_->Stop();
        break;
    case IDM_CLOSE_PREVIEW:
        close();
        break;
    default:
        break;
    }
}

} // namespace preview
