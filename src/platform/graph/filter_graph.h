#pragma once
// A filter graph: holds filters, connects their pins, runs them and answers the control
// interfaces. Build it, change it and control it on the user-interface thread; filters
// stream on threads of their own and reach back only through NotifyEvent, the presentation
// clock and BranchEnded, all safe from any thread. The graph shares each filter's ownership:
// a filter that someone else also holds lives on after the graph has let it go.
//
// Typical use:
//   graph::FilterGraph graph;
//   if (FAILED(graph.RenderFile("clip.mp4"))) ...;
//   graph::IMediaControl* control; graph.QueryInterface(&control);
//   control->Run();
// Whoever builds a graph owns it; destroying it stops it first.
#include "platform/graph/clock.h"
#include "platform/graph/event_queue.h"
#include "platform/graph/filter.h"
#include "platform/graph/interfaces.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace graph {

class VideoWindowControl;
class VolumeControl;

class FilterGraph final : public IMediaControl,
                          public IMediaSeeking,
                          public IMediaEventEx,
                          public IVideoWindow,
                          public IBasicVideo,
                          public IBasicAudio {
  public:
    FilterGraph();
    ~FilterGraph();
    FilterGraph(const FilterGraph&) = delete;
    FilterGraph& operator=(const FilterGraph&) = delete;

    // Building; every call needs the graph stopped (VFW_E_NOT_STOPPED otherwise).
    // A non-empty name renames the filter. E_INVALIDARG when it belongs to another graph.
    HRESULT AddFilter(std::shared_ptr<BaseFilter> filter, std::string name = {});
    // Disconnects both sides of every pin of the filter and lets it go: it is destroyed
    // unless someone else holds it.
    HRESULT RemoveFilter(BaseFilter* filter);
    // Filters in the order they were added.
    std::vector<BaseFilter*> EnumFilters() const;
    HRESULT ConnectDirect(Pin* output, Pin* input);
    // Breaks this side of a connection only; call it for both pins.
    HRESULT Disconnect(Pin* pin);
    // Connects a decoder (when the stream is compressed) and a renderer to an output pin: a
    // video renderer, an audio renderer, or a null renderer for any other stream.
    HRESULT Render(Pin* output);
    // File source, demultiplexer, then Render for every stream. Fails with nothing left in
    // the graph when the file cannot be read; VFW_S_PARTIAL_RENDER when some stream has no
    // decoder (it goes to a null renderer).
    HRESULT RenderFile(const std::string& path);

    HRESULT QueryInterface(IMediaControl** out);
    HRESULT QueryInterface(IMediaSeeking** out);
    HRESULT QueryInterface(IMediaEventEx** out);
    HRESULT QueryInterface(IVideoWindow** out);
    HRESULT QueryInterface(IBasicVideo** out);
    HRESULT QueryInterface(IBasicAudio** out);

    // IMediaControl. Pause and a seek while paused wait (bounded) until the renderers hold
    // their first sample, so the picture at the new position is showing when they return;
    // S_FALSE when the time ran out first (GetState then says when the pause completes).
    // Stop keeps the position: the next start goes on from there.
    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT GetState(long timeoutMs, long* state) override;

    // IMediaSeeking: media time only, rate 1.0 only.
    HRESULT IsFormatSupported(TimeFormat format) override;
    HRESULT GetTimeFormat(TimeFormat* format) override;
    HRESULT SetTimeFormat(TimeFormat format) override;
    HRESULT GetDuration(REFERENCE_TIME* duration) override;
    HRESULT GetStopPosition(REFERENCE_TIME* stop) override;
    // In a graph that writes files: how far its slowest writer has written.
    HRESULT GetCurrentPosition(REFERENCE_TIME* current) override;
    HRESULT SetPositions(REFERENCE_TIME* current, unsigned currentFlags, REFERENCE_TIME* stop,
                         unsigned stopFlags) override;
    HRESULT SetRate(double rate) override;
    HRESULT GetRate(double* rate) override;

    // IMediaEventEx
    HRESULT GetEvent(long* code, std::intptr_t* param1, std::intptr_t* param2,
                     long timeoutMs) override;
    HRESULT FreeEventParams(long code, std::intptr_t param1, std::intptr_t param2) override;
    HRESULT SetNotifyWindow(QObject* window, unsigned message, std::intptr_t instanceData) override;

    // IVideoWindow
    HRESULT put_Owner(QWidget* owner) override;
    HRESULT get_Owner(QWidget** owner) override;
    HRESULT put_WindowStyle(long style) override;
    HRESULT get_WindowStyle(long* style) override;
    HRESULT put_MessageDrain(QWidget* drain) override;
    HRESULT put_Visible(long visible) override;
    HRESULT get_Visible(long* visible) override;
    HRESULT SetWindowPosition(long left, long top, long width, long height) override;
    HRESULT GetWindowPosition(long* left, long* top, long* width, long* height) override;
    HRESULT NotifyOwnerMessage(QWidget* window, long message, std::intptr_t wParam,
                               std::intptr_t lParam) override;

    // IBasicVideo
    HRESULT GetVideoSize(long* width, long* height) override;
    HRESULT get_AvgTimePerFrame(double* seconds) override;

    // IBasicAudio
    HRESULT put_Volume(long volume) override;
    HRESULT get_Volume(long* volume) override;

    // For filters, from any thread.
    void NotifyEvent(long code, std::intptr_t param1, std::intptr_t param2);
    // Whether a filter reported a failure (EC_ERRORABORT) since the graph last started; a
    // writer does not give what it wrote the file's name then.
    bool RunFailed() const { return runFailed_; }
    const PresentationClock& Presentation() const { return presentation_; }
    // Why a filter failed last (any thread): an encoder that refuses its settings, a writer
    // that cannot open or write its file. Forgotten when the graph starts.
    void NoteFailure(std::string reason);
    // The reason noted last, which is then forgotten; empty when none was.
    std::string TakeFailureReason();

    // The clock of the sound this graph plays, null when it plays none. Another graph that
    // keeps time by it stays in step with the sound, waiting whenever the sound is held up.
    std::shared_ptr<const ReferenceClock> SoundClock();
    // Keeps time by `clock` instead of a clock of the graph's own (null: its own again). A
    // running graph goes on from where it is.
    void SetSyncSource(std::shared_ptr<const ReferenceClock> clock);
    // A filter that ends a branch has finished its streams (a renderer once the clock has
    // passed its last sample, a writer once its file is complete); the last one completes
    // the graph.
    void BranchEnded();

  private:
    std::vector<BaseFilter*> StateOrder() const;
    HRESULT ChangeFilterStates(FilterState target);
    HRESULT PauseFromStopped();
    // Times the presentation by the sync source, else by the graph's sound, else by the
    // system clock.
    void ChooseReference();
    // False when some renderer had nothing by the time limit.
    bool WaitForPreroll();
    // Waits until every connected renderer holds its first sample; false at the deadline.
    bool WaitForPreroll(std::chrono::steady_clock::time_point deadline);
    void ResetCompletion();
    HRESULT Seek(REFERENCE_TIME target);
    MediaSeeker* FindSeeker() const;
    // The connected renderer that plays the role, or null.
    VideoWindowControl* FindVideoWindow() const;
    VolumeControl* FindVolume() const;

    // User-interface thread only.
    std::vector<std::shared_ptr<BaseFilter>> filters_;
    FilterState state_ = FilterState::Stopped;
    TimeFormat timeFormat_ = TimeFormat::MediaTime;

    SystemClock systemClock_;
    std::shared_ptr<const ReferenceClock> syncSource_;
    // The clock the presentation uses, kept alive while it does (null: the system clock).
    std::shared_ptr<const ReferenceClock> reference_;
    PresentationClock presentation_{&systemClock_}; // locks itself
    EventQueue events_;                             // locks itself
    std::atomic<bool> runFailed_{false};            // set by any thread, cleared at a start
    std::mutex failureMutex_;
    std::string failureReason_; // under failureMutex_

    // Completion: written by the streaming threads of the branch ends and by the
    // user-interface thread, under completionMutex_.
    std::mutex completionMutex_;
    int branchesExpected_ = 0;
    int branchesEnded_ = 0;
};

} // namespace graph
