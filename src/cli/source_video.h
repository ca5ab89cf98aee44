#pragma once
// The input of a conversion, made ready as "Open Video" and the point commands of the main
// window make it: the probed video as the one clip and, unless a separate sound is given, the
// sound of the composition, the stream lengths, the points of a synchronization list or those
// found automatically, and the four times, given or calculated.
#include "cli/auto_points.h"
#include "cli/convert_options.h"
#include "options/output_settings.h"
#include "slideshow/slideshow_lists.h"
#include "sync/sync_state.h"

namespace cli {

struct SourceVideo {
    avsync::SyncState sync;
    slideshow::PhotoList photoList;
    slideshow::MusicList musicList;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    // What --auto-points found the points on.
    std::optional<FoundDrift> drift;
};

// Opens options.input and reads its synchronization list and times into `source`. False
// after saying why.
bool OpenSource(const ConvertOptions& options, const slideshow::TransitionDefaults& transitions,
                SourceVideo& source);

} // namespace cli
