#pragma once
// The roles a graph's picture and sound renderers play for the graph's window, picture and
// volume controls, so that the graph answers those controls without knowing the renderers'
// classes. A renderer is owned by its graph; these are called on the user-interface thread.
#include "platform/core/reftime.h"

#include <QRect>
#include <QSize>

class QWidget;

namespace graph {

class VideoWindowControl {
  public:
    // Native picture size and frame time, from the connection; empty/0 when unconnected.
    virtual QSize VideoSize() const = 0;
    virtual REFERENCE_TIME AvgTimePerFrame() const = 0;
    virtual QWidget* Owner() const = 0;
    virtual void SetOwner(QWidget* owner) = 0;
    virtual long Style() const = 0;
    virtual void SetStyle(long style) = 0;
    virtual void SetDrain(QWidget* drain) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual QRect Placement() const = 0;
    virtual void SetPlacement(const QRect& placement) = 0;

  protected:
    ~VideoWindowControl() = default;
};

class VolumeControl {
  public:
    // Hundredths of a decibel, 0 = full volume.
    virtual void SetVolume(long volume) = 0;
    virtual long Volume() const = 0;

  protected:
    ~VolumeControl() = default;
};

} // namespace graph
