#include "platform/graph/writing/capture_graph_builder.h"

#include "platform/graph/writing/device_enumerator.h"
#include "platform/graph/writing/multiplexer.h"

#include <algorithm>

namespace graph {

namespace {

bool InGraph(FilterGraph* graph, const BaseFilter* filter) {
    const std::vector<BaseFilter*> filters = graph->EnumFilters();
    return std::find(filters.begin(), filters.end(), filter) != filters.end();
}

Pin* FirstFree(const BaseFilter* filter, PinDirection direction) {
    for (Pin* pin : filter->Pins()) {
        if (pin->Direction() == direction && !pin->IsConnected())
            return pin;
    }
    return nullptr;
}

// The writer an output kind names, and the name it is added under.
HRESULT CreateWriter(const GUID& type, std::shared_ptr<BaseFilter>* writer) {
    if (type == CLSID_WMAsfWriter) {
        std::shared_ptr<AsfWriter> asf;
        const HRESULT hr = AsfWriter::Create(&asf);
        *writer = std::move(asf);
        return hr;
    }
    if (type == MEDIASUBTYPE_Avi) {
        std::shared_ptr<Multiplexer> avi;
        const HRESULT hr =
            Multiplexer::Create(av_guess_format("avi", nullptr, nullptr), "AVI Mux", &avi);
        *writer = std::move(avi);
        return hr;
    }
    const DeviceEntry* entry = FindDeviceByClassId(type);
    if (!entry || entry->kind != FilterKind::Multiplexer)
        return VFW_E_NOT_FOUND;
    return CreateFilterByClassId(type, writer);
}

} // namespace

HRESULT CaptureGraphBuilder2::SetFiltergraph(FilterGraph* graph) {
    if (!graph)
        return E_POINTER;
    graph_ = graph;
    return S_OK;
}

HRESULT CaptureGraphBuilder2::GetFiltergraph(FilterGraph** graph) const {
    if (!graph)
        return E_POINTER;
    *graph = graph_;
    return graph_ ? S_OK : E_UNEXPECTED;
}

HRESULT CaptureGraphBuilder2::SetOutputFileName(const GUID& type, const std::string& file,
                                                BaseFilter** mux, IFileSinkFilter2** sink) {
    if (!mux)
        return E_POINTER;
    *mux = nullptr;
    if (sink)
        *sink = nullptr;
    if (!graph_)
        return E_UNEXPECTED;
    if (file.empty())
        return E_INVALIDARG;
    std::shared_ptr<BaseFilter> writer;
    HRESULT hr = CreateWriter(type, &writer);
    if (FAILED(hr))
        return hr;
    auto* fileSink = QueryFilterInterface<IFileSinkFilter2>(writer.get());
    if (!fileSink)
        return VFW_E_NOT_FOUND;
    hr = fileSink->SetFileName(file);
    if (FAILED(hr))
        return hr;
    BaseFilter* added = writer.get();
    hr = graph_->AddFilter(std::move(writer));
    if (FAILED(hr))
        return hr;
    *mux = added;
    if (sink)
        *sink = fileSink;
    return S_OK;
}

HRESULT CaptureGraphBuilder2::ConnectToFreeInput(Pin* output, BaseFilter* filter) {
    HRESULT last = VFW_E_CANNOT_RENDER;
    for (Pin* input : filter->Pins()) {
        if (input->Direction() != PinDirection::Input || input->IsConnected())
            continue;
        if (!filter->Accepts(*input, output->OfferedType()))
            continue;
        last = graph_->ConnectDirect(output, input);
        if (SUCCEEDED(last))
            return last;
    }
    return last;
}

HRESULT CaptureGraphBuilder2::RenderStream(Pin* source, BaseFilter* intermediate,
                                           BaseFilter* sink) {
    if (!source || !sink)
        return E_POINTER;
    if (!graph_)
        return E_UNEXPECTED;
    if (source->Direction() != PinDirection::Output)
        return E_INVALIDARG;
    if (!InGraph(graph_, source->Filter()) || !InGraph(graph_, sink) ||
        (intermediate && !InGraph(graph_, intermediate)))
        return VFW_E_NOT_FOUND;
    if (source->IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    if (!intermediate)
        return ConnectToFreeInput(source, sink);
    HRESULT hr = ConnectToFreeInput(source, intermediate);
    if (FAILED(hr))
        return hr;
    Pin* middle = FirstFree(intermediate, PinDirection::Output);
    hr = middle ? ConnectToFreeInput(middle, sink) : VFW_E_CANNOT_RENDER;
    if (FAILED(hr)) {
        // Nothing of a half-made branch stays connected.
        Pin* input = source->ConnectedTo();
        graph_->Disconnect(source);
        graph_->Disconnect(input);
    }
    return hr;
}

} // namespace graph
