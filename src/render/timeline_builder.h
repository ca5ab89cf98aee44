#pragma once
// The steps of one build over a timeline that already exists. Each step shows its own failure
// message and ends there; the failure code comes back for whoever wants it.
#include "render/build_timeline.h"

#include <string>

namespace render {

class TimelineBuilder {
  public:
    TimelineBuilder(editing::Timeline& timeline, const CompositionInputs& in,
                    REFERENCE_TIME photoListTotal);

    HRESULT AddVideoGroup();
    HRESULT AddAudioGroup();
    // A track of its own holding the picture of `path`, and the transition of photo-list entry
    // `transitionIndex` at its start, unless the span is shorter than `transitionLength`.
    HRESULT AddVideoSource(editing::Group& group, const std::string& path,
                           editing::TimeSpan timeline, editing::TimeSpan media,
                           REFERENCE_TIME transitionLength, int transitionIndex);
    // A track of its own holding the sound of `path`.
    HRESULT AddAudioSource(editing::Group& group, const std::string& path,
                           editing::TimeSpan timeline, editing::TimeSpan media);
    // The transition of photo-list entry `index` (none for an index past the list's end).
    HRESULT AddTransition(editing::Track& track, REFERENCE_TIME start, REFERENCE_TIME stop,
                          int index);

  private:
    editing::Timeline& timeline_;
    const CompositionInputs in_; // a copy: it only holds references
    REFERENCE_TIME photoListTotal_;
};

} // namespace render
