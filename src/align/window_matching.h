#pragma once
// Windows of a few seconds along the video's sound, each found precisely (to a small fraction
// of a sample) in the recording near where the coarse matches predict it. The recording is
// read at the video's pace (stretched by the coarse estimate of the clocks' ratio), so the
// drift within a window does not blur its correlation peak.
#include "align/match.h"
#include "align/progress_span.h"

#include <optional>
#include <vector>

namespace align {

// Every window that could be compared, with its confidence (low ones included: the fit
// decides), in video order; nothing when cancelled.
std::optional<std::vector<Match>> MatchWindows(const std::vector<float>& video,
                                               const std::vector<float>& recording, int rate,
                                               const std::vector<Match>& coarse, double slope,
                                               const ProgressSpan& progress);

} // namespace align
