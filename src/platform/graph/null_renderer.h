#pragma once
// Ends a branch whose stream has neither picture nor sound (subtitles, data): it takes every
// sample and throws it away, so the demultiplexer pin is connected and the file plays.
// Owned by its graph, which adds it in Render; samples arrive on the upstream filter's
// streaming thread.
#include "platform/graph/renderer.h"

namespace graph {

class NullRenderer final : public Renderer {
  public:
    explicit NullRenderer(MajorType major);
    bool Accepts(const Pin& input, const MediaType& type) const override;

  protected:
    void Present(MediaSample&, bool) override {}
    // Sparse streams can carry samples that last past the media; they must not hold up the
    // end of the graph.
    REFERENCE_TIME EndTime(REFERENCE_TIME segmentStart, REFERENCE_TIME) const override {
        return segmentStart;
    }
};

} // namespace graph
