#include "preview/stream_removal.h"

#include "platform/graph/filter.h"
#include "platform/graph/filter_graph.h"
#include "platform/graph/pin.h"
#include "platform/ui/prompts.h"
#include "platform/ui/show_error.h"

#include <cstdio>

namespace preview {

HRESULT CountFilterPins(graph::BaseFilter* filter, int* in, int* out) {
    if (!filter || !in || !out)
        return E_POINTER;
    *in = 0;
    *out = 0;
    for (graph::Pin* pin : filter->Pins())
        ++(pin->Direction() == graph::PinDirection::Input ? *in : *out);
    return S_OK;
}

graph::Pin* GetOutPin(graph::BaseFilter* filter, int n) {
    return filter ? filter->FindPin(graph::PinDirection::Output, n) : nullptr;
}

graph::BaseFilter* FindSourceFilter(graph::FilterGraph& graph) {
    for (graph::BaseFilter* filter : graph.EnumFilters()) {
        int in = 0;
        int out = 0;
        if (SUCCEEDED(CountFilterPins(filter, &in, &out)) && in == 0 && out > 0)
            return filter;
    }
    return nullptr;
}

HRESULT FindSplitter(graph::BaseFilter* source, graph::BaseFilter** splitter) {
    *splitter = nullptr;
    graph::Pin* output = GetOutPin(source, 0);
    if (!output) {
        ui::MessageBox(nullptr, "Cannot find source filter output pin!", "Error");
        return E_FAIL;
    }
    graph::Pin* input = output->ConnectedTo();
    if (!input) {
        ui::MessageBox(nullptr, "Cannot find the input pin of splitter", "Error");
        return VFW_E_NOT_CONNECTED;
    }
    *splitter = input->Filter();
    return S_OK;
}

namespace {

// Everything behind a filter, depth first: each downstream filter is emptied before it is
// disconnected and taken out.
void RemoveBehind(graph::FilterGraph& graph, graph::BaseFilter* filter) {
    for (graph::Pin* pin : filter->Pins()) {
        graph::Pin* peer = pin->ConnectedTo();
        if (!peer || peer->Direction() != graph::PinDirection::Input)
            continue;
        graph::BaseFilter* next = peer->Filter();
        RemoveBehind(graph, next);
        graph.Disconnect(peer);
        graph.Disconnect(pin);
        graph.RemoveFilter(next);
    }
}

} // namespace

HRESULT RemoveDownstream(graph::FilterGraph& graph, graph::Pin* pin) {
    graph::Pin* peer = pin->ConnectedTo();
    if (!peer || peer->Direction() != graph::PinDirection::Input)
        return S_OK;
    graph::BaseFilter* filter = peer->Filter();
    RemoveBehind(graph, filter);
    graph.Disconnect(peer);
    graph.Disconnect(pin);
    graph.RemoveFilter(filter);
    return S_OK;
}

void RemoveStreams(graph::FilterGraph& graph, PlayerMode mode) {
    if (mode == AllStreams)
        return;
    graph::BaseFilter* source = FindSourceFilter(graph);
    if (!source) {
        std::fputs("Failed to CountFilterPins!\n", stderr);
        return;
    }
    int in = 0;
    int out = 0;
    CountFilterPins(source, &in, &out);
    graph::BaseFilter* splitter = source;
    if (out == 1) {
        const HRESULT hr = FindSplitter(source, &splitter);
        if (FAILED(hr)) {
            if (hr == VFW_E_NOT_CONNECTED)
                ui::ShowError("Failed to find pSplitterFilter!  hr=0x%x\n", hr);
            return;
        }
    }
    CountFilterPins(splitter, &in, &out);
    // Removing a branch leaves the demultiplexer's pins in place, so indices stay valid.
    for (int i = 0; i < out; ++i) {
        graph::Pin* pin = GetOutPin(splitter, i);
        graph::MediaType type;
        if (!pin || FAILED(pin->ConnectionMediaType(&type)))
            break;
        const bool audio = type.Major() == graph::MajorType::Audio;
        if (audio && mode == VideoOnly && FAILED(RemoveDownstream(graph, pin)))
            ui::MessageBox(nullptr, "Fail to nuke audio stream", "Error");
        if (!audio && mode == AudioOnly && FAILED(RemoveDownstream(graph, pin)))
            ui::MessageBox(nullptr, "Fail to nuke video streams", "Error");
    }
}

} // namespace preview
