#pragma once
// Passes a stream's compressed packets unchanged between two media times, for a picture that
// is copied instead of coded again. Its times come out counted from `from`, so the frame at
// `from` is presented at 0. The packets before it down to the key frame it needs are passed
// too, with times before 0: a container that hides what comes before 0 (an MP4 edit list)
// shows the cut exactly. Frames shown from `to` on are left out, except one that a frame
// before `to` may refer to (frames out of order): that one stays, just after the end.
//
// Threads: connections on the user-interface thread while stopped; samples, ends, segments
// and flushes on the streaming thread of the demultiplexer upstream; Stop and the flushes'
// beginning on the user-interface thread.
#include "platform/graph/filter.h"

#include <deque>
#include <mutex>

namespace graph {

class PacketCut final : public BaseFilter {
  public:
    PacketCut(REFERENCE_TIME from, REFERENCE_TIME to);

    bool Accepts(const Pin& input, const MediaType& type) const override;
    HRESULT CompleteConnect(Pin& pin, Pin& peer) override;
    bool WantsMore(const Pin& input) const override;
    HRESULT Receive(Pin& input, MediaSample sample) override;
    void EndOfStream(Pin& input) override;
    void BeginFlush(Pin& input) override;
    void EndFlush(Pin& input) override;
    void NewSegment(Pin& input, REFERENCE_TIME start) override;
    HRESULT Pause() override;

  private:
    // Passes the held group of pictures on, then every packet as it comes.
    HRESULT Release();
    HRESULT Pass(MediaSample sample);
    void End();

    const REFERENCE_TIME from_;
    const REFERENCE_TIME to_;
    Pin* output_;

    // The streaming thread's, reset by Pause and EndFlush under mutex_ while it cannot run.
    mutable std::mutex mutex_;
    std::deque<MediaSample> held_; // from the latest key frame at or before from_
    std::deque<MediaSample> tail_; // shown after to_, passed only if a later packet needs them
    bool holding_ = false;         // a key frame at or before from_ was seen
    bool released_ = false;        // packets now go straight on
    bool ended_ = false;
};

} // namespace graph
