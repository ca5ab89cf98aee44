#include "sync/composed_times.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace avsync {
namespace {

// The corners of the map in video order: the start, the points, the end.
std::vector<SyncPoint> MapCorners(const SyncState& sync) {
    std::vector<SyncPoint> corners{{sync.videoStart, sync.audioStart}};
    for (int i = 0; i < std::clamp(sync.syncCount, 0, kMaxSyncPoints); ++i)
        corners.push_back(sync.syncPoints[i]);
    corners.push_back({sync.videoEnd, sync.audioEnd});
    return corners;
}

} // namespace

REFERENCE_TIME MappedAudioTime(const SyncState& sync, REFERENCE_TIME v) {
    const std::vector<SyncPoint> corners = MapCorners(sync);
    // The stretch holding v: the last whose start is at or before it, but never the end alone.
    std::size_t i = 0;
    while (i + 2 < corners.size() && corners[i + 1].videoTime <= v)
        ++i;
    const SyncPoint& from = corners[i];
    const SyncPoint& to = corners[i + 1];
    if (to.videoTime == from.videoTime)
        return v < from.videoTime ? from.audioTime : to.audioTime;
    // In long double: the products of two times in 100 ns units pass 2^53.
    const long double rate = static_cast<long double>(to.audioTime - from.audioTime) /
                             static_cast<long double>(to.videoTime - from.videoTime);
    return from.audioTime +
           static_cast<REFERENCE_TIME>(std::llround(rate * static_cast<long double>(v - from.videoTime)));
}

SyncState TimesOnFrame(const SyncState& sync, REFERENCE_TIME firstFrame) {
    SyncState composed = sync;
    if (firstFrame > sync.videoStart && firstFrame < sync.videoEnd) {
        composed.audioStart = MappedAudioTime(sync, firstFrame);
        composed.videoStart = firstFrame;
        int kept = 0;
        for (int i = 0; i < std::clamp(sync.syncCount, 0, kMaxSyncPoints); ++i) {
            if (sync.syncPoints[i].videoTime >= firstFrame)
                composed.syncPoints[kept++] = sync.syncPoints[i];
        }
        composed.syncCount = kept;
    }
    composed.outputDuration = composed.videoEnd - composed.videoStart;
    return composed;
}

} // namespace avsync
