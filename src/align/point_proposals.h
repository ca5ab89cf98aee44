#pragma once
// The result from the fitted segments: each segment's extent (bounded by the jumps' edges, by
// the video and by the recording), the jumps, the clocks' drift over all segments, and the
// proposed points, read from each segment's line at its ends and a few instants inside.
#include "align/alignment.h"
#include "align/jump_edges.h"
#include "align/segment_fit.h"

#include <vector>

namespace align {

// `edges[i]` lies between segments i and i + 1; lengths in seconds.
Alignment ProposePoints(const std::vector<FittedSegment>& segments,
                        const std::vector<JumpEdges>& edges, double videoSeconds,
                        double recordingSeconds);

} // namespace align
