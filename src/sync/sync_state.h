#pragma once
// The synchronization state of the one video the user works on: stream durations, the video
// and audio start and end times, the output duration, the audio offset of the players, the
// skip steps and the synchronization points. Plain data and arithmetic, no user interface:
// the main window shows it and asks the questions.
#include "platform/core/reftime.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace avsync {

struct SyncPoint {
    REFERENCE_TIME videoTime = 0;
    REFERENCE_TIME audioTime = 0;
    bool operator==(const SyncPoint&) const = default;
};

constexpr int kMaxSyncPoints = 1000;

// The times an edited point may take: from `low` to `high` in each column, both included.
struct PointBounds {
    SyncPoint low;
    SyncPoint high;
    bool Holds(const SyncPoint& point) const {
        return low.videoTime <= point.videoTime && point.videoTime <= high.videoTime &&
               low.audioTime <= point.audioTime && point.audioTime <= high.audioTime;
    }
};

// The five times that the main window's boxes hold and Read times takes back.
struct EditableTimes {
    REFERENCE_TIME videoStart = 0;
    REFERENCE_TIME videoEnd = 0;
    REFERENCE_TIME audioStart = 0;
    REFERENCE_TIME audioEnd = 0;
    REFERENCE_TIME outputDuration = 0;
};

class SyncState {
  public:
    REFERENCE_TIME videoDuration = 0;
    REFERENCE_TIME audioDuration = 0;
    REFERENCE_TIME videoStart = 0;
    REFERENCE_TIME videoEnd = 0;
    REFERENCE_TIME audioStart = 0;
    REFERENCE_TIME audioEnd = 0;
    REFERENCE_TIME outputDuration = 0;
    REFERENCE_TIME audioOffset = 0;
    std::int32_t skipForwardSeconds = 20;
    std::int32_t skipBackwardSeconds = 10;
    double audioSkipForwardSeconds = 0.3;
    double audioSkipBackwardSeconds = 0.3;
    std::array<SyncPoint, kMaxSyncPoints> syncPoints{};
    std::int32_t syncCount = 0;

    // Full length of both streams and no points shown as changed: the state after opening.
    // The output lasts as long as the shorter stream, or the picture when there is no sound.
    void ResetForNewVideo();
    // Another sound of `length` for the same picture: all of it is used, the output rule as
    // after opening. The points stay; they may have been made for that sound.
    void UseSound(REFERENCE_TIME length);
    void ApplyEditableTimes(const EditableTimes& times);
    EditableTimes Times() const;

    // Stores (v, v + audioOffset) after every point whose video time is not greater than v.
    // False, with nothing changed, when the list is full.
    bool AddPoint(REFERENCE_TIME videoPosition);
    // The same rule for a point whose audio time is known already (found, not nudged).
    bool AddPoint(const SyncPoint& point);
    // Removes the points of the selected rows, given in ascending order as the list shows them.
    void DeletePoints(const std::vector<int>& ascendingRows);
    // The times point i may take without passing its neighbours: the points before and after
    // it, the start times before the first, the end times after the last; nothing when there
    // is no point i.
    std::optional<PointBounds> EditBounds(int index) const;
    // Stores an edited point, checked against EditBounds.
    void SetPoint(int index, const SyncPoint& point);
    void ClearPoints() { syncCount = 0; }
    // Replaces the points wholesale with a list as a file holds it, in its order (at most
    // kMaxSyncPoints); they count as saved.
    bool ReplacePoints(const std::vector<SyncPoint>& points);
    std::vector<SyncPoint> Points() const;

    // Whether there are points that were added, edited or deleted since they were last saved
    // or loaded: closing the program or opening another video would lose them.
    bool HasUnsavedPoints() const { return pointsChanged_ && syncCount > 0; }
    void MarkPointsSaved() { pointsChanged_ = false; }

    // Takes the typed times, then the audio start through the first two points for the typed
    // video start; the video start moves forward when the audio start would fall before 0.
    // Needs two points. False, with nothing changed, when the arithmetic gives no finite time.
    bool CalculateStart(const EditableTimes& typed);
    // One point: both starts become 0.
    void SetStartsToZero();
    // Takes the typed times, then the audio end through the last two points (or, with one
    // point, through the start pair and the point). Needs a point. False, with nothing
    // changed, when the arithmetic gives no finite time.
    bool CalculateEnd(const EditableTimes& typed);

  private:
    bool pointsChanged_ = false;
};

} // namespace avsync
