#pragma once
// The times a composition is built from, derived from the user's state without changing it.
//
// The picture keeps its own rate everywhere, so the output lasts from the video start to the
// video end. Output frames are taken one for one from the source's frames only when the video
// start lies on a frame: from a start between two frames every picture would be shown up to
// half a frame away from the sound that the map puts exactly. So the start moves forward onto
// the first frame at or after it, and the audio start moves with it along the map that the
// start, the points and the end draw. A point the move passes over is left out: its
// stretch of the map begins before the output, and the rest of the map is kept as it was.
#include "sync/sync_state.h"

namespace avsync {

// The audio instant the map gives video instant v: through the start, the points and the end
// (straight through the start and end without points), extended along the first or last
// stretch outside them.
REFERENCE_TIME MappedAudioTime(const SyncState& sync, REFERENCE_TIME v);

// `sync` with the video start moved to `firstFrame` (the start of the first source frame at
// or after it), the audio start on the map there, the points before it left out, and the
// output as long as the span from the start to the end. A frame outside the span moves
// nothing.
SyncState TimesOnFrame(const SyncState& sync, REFERENCE_TIME firstFrame);

} // namespace avsync
