#pragma once
// --auto-points: the points are found by comparing the input's own sound with the separate
// sound, or, without one, by pairing the events of the input's picture and sound; they are
// printed with the drift before the conversion uses them.
#include "sync/sync_state.h"

#include <string>

namespace cli {

// The clocks' drift and the offset of the map the points were found on.
struct FoundDrift {
    double ppm = 0;
    REFERENCE_TIME offset = 0;
};

// Finds the points and makes them `sync`'s points. An empty `soundPath` means the video's own
// sound. False, after saying why, when nothing matches.
bool FindAutoPoints(const std::string& videoPath, const std::string& soundPath,
                    avsync::SyncState& sync, FoundDrift& drift);

} // namespace cli
