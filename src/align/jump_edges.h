#pragma once
// Where, between two segments, the one ends and the next begins. Short frames of the video's
// sound are compared with the recording where each segment's line puts them; a segment ends
// after the last stretch that clearly agrees with it (a change-point on the running sum of
// the agreement), so an edge falls inside the jump only by the frames that cannot tell.
#include "align/line_fit.h"

#include <vector>

namespace align {

struct JumpEdges {
    double before = 0; // the last video time (seconds) of the segment before
    double after = 0;  // the first video time of the segment after
};

// Searched between video times `from` and `to` (seconds), the first segment's line in force
// before the jump and the second's after it.
JumpEdges LocateJump(const std::vector<float>& video, const std::vector<float>& recording, int rate,
                     const Line& before, const Line& after, double from, double to);

} // namespace align
