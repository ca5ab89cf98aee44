#pragma once
// The analysis of a whole picture stream that the sync view needs, made once per file in the
// background: first the presentation time of every frame (read from the packets alone, which
// takes seconds even for hours), then the picture's events (every frame decoded, which takes
// as long as the video needs to decode). Start runs both on a thread of its own; the window's
// thread reads the progress while it runs and takes each result once it is ready. Destroying
// the analysis stops it.
#include "platform/core/reftime.h"
#include "platform/core/status.h"

#include "syncview/background_job.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace syncview {

// The frames of a picture stream in presentation order.
struct FrameTimes {
    std::vector<REFERENCE_TIME> starts; // media time after the file's start, rising
    REFERENCE_TIME frameDuration = 0;   // the stream's usual frame duration, 0 when unknown
    // The frame shown at `t`: the last one starting at or before it (0 before the first).
    std::size_t FrameAt(REFERENCE_TIME t) const;
    // When frame i ends: the next one's start, or the last one's start plus a frame.
    REFERENCE_TIME EndOf(std::size_t i) const;
};

// The frame times of the best picture stream of `path`, from its packets. VFW_E_NOT_FOUND
// without a picture; E_ABORT when `progress` said stop.
HRESULT ReadFrameTimes(const std::string& path, const std::function<bool(double)>& progress,
                       FrameTimes* times);

class PictureAnalysis {
  public:
    // Starts on the picture of `path`, stopping any analysis under way first.
    void Start(const std::string& path);
    // 0..1 over both stages.
    double Progress() const { return job_.Fraction(); }
    bool Done() const { return job_.Done(); }
    // Null until ready (and when the file could not be read).
    std::shared_ptr<const FrameTimes> Frames() const { return framesReady_ ? frames_ : nullptr; }
    std::shared_ptr<const std::vector<REFERENCE_TIME>> Events() const {
        return job_.Done() ? events_ : nullptr;
    }

  private:
    std::shared_ptr<const FrameTimes> frames_;
    std::atomic<bool> framesReady_{false};
    std::shared_ptr<const std::vector<REFERENCE_TIME>> events_;
    BackgroundJob job_; // last: stopped before the results go
};

} // namespace syncview
