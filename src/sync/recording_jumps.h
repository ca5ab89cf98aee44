#pragma once
// Two clocks drift apart by parts per million; a stretch between neighbouring points whose
// sound would have to play more than a tenth faster or slower than its picture is no drift
// but a jump of the recording (a recorder paused, a camera restarted). Such a stretch is
// composed as silence, faded out before and in after, rather than as sound stretched many
// times over.
#include "sync/sync_state.h"

#include <vector>

namespace avsync {

constexpr double kLargestDrift = 0.10;

// Whether `audioLength` of sound laid over `videoLength` of picture is beyond any drift.
bool IsRecordingJump(REFERENCE_TIME videoLength, REFERENCE_TIME audioLength);

struct VideoSpan {
    REFERENCE_TIME from = 0;
    REFERENCE_TIME to = 0;
};

// The stretches between neighbouring points (in video order) that are composed as silence.
std::vector<VideoSpan> SilentSpans(const std::vector<SyncPoint>& points);

} // namespace avsync
