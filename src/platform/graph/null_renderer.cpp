#include "platform/graph/null_renderer.h"

namespace graph {

NullRenderer::NullRenderer(MajorType major) : Renderer("Null Renderer", major) {}

bool NullRenderer::Accepts(const Pin&, const MediaType&) const {
    return true;
}

} // namespace graph
