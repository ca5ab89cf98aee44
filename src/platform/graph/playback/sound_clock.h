#pragma once
// The time a sound output keeps, for its own graph and for any other graph that keeps in step
// with the sound. While the device plays, the time moves with the sound heard: it stands still
// whenever the sound does (an underrun, a starved sound server), so whatever keeps to it waits
// with the sound. While the device is paused the time stands still. When there is no sound to
// wait for (no device, the sound has ended and been heard, the output is gone) it moves with
// the system clock. It never jumps and never goes back.
// Made by a sound output and shared with every graph that keeps time with it; the output
// sets it from its own thread, anyone reads it from any thread.
#include "platform/graph/clock.h"

#include <mutex>

namespace graph {

class SoundClock final : public ReferenceClock {
  public:
    REFERENCE_TIME Now() const override;

    // Called by the sound output. How much has been heard so far, and whether more is being
    // heard at this moment.
    void Heard(REFERENCE_TIME heard, bool advancing);
    // The device plays: the time moves with what is heard.
    void Follow();
    // The device is paused: the time stands still.
    void Hold();
    // Nothing to wait for: the time moves with the system clock.
    void RunFree();

  private:
    enum class Mode { Free, Held, Following };
    REFERENCE_TIME NowLocked() const;
    // What the time moves with in a mode.
    REFERENCE_TIME SourceLocked(Mode mode) const;
    void SwitchLocked(Mode mode);

    // All under mutex_: written by the sound output, read by any thread.
    mutable std::mutex mutex_;
    Mode mode_ = Mode::Free;
    REFERENCE_TIME offset_ = 0; // the time is the mode's source plus this
    REFERENCE_TIME heard_ = 0;
    REFERENCE_TIME heardAt_ = 0; // system time of the last Heard
    bool advancing_ = false;
    mutable REFERENCE_TIME last_ = 0;
    SystemClock system_;
};

} // namespace graph
