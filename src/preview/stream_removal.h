#pragma once
// Cutting branches out of a built graph: a picture-only player loses its sound branches, a
// sound-only player everything but its sound branches.
#include "platform/core/status.h"

namespace graph {
class BaseFilter;
class FilterGraph;
class Pin;
} // namespace graph

namespace preview {

enum PlayerMode { AllStreams = 0, VideoOnly = 1, AudioOnly = 2 };

// E_POINTER without a filter; otherwise the number of input and output pins.
HRESULT CountFilterPins(graph::BaseFilter* filter, int* in, int* out);
// The n-th output pin (from 0), or null.
graph::Pin* GetOutPin(graph::BaseFilter* filter, int n);
// The first filter with no input pin and at least one output pin, or null.
graph::BaseFilter* FindSourceFilter(graph::FilterGraph& graph);
// The filter behind output pin 0 of the source; a failure status when there is none.
HRESULT FindSplitter(graph::BaseFilter* source, graph::BaseFilter** splitter);
// Removes every filter downstream of an output pin and breaks the pin's connection.
HRESULT RemoveDownstream(graph::FilterGraph& graph, graph::Pin* pin);
// Keeps what the mode plays; failures are reported and leave the rest of the graph playing.
void RemoveStreams(graph::FilterGraph& graph, PlayerMode mode);

} // namespace preview
