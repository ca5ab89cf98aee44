// The player's preview window: creation, sizing to the picture, full screen, the stacking
// toggles and the pointer hidden in full screen.
#include "platform/graph/interfaces.h"
#include "preview/preview_geometry.h"
#include "preview/preview_window.h"
#include "platform/ui/show_error.h"
#include "preview/vcd_core.h"

#include <QGuiApplication>
#include <QScreen>

namespace preview {

namespace {
constexpr std::uint32_t kIdleBeforeHidingMs = 100'000;
}

void CVcdCore::CreatePreviewWindow() {
    m_hWnd = new PreviewWindow(this);
    QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    QRect mainWindow = ownerWindow ? ownerWindow->frameGeometry() : workArea;
    const QRect rect = PreviewWindowRect(workArea, mainWindow);
    m_hWnd->resize(rect.size());
    m_hWnd->move(rect.topLeft()); // the frame's corner, as the rectangle is the window's
    windowCreated = true;
}

void CVcdCore::MoveClearOf(const std::vector<QRect>& others, const std::vector<QRect>& controls) {
    if (!m_hWnd || fullScreen == 1)
        return;
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    m_hWnd->move(PlaceClearOf(workArea, m_hWnd->frameGeometry().size(), others, controls));
}

void CVcdCore::DestroyPreviewWindow() {
    if (pVW) {
        m_hWnd->hide();
        pVW->put_Visible(graph::OAFALSE);
        if (fullScreen == 1) {
            windowShown = 0;
            LeaveFullScreen();
            m_hWnd->hide();
        }
    }
    if (ownerWindow)
        ownerWindow->update();
    delete m_hWnd;
    m_hWnd = nullptr;
    windowCreated = false;
}

HRESULT CVcdCore::InitVideoWindow(int multiplier, int divider) {
    if (fullScreen == 1 && windowShown == 1)
        LeaveFullScreen();
    if (!pBV)
        return 0;
    long width = 0;
    long height = 0;
    if (pBV->GetVideoSize(&width, &height) == E_NOINTERFACE)
        return 0;
    width = width * multiplier / divider;
    height = height * multiplier / divider;
    // The client area takes the picture's size; the frame comes around it.
    m_hWnd->resize(static_cast<int>(width), static_cast<int>(height));
    zoom = static_cast<float>(multiplier) / static_cast<float>(divider);
    const HRESULT hr = pVW->SetWindowPosition(0, 0, width, height);
    if (FAILED(hr))
        ui::ShowError("FAILED(hr=0x%x) in pVW->SetWindowPosition(rect.left, rect.top, rect.right, "
                  "rect.bottom)\n",
                  hr);
    return hr;
}

void CVcdCore::ToggleFullScreen() {
    if (noVideo == 1 || !pVW)
        return;
    if (fullScreen == 1)
        LeaveFullScreen();
    else
        EnterFullScreen();
}

bool CVcdCore::EnterFullScreen() {
    if (!pVW)
        return false;
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    savedRect = m_hWnd->geometry();
    m_hWnd->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    m_hWnd->setGeometry(0, 0, screen.width(), screen.height());
    m_hWnd->show();
    long width = 0;
    long height = 0;
    if (pBV->GetVideoSize(&width, &height) == E_NOINTERFACE)
        return false;
    const QRect picture =
        FullScreenPictureRect(screen, QSize(static_cast<int>(width), static_cast<int>(height)));
    pVW->SetWindowPosition(picture.left(), picture.top(), picture.width(), picture.height());
    lastActivityTime = TickCount();
    cursorTimer_.start();
    mainShown = 1;
    fullScreen = 1;
    return true;
}

bool CVcdCore::LeaveFullScreen() {
    if (!pVW)
        return false;
    m_hWnd->setWindowFlags(Qt::Window);
    m_hWnd->setGeometry(savedRect);
    m_hWnd->setVisible(windowShown == 1);
    cursorTimer_.stop();
    SetCursorVisible(true);
    fullScreen = 0;
    // The main window comes up, and the picture back above it.
    if (ownerWindow)
        ownerWindow->raise();
    m_hWnd->raise();
    if (windowShown == 1)
        pVW->SetWindowPosition(0, 0, m_hWnd->width(), m_hWnd->height());
    return true;
}

void CVcdCore::ToggleOnTop() {
    if (!pVW || !ownerWindow)
        return;
    // The main window runs modally: hiding it would end the program, so it goes below the
    // picture instead of away.
    if (fullScreen == 1) {
        if (mainShown == 1) {
            ownerWindow->lower();
        } else {
            ownerWindow->raise();
            ownerWindow->activateWindow();
        }
        mainShown = mainShown == 1 ? 0 : 1;
        return;
    }
    if (topmostToggle == 1) {
        m_hWnd->raise();
        m_hWnd->activateWindow();
    } else {
        ownerWindow->raise();
        ownerWindow->activateWindow();
    }
    topmostToggle = topmostToggle == 1 ? 0 : 1;
}

void CVcdCore::SetCursorVisible(bool visible) {
    if (visible) {
        if (cursorCount < 0) {
            m_hWnd->unsetCursor();
            cursorCount = 0;
        }
        lastActivityTime = TickCount();
    } else if (cursorCount >= 0) {
        m_hWnd->setCursor(Qt::BlankCursor);
        cursorCount = -1;
    }
}

void CVcdCore::HideIdleCursor() {
    if (fullScreen == 1 && static_cast<std::uint32_t>(TickCount() - lastActivityTime) > kIdleBeforeHidingMs)
        SetCursorVisible(false);
}

} // namespace preview
