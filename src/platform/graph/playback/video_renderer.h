#pragma once
// Shows decoded pictures at their time on the presentation clock, in a child widget placed
// in a rectangle of an owner widget. Frames are converted to QImage with libswscale on the
// streaming thread; the widget paints them on the user-interface thread. The first frame
// after a stop or seek shows at once, so a paused graph shows its current picture.
//
// The window calls (owner, style, visibility, position) run on the user-interface thread.
// Without an owner the picture is shown nowhere.
// Owned by its graph; the child widget belongs to the owner widget's window tree.
#include "platform/graph/interfaces.h"
#include "platform/graph/render_controls.h"
#include "platform/graph/renderer.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <memory>

struct SwsContext;

namespace graph {

class FrameSlot;
class VideoWidget;

class VideoRenderer final : public Renderer, public VideoWindowControl {
  public:
    VideoRenderer();
    ~VideoRenderer() override;

    bool Accepts(const Pin& input, const MediaType& type) const override;

    QSize VideoSize() const override;
    REFERENCE_TIME AvgTimePerFrame() const override;

    QWidget* Owner() const override { return owner_; }
    void SetOwner(QWidget* owner) override;
    long Style() const override { return style_; }
    void SetStyle(long style) override { style_ = style; }
    void SetDrain(QWidget* drain) override;
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override;
    QRect Placement() const override { return placement_; }
    void SetPlacement(const QRect& placement) override;

  protected:
    void Present(MediaSample& sample, bool first) override;

  private:
    void Show(const AVFrame* frame);
    void ApplyWindow();

    // Streaming thread only.
    SwsContext* scaler_ = nullptr;
    // Filled by the streaming thread, read by the widget; locks itself.
    std::shared_ptr<FrameSlot> slot_;
    // User-interface thread only. The notifier receives the queued repaint requests of the
    // streaming thread; it lives as long as the renderer, the widget may die with its owner.
    std::unique_ptr<QObject> notifier_;
    QPointer<VideoWidget> widget_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> drain_; // null: input goes to the owner
    long style_ = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    bool visible_ = true;
    QRect placement_;
};

} // namespace graph
