#include "sync/composable_points.h"

namespace avsync {
namespace {

using Kind = CompositionFault::Kind;

bool Within(REFERENCE_TIME time, REFERENCE_TIME low, REFERENCE_TIME high) {
    return low <= time && time <= high;
}

std::optional<Kind> PointFault(const SyncState& state, int i) {
    const SyncPoint& point = state.syncPoints[i];
    const SyncPoint* previous = i > 0 ? &state.syncPoints[i - 1] : nullptr;
    if (!Within(point.videoTime, state.videoStart, state.videoEnd))
        return Kind::VideoOutsideStartAndEnd;
    if (previous && point.videoTime < previous->videoTime)
        return Kind::VideoBeforePrevious;
    if (!Within(point.audioTime, 0, state.audioDuration))
        return Kind::AudioOutsideSound;
    if (!Within(point.audioTime, state.audioStart, state.audioEnd))
        return Kind::AudioOutsideStartAndEnd;
    if (previous && point.audioTime < previous->audioTime)
        return Kind::AudioBeforePrevious;
    return std::nullopt;
}

} // namespace

std::optional<CompositionFault> FindCompositionFault(const SyncState& state) {
    for (int i = 0; i < state.syncCount; ++i) {
        if (const std::optional<Kind> kind = PointFault(state, i))
            return CompositionFault{*kind, i};
    }
    // With points, a start after its end leaves every point outside them, and is found above.
    if (state.videoEnd < state.videoStart)
        return CompositionFault{Kind::VideoEndBeforeStart};
    if (state.audioEnd < state.audioStart)
        return CompositionFault{Kind::AudioEndBeforeStart};
    if (state.videoEnd == state.videoStart)
        return CompositionFault{Kind::NothingBetween};
    // The length is unknown (0) only before a video is measured.
    if (state.videoDuration > 0 && state.videoEnd > state.videoDuration)
        return CompositionFault{Kind::VideoEndPastVideo};
    return std::nullopt;
}

} // namespace avsync
