#pragma once
// The editing timeline: groups of tracks holding sources and transitions, which a render
// engine turns into one output stream per group. The timeline owns everything added to it;
// nodes come from CreateEmptyNode and are handed over, by unique_ptr, to their parent.
// Plain data on the user-interface thread; the engine reads it while no one edits it.
#include "platform/editing/group.h"

#include <concepts>
#include <functional>
#include <memory>
#include <vector>

namespace editing {

// Flags of ValidateSourceNames, with the values of the Windows editing engine.
enum SourceValidation : long {
    SFN_VALIDATEF_CHECK = 0x1,   // look whether every source file exists
    SFN_VALIDATEF_POPUP = 0x2,   // let the user find a missing file with the file dialog
    SFN_VALIDATEF_REPLACE = 0x8, // put the file the user found into the sources
};

template <typename Node>
concept TimelineNode = requires {
    { Node::kType } -> std::convertible_to<TIMELINE_MAJOR_TYPE>;
};

class Timeline {
  public:
    // Asked before every node is made; a failure it returns is CreateEmptyNode's result. The
    // engine itself never refuses a node, so this is how a caller's failure paths get run.
    using NodeCheck = std::function<HRESULT(TIMELINE_MAJOR_TYPE)>;
    void SetNodeCheck(NodeCheck check) { nodeCheck_ = std::move(check); }

    // A new group, track, source or transition, not yet part of the timeline.
    template <TimelineNode Node> HRESULT CreateEmptyNode(std::unique_ptr<Node>& node) {
        node.reset();
        if (nodeCheck_) {
            const HRESULT hr = nodeCheck_(Node::kType);
            if (FAILED(hr))
                return hr;
        }
        node = std::make_unique<Node>();
        return S_OK;
    }

    // Takes the group and appends it. A group without a media type is refused with
    // E_INVALIDARG, and released.
    HRESULT AddGroup(std::unique_ptr<Group> group);
    int GetGroupCount() const { return static_cast<int>(groups_.size()); }
    // Null when the index is out of range.
    Group* GetGroup(int index);
    const Group* GetGroup(int index) const;

    // With SFN_VALIDATEF_CHECK, looks whether the file of every source exists. With POPUP the
    // user is asked, once per missing name, to find it; with REPLACE too, every source of that
    // name takes the file chosen (without it the chosen file only counts as found). S_OK when
    // every file was found, S_FALSE when some were not; unknown flags give E_INVALIDARG.
    HRESULT ValidateSourceNames(long flags);

  private:
    NodeCheck nodeCheck_;
    std::vector<std::unique_ptr<Group>> groups_;
};

} // namespace editing
