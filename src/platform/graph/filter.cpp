#include "platform/graph/filter.h"

#include "platform/graph/filter_graph.h"
#include "platform/graph/library_log.h"

namespace graph {

BaseFilter::BaseFilter(std::string name)
    : name_(std::move(name)), classId_(ClassIdOf(FilterKind::Framework, name_)) {}

BaseFilter::BaseFilter(std::string name, const CLSID& classId)
    : name_(std::move(name)), classId_(classId) {}

BaseFilter::~BaseFilter() = default;

std::vector<Pin*> BaseFilter::Pins() const {
    std::vector<Pin*> pins;
    for (const auto& pin : pins_)
        pins.push_back(pin.get());
    return pins;
}

Pin* BaseFilter::FindPin(PinDirection direction, int n) const {
    for (const auto& pin : pins_) {
        if (pin->Direction() == direction && n-- == 0)
            return pin.get();
    }
    return nullptr;
}

HRESULT BaseFilter::Stop() {
    state_ = FilterState::Stopped;
    return S_OK;
}

HRESULT BaseFilter::Pause() {
    state_ = FilterState::Paused;
    return S_OK;
}

HRESULT BaseFilter::Run() {
    state_ = FilterState::Running;
    return S_OK;
}

bool BaseFilter::Accepts(const Pin& input, const MediaType& type) const {
    return input.OfferedType().Major() == type.Major();
}

HRESULT BaseFilter::CompleteConnect(Pin&, Pin&) {
    return S_OK;
}

bool BaseFilter::WantsMore(const Pin&) const {
    return false;
}

HRESULT BaseFilter::Receive(Pin&, MediaSample) {
    return S_FALSE;
}
void BaseFilter::EndOfStream(Pin&) {}
void BaseFilter::BeginFlush(Pin&) {}
void BaseFilter::EndFlush(Pin&) {}
void BaseFilter::NewSegment(Pin&, REFERENCE_TIME) {}

Pin* BaseFilter::AddPin(PinDirection direction, std::string name, MediaType offered) {
    pins_.push_back(std::make_unique<Pin>(this, direction, std::move(name), std::move(offered)));
    return pins_.back().get();
}

void BaseFilter::RemovePins(PinDirection direction) {
    std::erase_if(pins_, [direction](const auto& pin) { return pin->Direction() == direction; });
}

void BaseFilter::SetOfferedType(Pin* pin, MediaType type) {
    pin->offered_ = std::move(type);
}

void BaseFilter::NotifyEvent(long code, std::intptr_t param1, std::intptr_t param2) {
    if (graph_)
        graph_->NotifyEvent(code, param1, param2);
}

void BaseFilter::NoteFailure(HRESULT hr) {
    if (!graph_)
        return;
    const LibraryLogCapture* capture = LibraryLogCapture::Innermost();
    graph_->NoteFailure(capture && !capture->Text().empty() ? capture->Text()
                                                            : core::StatusText(hr));
}

} // namespace graph
