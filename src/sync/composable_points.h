#pragma once
// Whether the composition can be built from the points and the times. It cuts the picture
// and the sound at every point, so from the start times through the points to the end times
// both columns must run forward, and every point's sound must lie within the sound track.
// Add point and Edit keep to this; a list loaded from a file or a typed start or end time may
// not, so Preview and Convert ask before they build.
#include "sync/sync_state.h"

#include <optional>

namespace avsync {

struct CompositionFault {
    enum class Kind {
        VideoOutsideStartAndEnd, // the point's video time is before videoStart or after videoEnd
        VideoBeforePrevious,     // the point's video time is earlier than the point before it
        AudioOutsideSound,       // the point's audio time is before 0 or after audioDuration
        AudioOutsideStartAndEnd, // the point's audio time is before audioStart or after audioEnd
        AudioBeforePrevious,     // the point's audio time is earlier than the point before it
        VideoEndBeforeStart,     // without points: videoEnd is earlier than videoStart
        AudioEndBeforeStart,     // without points: audioEnd is earlier than audioStart
        NothingBetween,          // videoEnd equals videoStart: the output would be empty
        VideoEndPastVideo,       // videoEnd lies after the end of the video stream
    };
    Kind kind;
    int point = -1; // index of the offending point; -1 for the start and end times
};

// The first point, in list order, that the composition cannot take (each point is checked in
// the order of the kinds above), or the start and end times when there are no points, then
// a span with nothing in it or reaching past the picture, which keeps its own rate and has
// nothing to show there; nothing when everything can be composed. Equal neighbouring times
// are allowed.
std::optional<CompositionFault> FindCompositionFault(const SyncState& state);

} // namespace avsync
