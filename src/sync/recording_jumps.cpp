#include "sync/recording_jumps.h"

#include <cmath>

namespace avsync {

bool IsRecordingJump(REFERENCE_TIME videoLength, REFERENCE_TIME audioLength) {
    if (videoLength <= 0)
        return audioLength != 0;
    const double ratio = static_cast<double>(audioLength) / static_cast<double>(videoLength);
    return std::abs(ratio - 1.0) > kLargestDrift;
}

std::vector<VideoSpan> SilentSpans(const std::vector<SyncPoint>& points) {
    std::vector<VideoSpan> spans;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const SyncPoint& before = points[i - 1];
        const SyncPoint& after = points[i];
        if (IsRecordingJump(after.videoTime - before.videoTime, after.audioTime - before.audioTime))
            spans.push_back({before.videoTime, after.videoTime});
    }
    return spans;
}

} // namespace avsync
