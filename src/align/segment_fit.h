#pragma once
// The recording's map over the video as straight segments: the lines that confident windows
// agree on, each holding the run of windows (in video order) that lie on it. A window on no
// line is ignored; a run too short to be more than chance is dropped, so a new segment
// begins only where the recording really jumps.
#include "align/line_fit.h"

#include <vector>

namespace align {

struct FittedSegment {
    LineFit fit;
    std::vector<int> members; // indices into the matches, in video order
    // The share of the confident windows between its first and last member that lie on it.
    double agreement = 0;
    double FirstVideo(const std::vector<Match>& matches) const { return matches[members.front()].video; }
    double LastVideo(const std::vector<Match>& matches) const { return matches[members.back()].video; }
};

// Segments in video order; none when too few windows agree on anything.
std::vector<FittedSegment> FitSegments(const std::vector<Match>& matches);

} // namespace align
