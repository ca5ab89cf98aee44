#pragma once
// The role of the filter that positions a graph (the demultiplexer of a file).
// The graph finds it among its filters (it owns them) and calls it on the user-interface thread.
#include "platform/core/reftime.h"
#include "platform/core/status.h"

namespace graph {

class MediaSeeker {
  public:
    virtual REFERENCE_TIME Duration() const = 0;
    // Called on the user-interface thread in any state. While streaming, flushes everything
    // downstream, repositions and streams again from the new segment start `target`.
    virtual HRESULT SeekTo(REFERENCE_TIME target) = 0;

  protected:
    ~MediaSeeker() = default;
};

} // namespace graph
