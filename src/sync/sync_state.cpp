#include "sync/sync_state.h"

#include "sync/time_text.h"

#include <algorithm>
#include <limits>

namespace avsync {
namespace {

// The end rule: the line through Q and P evaluated at x. The audio difference is taken in
// 64 bits before it is converted, as the stored points are exact integers; a difference
// beyond 64 bits gives no number at all.
double LineThrough(const SyncPoint& p, const SyncPoint& q, REFERENCE_TIME x) {
    REFERENCE_TIME audioDifference = 0;
    if (__builtin_sub_overflow(p.audioTime, q.audioTime, &audioDifference))
        return std::numeric_limits<double>::quiet_NaN();
    double xv = static_cast<double>(x);
    double pv = static_cast<double>(p.videoTime);
    double qv = static_cast<double>(q.videoTime);
    return ((xv - pv) / (pv - qv)) * static_cast<double>(audioDifference) +
           static_cast<double>(p.audioTime);
}

} // namespace

void SyncState::ResetForNewVideo() {
    videoStart = 0;
    videoEnd = videoDuration;
    UseSound(audioDuration);
}

void SyncState::UseSound(REFERENCE_TIME length) {
    audioDuration = length;
    audioStart = 0;
    audioEnd = audioDuration;
    // A video without sound is composed over its whole picture, with silence.
    outputDuration = audioDuration > 0 ? std::min(audioDuration, videoDuration) : videoDuration;
}

void SyncState::ApplyEditableTimes(const EditableTimes& times) {
    videoStart = times.videoStart;
    videoEnd = times.videoEnd;
    audioStart = times.audioStart;
    audioEnd = times.audioEnd;
    outputDuration = times.outputDuration;
}

EditableTimes SyncState::Times() const {
    return {videoStart, videoEnd, audioStart, audioEnd, outputDuration};
}

bool SyncState::AddPoint(REFERENCE_TIME videoPosition) {
    return AddPoint(SyncPoint{videoPosition, videoPosition + audioOffset});
}

bool SyncState::AddPoint(const SyncPoint& point) {
    if (syncCount >= kMaxSyncPoints)
        return false;
    auto begin = syncPoints.begin();
    auto end = begin + syncCount;
    auto at =
        std::find_if(begin, end, [&](const SyncPoint& p) { return p.videoTime > point.videoTime; });
    std::move_backward(at, end, end + 1);
    *at = point;
    ++syncCount;
    pointsChanged_ = true;
    return true;
}

void SyncState::DeletePoints(const std::vector<int>& ascendingRows) {
    int removed = 0;
    for (int row : ascendingRows) {
        int index = row - removed;
        if (index < 0 || index >= syncCount)
            continue;
        auto at = syncPoints.begin() + index;
        std::move(at + 1, syncPoints.begin() + syncCount, at);
        --syncCount;
        ++removed;
        pointsChanged_ = true;
    }
}

std::optional<PointBounds> SyncState::EditBounds(int i) const {
    const int n = syncCount;
    if (i < 0 || i >= n)
        return std::nullopt;
    PointBounds bounds{{videoStart, audioStart}, {videoEnd, audioEnd}};
    if (i > 0)
        bounds.low = syncPoints[i - 1];
    if (i < n - 1)
        bounds.high = syncPoints[i + 1];
    return bounds;
}

void SyncState::SetPoint(int index, const SyncPoint& point) {
    syncPoints[index] = point;
    pointsChanged_ = true;
}

bool SyncState::ReplacePoints(const std::vector<SyncPoint>& points) {
    if (points.size() > static_cast<std::size_t>(kMaxSyncPoints))
        return false;
    std::copy(points.begin(), points.end(), syncPoints.begin());
    syncCount = static_cast<std::int32_t>(points.size());
    pointsChanged_ = false;
    return true;
}

std::vector<SyncPoint> SyncState::Points() const {
    return {syncPoints.begin(), syncPoints.begin() + syncCount};
}

bool SyncState::CalculateStart(const EditableTimes& typed) {
    if (syncCount < 2)
        return false;
    const double a0 = static_cast<double>(syncPoints[0].videoTime);
    const double a1 = static_cast<double>(syncPoints[1].videoTime);
    const double b0 = static_cast<double>(syncPoints[0].audioTime);
    const double b1 = static_cast<double>(syncPoints[1].audioTime);
    const double dA = a1 - a0;
    const double dB = b1 - b0;
    // With the video start on the first point q is infinite and dB / q is 0: the audio start
    // is that point's audio time, as the line says.
    const double q = dA / (a0 - static_cast<double>(typed.videoStart));
    const double start = b0 - dB / q;
    if (!FitsTime(start))
        return false;
    REFERENCE_TIME newAudioStart = static_cast<REFERENCE_TIME>(start);
    REFERENCE_TIME newVideoStart = typed.videoStart;
    if (newAudioStart < 0) {
        // Start where the line reaches audio 0 instead.
        const double r = dB / (b0 - 0.0);
        const double video = a0 - dA / r;
        if (!FitsTime(video))
            return false;
        newAudioStart = 0;
        newVideoStart = static_cast<REFERENCE_TIME>(video);
    }
    ApplyEditableTimes(typed);
    videoStart = newVideoStart;
    audioStart = newAudioStart;
    return true;
}

void SyncState::SetStartsToZero() {
    videoStart = 0;
    audioStart = 0;
}

bool SyncState::CalculateEnd(const EditableTimes& typed) {
    if (syncCount < 1)
        return false;
    SyncPoint p;
    SyncPoint q;
    if (syncCount == 1) {
        p = syncPoints[0];
        q = SyncPoint{typed.videoStart, typed.audioStart};
    } else {
        p = syncPoints[syncCount - 1];
        q = syncPoints[syncCount - 2];
    }
    const double end = LineThrough(p, q, typed.videoEnd);
    if (!FitsTime(end))
        return false;
    ApplyEditableTimes(typed);
    audioEnd = static_cast<REFERENCE_TIME>(end);
    return true;
}

} // namespace avsync
