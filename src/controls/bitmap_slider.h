#pragma once
// The seek bars: a slider that raises a shared flag while the left button holds it, so that
// playback updates leave the bar alone, and reports when the user lets go. A click beside
// the handle puts the handle where the click was, as in media players, instead of paging.
#include <QSlider>

class CBitmapSlider : public QSlider {
    Q_OBJECT
  public:
    // draggingFlag: the application-wide flag, 1 while any seek bar is held.
    CBitmapSlider(int* draggingFlag, QWidget* parent = nullptr);

  signals:
    // The user let go of the bar (after a drag or a click): act on the position now.
    void releasedCapture();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Moves the handle's centre under point, unless the handle is already there.
    void JumpTo(const QPoint& point);

    int* draggingFlag_;
};
