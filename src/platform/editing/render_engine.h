#pragma once
// Renders a timeline: a front end with one output pin per group, in a graph of its own. For
// the preview the pins go to the picture and sound renderers; a writer can take them instead.
//
//   editing::RenderEngine engine;
//   engine.SetTimelineObject(timeline);
//   engine.ConnectFrontEnd();
//   engine.RenderOutputPins();
//   graph::FilterGraph* graph; engine.GetFilterGraph(&graph);   // run it, seek it...
#include "platform/editing/timeline.h"
#include "platform/editing/timeline_front_end.h"
#include "platform/graph/filter_graph.h"

#include <memory>

namespace editing {

class RenderEngine {
  public:
    RenderEngine() = default;
    ~RenderEngine();
    RenderEngine(const RenderEngine&) = delete;
    RenderEngine& operator=(const RenderEngine&) = delete;

    // The timeline stays the caller's; it must outlive the engine's graph.
    HRESULT SetTimelineObject(Timeline* timeline);
    HRESULT GetTimelineObject(Timeline** timeline) const;
    // Accepted for the callers that set it; the graph is always rebuilt whole.
    HRESULT SetDynamicReconnectLevel(long level);
    // Builds the graph with the front end. E_UNEXPECTED without a timeline; the status of a
    // source file that cannot be read.
    HRESULT ConnectFrontEnd();
    // Every group pin to its renderer.
    HRESULT RenderOutputPins();
    // The graph stays the engine's until ScrapIt or the engine's end.
    HRESULT GetFilterGraph(graph::FilterGraph** graph) const;
    HRESULT GetGroupOutputPin(long group, graph::Pin** pin) const;
    // For writing a file: see TimelineFrontEnd::ComposeInBackground. E_UNEXPECTED before
    // ConnectFrontEnd.
    HRESULT ComposeInBackground();
    // Stops and discards the graph.
    HRESULT ScrapIt();

  private:
    Timeline* timeline_ = nullptr;
    std::unique_ptr<graph::FilterGraph> graph_;
    TimelineFrontEnd* frontEnd_ = nullptr;
};

// The stream of one group: its picture or its sound, as the group's media type says.
HRESULT CreateGroupStream(const Group& group, std::unique_ptr<GroupStream>* out);

} // namespace editing
