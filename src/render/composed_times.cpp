#include "render/composed_times.h"

#include "platform/editing/video_frame_reader.h"
#include "sync/composed_times.h"

#include <limits>

namespace render {

REFERENCE_TIME FirstFrameAtOrAfter(const std::string& videoPath, REFERENCE_TIME t) {
    editing::VideoFrameReader reader;
    if (FAILED(reader.Open(videoPath)) || !reader.FrameAt(t))
        return t;
    if (reader.ShownFrom() >= t)
        return reader.ShownFrom();
    return reader.ShownUntil() == std::numeric_limits<REFERENCE_TIME>::max() ? t
                                                                             : reader.ShownUntil();
}

avsync::SyncState ComposedTimes(const avsync::SyncState& sync, const std::string& videoPath) {
    return avsync::TimesOnFrame(sync, FirstFrameAtOrAfter(videoPath, sync.videoStart));
}

} // namespace render
