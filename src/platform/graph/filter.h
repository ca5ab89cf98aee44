#pragma once
// The base of every filter. A filter owns its pins. The graph shares the ownership of its
// filters with whoever else holds them: a filter the program keeps (an encoder with its
// settings) outlives the graphs it is added to, and can join the next one once the last has
// let it go.
//
// Threads: the graph calls Stop/Pause/Run, and changes connections, on the user-interface
// thread. Receive, EndOfStream, NewSegment and the flush calls arrive on the streaming thread
// of the filter upstream, except BeginFlush/EndFlush, which the seeking filter sends from
// the thread that seeks (the user-interface thread). A filter that blocks in Receive must
// wake up on BeginFlush and on Stop. A filter passes EndFlush on only once its own thread
// can no longer deliver a sample from before the flush.
#include "platform/core/guid.h"
#include "platform/core/reftime.h"
#include "platform/core/status.h"
#include "platform/graph/class_id.h"
#include "platform/graph/media_sample.h"
#include "platform/graph/pin.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace graph {

class FilterGraph;
class MediaSeeker;
class ReferenceClock;

enum class FilterState { Stopped, Paused, Running };

class BaseFilter {
  public:
    // A filter of the framework: its class identifier comes from its name.
    explicit BaseFilter(std::string name);
    BaseFilter(std::string name, const CLSID& classId);
    virtual ~BaseFilter();
    BaseFilter(const BaseFilter&) = delete;
    BaseFilter& operator=(const BaseFilter&) = delete;

    // The name the filter was made with, or the one the graph gave it when it was added.
    const std::string& Name() const { return name_; }
    // Which kind of filter this is; the same kind always has the same identifier.
    const CLSID& ClassId() const { return classId_; }
    // The graph the filter belongs to, or null.
    FilterGraph* Graph() const { return graph_; }
    std::vector<Pin*> Pins() const;
    // The n-th pin (from 0) of a direction, or null.
    Pin* FindPin(PinDirection direction, int n) const;
    FilterState State() const { return state_.load(); }

    // State changes, called by the graph on the user-interface thread; renderers first.
    // Overrides call the base last so State() reports the new state once it is reached.
    virtual HRESULT Stop();
    virtual HRESULT Pause();
    virtual HRESULT Run();

    // Whether an input pin of this filter takes the type an output pin offers.
    virtual bool Accepts(const Pin& input, const MediaType& type) const;

    // Called by the graph after `pin` of this filter was joined to `peer`; a failure undoes
    // the connection. A demultiplexer reads its file here and grows its output pins.
    virtual HRESULT CompleteConnect(Pin& pin, Pin& peer);
    // Whether the filter behind this input pin wants more samples now. A filter that reads
    // ahead (a demultiplexer) keeps reading while any of its consumers says yes.
    virtual bool WantsMore(const Pin& input) const;

    // Stream calls arriving at an input pin (see the thread notes above).
    virtual HRESULT Receive(Pin& input, MediaSample sample);
    virtual void EndOfStream(Pin& input);
    virtual void BeginFlush(Pin& input);
    virtual void EndFlush(Pin& input);
    virtual void NewSegment(Pin& input, REFERENCE_TIME start);

    // Roles the graph looks for: the filter that seeks, the clock, the ends of branches. A
    // filter that ends a branch (a renderer, a file writer) reports the end of its streams
    // through FilterGraph::BranchEnded once, after each start or seek.
    virtual MediaSeeker* Seeker() { return nullptr; }
    virtual std::shared_ptr<const ReferenceClock> Clock() { return nullptr; }
    virtual bool EndsBranch() const { return false; }
    // A filter that writes a file: how far in media time it has written (any thread).
    virtual bool WrittenPosition(REFERENCE_TIME* /*position*/) const { return false; }

  protected:
    Pin* AddPin(PinDirection direction, std::string name, MediaType offered);
    // Takes away the pins of one direction, which must be disconnected; user-interface
    // thread, while stopped.
    void RemovePins(PinDirection direction);
    // Changes what an output pin offers, while the graph is stopped (user-interface thread):
    // an encoder knows its output only once its input is connected.
    static void SetOfferedType(Pin* pin, MediaType type);
    // Queues an event on the graph (any thread); nothing happens outside a graph.
    void NotifyEvent(long code, std::intptr_t param1, std::intptr_t param2);
    // Tells the graph why the filter failed with `hr` (any thread): the library's error lines
    // captured on this thread (graph::LibraryLogCapture), else the status's text.
    void NoteFailure(HRESULT hr);

  private:
    friend class FilterGraph;
    std::string name_; // user-interface thread, while stopped
    CLSID classId_;
    FilterGraph* graph_ = nullptr; // user-interface thread, while stopped
    std::vector<std::unique_ptr<Pin>> pins_;
    std::atomic<FilterState> state_{FilterState::Stopped};
};

// The interface a filter offers, or null: the shape of asking a filter for an interface.
//   if (auto* sink = graph::QueryFilterInterface<graph::IFileSinkFilter2>(mux)) ...
template <typename Interface> Interface* QueryFilterInterface(BaseFilter* filter) {
    return dynamic_cast<Interface*>(filter);
}

} // namespace graph
