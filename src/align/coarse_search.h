#pragma once
// Where long stretches of the video's sound lie in the recording, to a millisecond or so, at
// the coarse rate. Each stretch is first looked for near where the last one found predicts
// it (cheap), and in the whole recording only when it is not there: at the start, after a
// jump, after sound that matched nothing.
#include "align/match.h"
#include "align/progress_span.h"

#include <optional>
#include <vector>

namespace align {

// The stretches found, in video order; nothing when cancelled.
std::optional<std::vector<Match>> SearchCoarsely(const std::vector<float>& video,
                                                 const std::vector<float>& recording, int rate,
                                                 const ProgressSpan& progress);

} // namespace align
