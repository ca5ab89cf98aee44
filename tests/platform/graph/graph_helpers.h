#pragma once
// Walking and trimming graphs the way the players do, for the graph tests.
#include "platform/graph/filter_graph.h"

#include <QObject>

#include <string>
#include <vector>

namespace graphtest {

// Input and output pin counts of a filter.
struct PinCounts {
    int in = 0;
    int out = 0;
};
PinCounts CountPins(const graph::BaseFilter* filter);

// Filters with this name.
std::vector<graph::BaseFilter*> FiltersNamed(graph::FilterGraph& graph, const std::string& name);

// The first filter with no input pin and at least one output pin.
graph::BaseFilter* FindSourceFilter(graph::FilterGraph& graph);

// Removes every filter downstream of an output pin, depth first.
HRESULT RemoveDownstream(graph::FilterGraph& graph, graph::Pin* pin);

// Removes the branches of the demultiplexer whose major type is (keep = false) or is not
// (keep = true) `major`.
void RemoveBranches(graph::FilterGraph& graph, graph::MajorType major, bool keep);

// Receives posted window messages and counts those with one number.
class MessageCounter : public QObject {
  public:
    explicit MessageCounter(unsigned message) : message_(message) {}
    int count = 0;

  protected:
    bool event(QEvent* event) override;

  private:
    unsigned message_;
};

// Processes events until the graph reports `code` or the time runs out; true when it came.
bool WaitForEvent(graph::FilterGraph& graph, long code, int timeoutMs);

} // namespace graphtest
