#pragma once
// One track of a group: it owns its sources and transitions, each kept in order of its
// timeline start.
#include "platform/editing/source.h"
#include "platform/editing/transition.h"

#include <memory>
#include <vector>

namespace editing {

class Track {
  public:
    static constexpr TIMELINE_MAJOR_TYPE kType = TIMELINE_MAJOR_TYPE_TRACK;

    // Takes the source (E_POINTER for none).
    HRESULT SrcAdd(std::unique_ptr<Source> source);
    // Takes the transition. One that overlaps a transition already on the track is refused
    // with E_INVALIDARG and released; a transition of no length overlaps nothing.
    HRESULT TransAdd(std::unique_ptr<Transition> transition);

    int GetSourceCount() const { return static_cast<int>(sources_.size()); }
    // Null when the index is out of range.
    Source* GetSource(int index);
    const Source* GetSource(int index) const;
    int GetTransitionCount() const { return static_cast<int>(transitions_.size()); }
    const Transition* GetTransition(int index) const;

  private:
    std::vector<std::unique_ptr<Source>> sources_;
    std::vector<std::unique_ptr<Transition>> transitions_;
};

} // namespace editing
