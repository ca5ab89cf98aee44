#pragma once
// What every timeline object shares: its kind of node and spans of time.
#include "platform/core/reftime.h"
#include "platform/core/status.h"

namespace editing {

// The kinds of node a timeline makes, with the values of the Windows editing engine.
enum TIMELINE_MAJOR_TYPE : int {
    TIMELINE_MAJOR_TYPE_TRACK = 2,
    TIMELINE_MAJOR_TYPE_SOURCE = 4,
    TIMELINE_MAJOR_TYPE_TRANSITION = 8,
    TIMELINE_MAJOR_TYPE_GROUP = 128,
};

// A stretch of time from start to stop; on the timeline or inside a media file.
struct TimeSpan {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    REFERENCE_TIME Length() const { return stop - start; }
    bool operator==(const TimeSpan&) const = default;
};

// Spans run forwards only: a stop before its start is refused with E_INVALIDARG.
inline HRESULT CheckedSpan(REFERENCE_TIME start, REFERENCE_TIME stop, TimeSpan& span) {
    if (stop < start)
        return E_INVALIDARG;
    span = {start, stop};
    return S_OK;
}

} // namespace editing
