#pragma once
// The times the preview and the conversion compose: the user's times with the video start on
// the first frame of the video at or after it (see avsync::TimesOnFrame).
#include "sync/sync_state.h"

#include <string>

namespace render {

// The start of the first frame of `videoPath` at or after media time t; t itself when the
// file gives no picture or t lies past its last frame's start.
REFERENCE_TIME FirstFrameAtOrAfter(const std::string& videoPath, REFERENCE_TIME t);

avsync::SyncState ComposedTimes(const avsync::SyncState& sync, const std::string& videoPath);

} // namespace render
