// Building a graph: filters, connections, rendering a file.
#include "platform/graph/filter_graph.h"

#include "platform/graph/filter_factories.h"
#include "platform/graph/null_renderer.h"

#include <algorithm>
#include <set>

namespace graph {

FilterGraph::FilterGraph() = default;

FilterGraph::~FilterGraph() {
    Stop();
    events_.SetNotifyWindow(nullptr, 0, 0);
    // Downstream filters go first, so nothing is left pointing at a destroyed filter.
    for (BaseFilter* filter : StateOrder())
        RemoveFilter(filter);
}

HRESULT FilterGraph::AddFilter(std::shared_ptr<BaseFilter> filter, std::string name) {
    if (!filter)
        return E_POINTER;
    if (state_ != FilterState::Stopped)
        return VFW_E_NOT_STOPPED;
    if (filter->graph_)
        return E_INVALIDARG;
    filter->graph_ = this;
    if (!name.empty())
        filter->name_ = std::move(name);
    filters_.push_back(std::move(filter));
    return S_OK;
}

HRESULT FilterGraph::RemoveFilter(BaseFilter* filter) {
    const auto found = std::find_if(filters_.begin(), filters_.end(),
                                    [filter](const auto& f) { return f.get() == filter; });
    if (found == filters_.end())
        return VFW_E_NOT_FOUND;
    if (state_ != FilterState::Stopped)
        return VFW_E_NOT_STOPPED;
    for (const auto& other : filters_) {
        for (Pin* pin : other->Pins()) {
            if (pin->peer_ && pin->peer_->Filter() == filter) {
                pin->peer_ = nullptr;
                pin->connectionType_ = MediaType();
            }
        }
    }
    for (Pin* pin : filter->Pins())
        pin->peer_ = nullptr;
    filter->graph_ = nullptr;
    filters_.erase(found);
    return S_OK;
}

std::vector<BaseFilter*> FilterGraph::EnumFilters() const {
    std::vector<BaseFilter*> filters;
    for (const auto& filter : filters_)
        filters.push_back(filter.get());
    return filters;
}

HRESULT FilterGraph::ConnectDirect(Pin* output, Pin* input) {
    if (!output || !input)
        return E_POINTER;
    if (state_ != FilterState::Stopped)
        return VFW_E_NOT_STOPPED;
    if (output->Direction() != PinDirection::Output || input->Direction() != PinDirection::Input)
        return E_INVALIDARG;
    if (output->Filter()->Graph() != this || input->Filter()->Graph() != this)
        return VFW_E_NOT_FOUND;
    if (output->peer_ || input->peer_)
        return VFW_E_ALREADY_CONNECTED;
    const MediaType& type = output->OfferedType();
    if (!input->Filter()->Accepts(*input, type))
        return VFW_E_TYPE_NOT_ACCEPTED;
    output->peer_ = input;
    input->peer_ = output;
    output->connectionType_ = type;
    input->connectionType_ = type;
    HRESULT hr = output->Filter()->CompleteConnect(*output, *input);
    if (SUCCEEDED(hr))
        hr = input->Filter()->CompleteConnect(*input, *output);
    if (FAILED(hr)) {
        output->peer_ = nullptr;
        input->peer_ = nullptr;
        output->connectionType_ = MediaType();
        input->connectionType_ = MediaType();
    }
    return hr;
}

HRESULT FilterGraph::Disconnect(Pin* pin) {
    if (!pin)
        return E_POINTER;
    if (state_ != FilterState::Stopped)
        return VFW_E_NOT_STOPPED;
    if (!pin->peer_)
        return S_FALSE;
    pin->peer_ = nullptr;
    pin->connectionType_ = MediaType();
    return S_OK;
}

HRESULT FilterGraph::Render(Pin* output) {
    if (!output)
        return E_POINTER;
    if (output->Direction() != PinDirection::Output)
        return E_INVALIDARG;
    if (output->IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    const MediaType& type = output->OfferedType();
    const MajorType major = type.Major();
    HRESULT result = S_OK;
    Pin* tail = output;
    std::vector<BaseFilter*> added;
    if ((major == MajorType::Video || major == MajorType::Audio) && !type.IsDecoded()) {
        std::unique_ptr<BaseFilter> decoder;
        if (SUCCEEDED(CreateDecoder(type, &decoder))) {
            BaseFilter* raw = decoder.get();
            AddFilter(std::move(decoder));
            added.push_back(raw);
            HRESULT hr = ConnectDirect(tail, raw->FindPin(PinDirection::Input, 0));
            if (FAILED(hr)) {
                RemoveFilter(raw);
                return hr;
            }
            tail = raw->FindPin(PinDirection::Output, 0);
        } else {
            result = VFW_S_PARTIAL_RENDER;
        }
    }
    auto removeAdded = [&] {
        for (auto it = added.rbegin(); it != added.rend(); ++it)
            RemoveFilter(*it);
    };
    std::unique_ptr<BaseFilter> renderer;
    if (result == VFW_S_PARTIAL_RENDER ||
        (major != MajorType::Video && major != MajorType::Audio)) {
        renderer = std::make_unique<NullRenderer>(major);
    } else if (const HRESULT made = CreateRenderer(major, &renderer); FAILED(made)) {
        removeAdded();
        return made;
    }
    BaseFilter* raw = renderer.get();
    AddFilter(std::move(renderer));
    added.push_back(raw);
    const HRESULT hr = ConnectDirect(tail, raw->FindPin(PinDirection::Input, 0));
    if (FAILED(hr)) {
        removeAdded();
        return hr;
    }
    return result;
}

HRESULT FilterGraph::RenderFile(const std::string& path) {
    if (state_ != FilterState::Stopped)
        return VFW_E_NOT_STOPPED;
    std::unique_ptr<BaseFilter> source;
    std::unique_ptr<BaseFilter> demultiplexer;
    HRESULT hr = CreateFileReader(path, &source, &demultiplexer);
    if (FAILED(hr))
        return hr;
    const std::size_t before = filters_.size();
    BaseFilter* sourceFilter = source.get();
    BaseFilter* demux = demultiplexer.get();
    AddFilter(std::move(source));
    AddFilter(std::move(demultiplexer));
    hr = ConnectDirect(sourceFilter->FindPin(PinDirection::Output, 0),
                       demux->FindPin(PinDirection::Input, 0));
    bool partial = false;
    bool anyMedia = false;
    if (SUCCEEDED(hr)) {
        for (Pin* pin : demux->Pins()) {
            if (pin->Direction() != PinDirection::Output)
                continue;
            const HRESULT rendered = Render(pin);
            const MajorType major = pin->OfferedType().Major();
            if (rendered == S_OK && (major == MajorType::Video || major == MajorType::Audio))
                anyMedia = true;
            partial |= rendered != S_OK;
        }
        if (!anyMedia)
            hr = VFW_E_UNSUPPORTED_STREAM;
    }
    if (FAILED(hr)) {
        std::vector<BaseFilter*> added;
        for (std::size_t i = before; i < filters_.size(); ++i)
            added.push_back(filters_[i].get());
        for (auto it = added.rbegin(); it != added.rend(); ++it)
            RemoveFilter(*it);
        return hr;
    }
    return partial ? VFW_S_PARTIAL_RENDER : S_OK;
}

// Downstream filters before upstream ones: a depth-first walk along the connections.
std::vector<BaseFilter*> FilterGraph::StateOrder() const {
    std::vector<BaseFilter*> order;
    std::set<BaseFilter*> seen;
    auto visit = [&](auto&& self, BaseFilter* filter) -> void {
        if (!seen.insert(filter).second)
            return;
        for (Pin* pin : filter->Pins()) {
            if (pin->Direction() == PinDirection::Output && pin->ConnectedTo())
                self(self, pin->ConnectedTo()->Filter());
        }
        order.push_back(filter);
    };
    for (const auto& filter : filters_)
        visit(visit, filter.get());
    return order;
}

HRESULT FilterGraph::QueryInterface(IMediaControl** out) {
    return out ? (*out = this, S_OK) : E_POINTER;
}
HRESULT FilterGraph::QueryInterface(IMediaSeeking** out) {
    return out ? (*out = this, S_OK) : E_POINTER;
}
HRESULT FilterGraph::QueryInterface(IMediaEventEx** out) {
    return out ? (*out = this, S_OK) : E_POINTER;
}
HRESULT FilterGraph::QueryInterface(IVideoWindow** out) {
    return out ? (*out = this, S_OK) : E_POINTER;
}
HRESULT FilterGraph::QueryInterface(IBasicVideo** out) {
    return out ? (*out = this, S_OK) : E_POINTER;
}
HRESULT FilterGraph::QueryInterface(IBasicAudio** out) {
    return out ? (*out = this, S_OK) : E_POINTER;
}

} // namespace graph
