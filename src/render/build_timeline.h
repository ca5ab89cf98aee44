#pragma once
// The composition: the editing timeline built from the synchronization state, in which the
// picture keeps its own rate and each piece of sound between two points is played faster or
// slower so that every recorded audio instant falls on its video instant.
#include "options/output_settings.h"
#include "platform/editing/timeline.h"
#include "slideshow/slideshow_lists.h"
#include "sync/sync_state.h"

#include <functional>
#include <memory>

namespace render {

// What one build reads; the caller holds all of it and reads the time boxes just before.
struct CompositionInputs {
    const avsync::SyncState& sync;
    const slideshow::PhotoList& photoList; // video files and transition kinds
    const slideshow::MusicList& musicList; // entry 0 is the sound
    const OutputSettings& output;          // picture size, frame rate, resize mode
    // 1: every source spans the whole output; 0: the sources are cut at the points.
    int singleSpan = 1;
};

// Owns the program's one timeline, which the preview and the conversion hand to a render
// engine. User-interface thread only.
class Composition {
  public:
    using TimelineFactory = std::function<HRESULT(std::unique_ptr<editing::Timeline>&)>;

    // Without a factory, timelines are made directly.
    explicit Composition(TimelineFactory createTimeline = {});

    // Replaces the timeline with one built from `in`. Returns S_OK, or the failure code of the
    // timeline's creation (then there is no timeline). Any later failure shows its message,
    // leaves that step unfinished and the build goes on.
    HRESULT BuildTimeline(const CompositionInputs& in);
    // When the composed preview stops or the conversion ends.
    void ReleaseTimeline() { timeline_.reset(); }

    editing::Timeline* Timeline() const { return timeline_.get(); }
    // The sum of the photo-list durations at the last build; the latest end of a transition.
    REFERENCE_TIME PhotoListTotal() const { return photoListTotal_; }

  private:
    TimelineFactory createTimeline_;
    std::unique_ptr<editing::Timeline> timeline_;
    REFERENCE_TIME photoListTotal_ = 0;
};

} // namespace render
