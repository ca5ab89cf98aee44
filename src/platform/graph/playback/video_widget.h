#pragma once
// The child widget that shows a video renderer's picture inside its owner. The renderer's
// streaming thread publishes each frame into a FrameSlot; the widget paints the slot's
// latest image on the user-interface thread, stretched to its own rectangle.
// The widget is a child of the renderer's owner widget; the renderer deletes it (the owner
// does, if it goes first). The frame slot is shared by the renderer and the widget.
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <mutex>

namespace graph {

class FrameSlot {
  public:
    void Publish(QImage image);
    QImage Latest() const;

  private:
    // Written by the renderer's streaming thread, read by the user-interface thread.
    mutable std::mutex mutex_;
    QImage image_;
};

class VideoWidget final : public QWidget {
  public:
    explicit VideoWidget(std::shared_ptr<const FrameSlot> slot);
    // The window that gets mouse input over the picture.
    void SetDrain(QWidget* drain) { drain_ = drain; }

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    std::shared_ptr<const FrameSlot> slot_;
    QPointer<QWidget> drain_;
};

} // namespace graph
