#pragma once
// The picture's own events: frames that differ suddenly and widely from the frame before (a
// flash, a cut, a clapper board closing), each placed on the frame where the change first
// shows. A flash that goes out again within a few frames is one event, not two.
//
// The detector is fed every decoded frame in order and keeps only a small grey copy of the
// last ones. One thread at a time; its owner decides which.
#include "platform/core/reftime.h"
#include "platform/core/status.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

struct AVFrame;
struct SwsContext;

namespace align {

class PictureEventDetector {
  public:
    PictureEventDetector() = default;
    ~PictureEventDetector();
    PictureEventDetector(const PictureEventDetector&) = delete;
    PictureEventDetector& operator=(const PictureEventDetector&) = delete;

    // The next frame and its start in media time.
    void Feed(const AVFrame* frame, REFERENCE_TIME start);
    // Start times of the event frames, rising.
    const std::vector<REFERENCE_TIME>& Events() const { return events_; }

  private:
    using Grey = std::vector<std::uint8_t>;
    bool Shrink(const AVFrame* frame, Grey* grey);

    SwsContext* scaler_ = nullptr;
    Grey last_;
    std::deque<double> recentChanges_; // the changes between the last frames, the newest last
    Grey beforeEvent_;                 // the frame before the latest event
    int framesSinceEvent_ = -1;
    std::vector<REFERENCE_TIME> events_;
};

// The events of the best picture stream of the file at `path`, in media time after the file's
// start, and the stream's frame duration (0 when it does not say). `progress` is told the
// fraction read now and then and returns false to stop (E_ABORT). VFW_E_NOT_FOUND when the
// file has no picture; the decoding failures of editing::MediaFile otherwise.
HRESULT FindPictureEvents(const std::string& path, const std::function<bool(double)>& progress,
                          std::vector<REFERENCE_TIME>* events, REFERENCE_TIME* frameDuration);

} // namespace align
