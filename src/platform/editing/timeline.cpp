#include "timeline.h"

namespace editing {

HRESULT Timeline::AddGroup(std::unique_ptr<Group> group) {
    if (!group)
        return E_POINTER;
    if (group->GetMediaType().majortype == GUID_NULL)
        return E_INVALIDARG;
    groups_.push_back(std::move(group));
    return S_OK;
}

Group* Timeline::GetGroup(int index) {
    return index >= 0 && index < GetGroupCount() ? groups_[index].get() : nullptr;
}

const Group* Timeline::GetGroup(int index) const {
    return index >= 0 && index < GetGroupCount() ? groups_[index].get() : nullptr;
}

} // namespace editing
