#pragma once
// What the sync view asks of the window that owns it (the main window): the files in use, the
// picture player's position, the synchronization state (points, times, the offset in force),
// moving the players, and adding points by the window's own rules. Called on the window's
// thread only.
#include "align/alignment.h"
#include "sync/sync_state.h"

#include <string>

namespace syncview {

class SyncViewHost {
  public:
    virtual std::string VideoPath() const = 0;
    // The sound in use: the video's own, or the separate sound.
    virtual std::string SoundPath() const = 0;
    virtual REFERENCE_TIME VideoPosition() const = 0;
    // The sound player's position, in the sound's own time.
    virtual REFERENCE_TIME AudioPosition() const = 0;
    virtual const avsync::SyncState& Sync() const = 0;
    // Puts the picture at `video` and the sound at `video` plus the offset in force.
    virtual void SeekTo(REFERENCE_TIME video) = 0;
    // Changes the offset in force; the sound player follows.
    virtual void SetAudioOffset(REFERENCE_TIME offset) = 0;
    // Records a point at the picture's position by Add point's rule.
    virtual void AddPointHere() = 0;
    // Shows `found` as proposals; the points the user keeps are added.
    virtual void ProposePoints(const align::Alignment& found) = 0;

  protected:
    ~SyncViewHost() = default;
};

} // namespace syncview
