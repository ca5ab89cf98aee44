#pragma once
// Points from the file's own events: a sound onset and the picture event it belongs to (the
// clap and the frame where the hands meet) give a point. Along the whole file, the pairs that
// agree on one straight map (the consensus fit of the separate-sound search) are kept and the
// others ignored, so extra clicks without a flash, or cuts without a sound, do not count.
// This covers one file whose own sound drifts, and the habit of a clap or a flash at the start
// and the end of a take.
//
// Pure computation; any thread.
#include "align/alignment.h"

#include <optional>
#include <vector>

namespace align {

// Where events are looked for, and how closely a pair must agree. A sound onset pairs with a
// picture event when it lies within `reach` of the picture event's time plus `offset` (the
// sound's offset now in force, audio minus video).
struct EventSearch {
    REFERENCE_TIME offset = 0;
    REFERENCE_TIME reach = 10 * UNITS;
    // The picture event stands for the instant somewhere in the frame before it: pairs agree
    // to within a frame.
    REFERENCE_TIME frameDuration = UNITS / 25;
};

// `picture` and `sound`: event times, rising (video time; time in the sound in use). Matched
// with points at the first and the last agreeing pair, read from the fitted line; refused with
// NoPictureEvents or NoSoundEvents when a side has none, EventsDisagree when no two pairs agree.
Alignment PointsFromEvents(const std::vector<REFERENCE_TIME>& picture,
                           const std::vector<REFERENCE_TIME>& sound, const EventSearch& search);

// The point given by the picture event nearest `video` and the sound onset nearest to it plus
// the offset, each within the reach; nothing when either side has no event there.
std::optional<ProposedPoint> SnapToEvents(const std::vector<REFERENCE_TIME>& picture,
                                          const std::vector<REFERENCE_TIME>& sound,
                                          REFERENCE_TIME video, const EventSearch& search);

// Finds the events of the video at `videoPath` (its picture) and of the sound in use at
// `soundPath` (the video's own, or the separate sound) and pairs them. `progress` as in
// FindPoints.
Alignment FindPointsFromEvents(const std::string& videoPath, const std::string& soundPath,
                               EventSearch search,
                               const std::function<bool(double fraction)>& progress);

} // namespace align
