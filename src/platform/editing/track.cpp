#include "track.h"

#include <algorithm>

namespace editing {

namespace {
// Inserts after every element that starts no later, so equal starts keep their order.
template <typename Node>
void InsertByStart(std::vector<std::unique_ptr<Node>>& nodes, std::unique_ptr<Node> node) {
    const REFERENCE_TIME start = node->GetStartStop().start;
    auto at = std::upper_bound(nodes.begin(), nodes.end(), start,
                               [](REFERENCE_TIME t, const std::unique_ptr<Node>& n) {
                                   return t < n->GetStartStop().start;
                               });
    nodes.insert(at, std::move(node));
}

template <typename Node> Node* At(const std::vector<std::unique_ptr<Node>>& nodes, int i) {
    return i >= 0 && i < static_cast<int>(nodes.size()) ? nodes[i].get() : nullptr;
}
} // namespace

HRESULT Track::SrcAdd(std::unique_ptr<Source> source) {
    if (!source)
        return E_POINTER;
    InsertByStart(sources_, std::move(source));
    return S_OK;
}

HRESULT Track::TransAdd(std::unique_ptr<Transition> transition) {
    if (!transition)
        return E_POINTER;
    const TimeSpan span = transition->GetStartStop();
    for (const auto& other : transitions_) {
        const TimeSpan o = other->GetStartStop();
        if (span.Length() > 0 && o.Length() > 0 && span.start < o.stop && o.start < span.stop)
            return E_INVALIDARG;
    }
    InsertByStart(transitions_, std::move(transition));
    return S_OK;
}

Source* Track::GetSource(int index) {
    return At(sources_, index);
}

const Source* Track::GetSource(int index) const {
    return At(sources_, index);
}

const Transition* Track::GetTransition(int index) const {
    return At(transitions_, index);
}

} // namespace editing
