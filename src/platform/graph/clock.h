#pragma once
// Clocks. A reference clock is any monotonic source of 100-ns time (the sound output while it
// plays, or the system clock). The presentation clock maps it onto the media timeline: the
// position moves with the reference clock while the graph runs and stands still otherwise.
// The graph owns its presentation clock; a reference clock is shared by whoever keeps time
// with it (a sound output's clock outlives the output that made it).
// Threads: the graph starts, freezes and sets its clock on the user-interface thread; any
// thread reads a position or a reference time.
#include "platform/core/reftime.h"

#include <mutex>

namespace graph {

class ReferenceClock {
  public:
    virtual ~ReferenceClock() = default;
    // Safe from any thread; never goes backwards.
    virtual REFERENCE_TIME Now() const = 0;
};

class SystemClock final : public ReferenceClock {
  public:
    REFERENCE_TIME Now() const override;
};

class PresentationClock {
  public:
    explicit PresentationClock(const ReferenceClock* reference) : reference_(reference) {}

    // The media position now. Any thread.
    REFERENCE_TIME Position() const;

    // Called by the graph (user-interface thread).
    void SetReference(const ReferenceClock* reference);
    void Start();
    void Freeze();
    void Set(REFERENCE_TIME position);

  private:
    REFERENCE_TIME PositionLocked() const;

    // All fields: written on the user-interface thread, read anywhere, under mutex_.
    mutable std::mutex mutex_;
    const ReferenceClock* reference_;
    bool running_ = false;
    REFERENCE_TIME anchorMedia_ = 0;
    REFERENCE_TIME anchorReference_ = 0;
};

} // namespace graph
