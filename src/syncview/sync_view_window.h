#pragma once
// The sync view's window: the canvas with its buttons (frame back and on, zoom, the whole file,
// Add point here, Snap, Find points from events), the offset in milliseconds and samples, how
// far the analyses got and the keys. It belongs to the main window like the players, as a
// window of its own that stays usable while the main window runs modally; the main window
// owns it and calls it on its thread.
#include "syncview/sync_view_canvas.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace syncview {

class SyncViewWindow : public QWidget {
    Q_OBJECT
  public:
    SyncViewWindow(SyncViewHost& host, QWidget* owner);

    SyncViewCanvas* Canvas() const { return canvas_; }
    QPushButton* AddPointButton() const { return addPoint_; }
    QPushButton* SnapButton() const { return snap_; }
    QPushButton* FindPointsButton() const { return findPoints_; }
    QLabel* OffsetLabel() const { return offset_; }

  private:
    void Refresh();

    SyncViewHost& host_;
    SyncViewCanvas* canvas_ = nullptr;
    QPushButton* addPoint_ = nullptr;
    QPushButton* snap_ = nullptr;
    QPushButton* findPoints_ = nullptr;
    QLabel* offset_ = nullptr;
    QLabel* progress_ = nullptr;
};

} // namespace syncview
