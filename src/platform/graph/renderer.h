#pragma once
// The common part of the filters that end a branch: one input pin, the segment that the last
// seek started (samples ending before it are discarded, which makes seeking exact), the
// first sample after a stop or flush (the preroll that pausing waits for), and the end of the
// stream reported to the graph once the presentation clock has passed the last sample.
// Renderers are owned by their graph; the graph's calls come on the user-interface thread,
// samples on the streaming thread of the filter upstream.
#include "platform/graph/filter.h"

#include <condition_variable>
#include <mutex>

namespace graph {

class Renderer : public BaseFilter {
  public:
    Renderer(std::string name, MajorType major);

    bool EndsBranch() const final { return true; }
    // A sample or the end of the stream arrived since the last stop or flush.
    bool Prerolled() const;
    Pin* Input() const { return FindPin(PinDirection::Input, 0); }

    HRESULT Stop() override;
    HRESULT Pause() override;
    HRESULT Run() override;
    HRESULT Receive(Pin& input, MediaSample sample) final;
    void EndOfStream(Pin& input) final;
    void BeginFlush(Pin& input) final;
    void EndFlush(Pin& input) final;
    void NewSegment(Pin& input, REFERENCE_TIME start) final;

  protected:
    // Takes one sample of the current segment, on the streaming thread, without a lock.
    // `first` marks the first sample after a stop or flush.
    virtual void Present(MediaSample& sample, bool first) = 0;
    // Called at the end of a flush (seeking thread), when no sample from before it can arrive
    // any more: drop whatever is buffered.
    virtual void OnEndFlush() {}
    // Called on the streaming thread when the end of the stream arrives, before the wait for
    // the clock to pass the last sample.
    virtual void OnEndOfStream() {}
    // The media time at which everything received has been played out. Called under the
    // renderer's lock: use only the arguments and the filter's own state.
    virtual REFERENCE_TIME EndTime(REFERENCE_TIME /*segmentStart*/, REFERENCE_TIME lastStop) const {
        return lastStop;
    }
    // Blocks until the graph runs with its clock at `time` or later. False when a flush or a
    // stop interrupted the wait.
    bool WaitForTime(REFERENCE_TIME time);
    // Whether a flush or stop is in progress.
    bool Interrupted() const;
    REFERENCE_TIME SegmentStart() const;
    REFERENCE_TIME Position() const;

  private:
    bool InterruptedLocked() const;
    void Wake();

    // All under mutex_. flushing_: written by the seeking thread; the others by the
    // streaming thread (samples, end) and the user-interface thread (stop, flush).
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool flushing_ = false;
    bool prerolled_ = false;
    bool ended_ = false;
    REFERENCE_TIME segmentStart_ = 0;
    REFERENCE_TIME lastStop_ = 0;
};

} // namespace graph
