#pragma once
// --auto-points: the points are found by comparing the input's own sound with the separate
// sound, and printed with the clocks' drift before the conversion uses them.
#include "sync/sync_state.h"

#include <string>

namespace cli {

// Finds the points and makes them `sync`'s points. False, after saying why, when the two
// recordings do not match.
bool FindAutoPoints(const std::string& videoPath, const std::string& soundPath,
                    avsync::SyncState& sync);

} // namespace cli
