#pragma once
// Builds the writing end of a graph, in the shape of the framework's capture graph builder:
// a writer for an output file, and streams from an output pin through an optional filter (a
// compressor) into it. Every call on the user-interface thread, with the graph stopped.
//
//   graph::CaptureGraphBuilder2 builder;
//   builder.SetFiltergraph(graph);
//   graph::BaseFilter* mux = nullptr;
//   graph::IFileSinkFilter2* sink = nullptr;
//   builder.SetOutputFileName(graph::MEDIASUBTYPE_Avi, "/tmp/out.avi", &mux, &sink);
//   graph->AddFilter(videoCompressor, "VideoCompressor");
//   builder.RenderStream(videoPin, videoCompressor.get(), mux);
//   builder.RenderStream(audioPin, nullptr, mux);
// The caller owns the builder; the filters it makes belong to the graph it was given.
#include "platform/core/guid.h"
#include "platform/graph/filter_graph.h"
#include "platform/graph/writing/asf_writer.h"
#include "platform/graph/writing/writer_interfaces.h"

#include <string>

namespace graph {

// The AVI output kind, which SetOutputFileName knows besides the class identifiers of the
// writers (CLSID_WMAsfWriter and those of the multiplexers).
constexpr GUID MEDIASUBTYPE_Avi = core::GuidLiteral("{E436EB88-524F-11CE-9F53-0020AF0BA770}");

class CaptureGraphBuilder2 {
  public:
    // The graph the other calls build in; it must outlive their use. E_POINTER for none.
    HRESULT SetFiltergraph(FilterGraph* graph);
    HRESULT GetFiltergraph(FilterGraph** graph) const;

    // Adds the writer for `type` under its friendly name and gives it the file: the AVI
    // multiplexer for MEDIASUBTYPE_Avi, the ASF writer for CLSID_WMAsfWriter, or the
    // multiplexer whose class identifier `type` is. The writer is its own file sink: `sink`
    // (optional) is its IFileSinkFilter2. E_UNEXPECTED without a graph; E_INVALIDARG for an
    // empty file name; VFW_E_NOT_FOUND (and nothing added) when `type` names no writer.
    HRESULT SetOutputFileName(const GUID& type, const std::string& file, BaseFilter** mux,
                              IFileSinkFilter2** sink);

    // Connects `source` (an output pin) through `intermediate` (a filter of the graph, or
    // null) to the first free input of `sink` that takes the stream. On failure nothing new
    // stays connected: VFW_E_NOT_FOUND for filters outside the graph, VFW_E_ALREADY_CONNECTED
    // for a connected source, VFW_E_CANNOT_RENDER when no free pin takes the stream, or the
    // status of the connection that failed.
    HRESULT RenderStream(Pin* source, BaseFilter* intermediate, BaseFilter* sink);

  private:
    HRESULT ConnectToFreeInput(Pin* output, BaseFilter* filter);

    FilterGraph* graph_ = nullptr;
};

} // namespace graph
