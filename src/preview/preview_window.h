#pragma once
// The top-level window a player shows its picture in. It forwards its close and the keys it
// does not use to the main window, offers a small transport on a right click, toggles the
// stacking of the main window on a left click, and goes full screen.
#include <QWidget>

class QMenu;

namespace preview {

class CVcdCore;

class PreviewWindow : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewWindow(CVcdCore* player);

    // The context menu while it is open (tests look at its checks and gray states).
    QMenu* ContextMenu() const { return menu_; }
    void ShowContextMenu(const QPoint& clientPoint);
    void OnMenuCommand(int command);

  protected:
    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void FitPicture();

    CVcdCore* player_;
    QMenu* menu_ = nullptr;
};

} // namespace preview
