#pragma once
// Passes a stream's compressed packets unchanged between two media times, for a picture that
// is copied instead of coded again. Its times come out counted from `from`, so the frame at
// `from` is presented at 0. Where `from` is no key frame, the frames from it up to the next
// key frame need the ones before it:
// - a container that hides what comes before 0 (an MP4 edit list) is given the packets from
//   the key frame before `from`, with times before 0, and shows the cut exactly;
// - any other container is given those frames coded again (HeadRecoder), then the copied
//   packets from the next key frame on, which carry the stream's parameter sets again.
// Frames shown from `to` on are left out, except one that a frame before `to` may refer to
// (frames out of order): that one stays, just after the end.
// For AVI, whose readers expect H.264 units behind start codes and the parameter sets in the
// stream, units behind lengths (from MP4, Matroska) are rewritten so, with the sets before
// every key frame.
//
// Threads: connections on the user-interface thread while stopped; samples, ends, segments
// and flushes on the streaming thread of the demultiplexer upstream; Stop and the flushes'
// beginning on the user-interface thread.
// Owned by its graph.
#include "platform/graph/filter.h"
#include "platform/graph/writing/head_recoder.h"

#include <deque>
#include <mutex>
#include <vector>

namespace graph {

// Whether files of the container hide the frames shown before 0.
bool HidesLeadingFrames(const AVOutputFormat* format);

class PacketCut final : public BaseFilter {
  public:
    // For a file of `container`; null for a writer of its own (WMV). `unevenTimeBase` is the
    // time base of a stream whose frames are spaced unevenly, in which each frame keeps its
    // own time; {0, 1} for a steady stream, written at the exact times of its rate.
    PacketCut(REFERENCE_TIME from, REFERENCE_TIME to, const AVOutputFormat* container,
              AVRational unevenTimeBase);

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
    enum class Phase {
        Seeking,  // before the key frame at or before `from`
        Holding,  // holding the group of pictures from that key frame
        Recoding, // coding the frames before the next key frame again
        Copying,  // passing packets on
        Ended,
    };
    // The streaming thread's; reset while it cannot run (Pause from stopped, EndFlush).
    void SetPhase(Phase phase);
    void Reset();
    HRESULT Hold(MediaSample sample);
    // The held group of pictures on, copied or coded again.
    HRESULT ReleaseHeld();
    HRESULT Recode(MediaSample sample);
    HRESULT Copy(MediaSample sample);
    // The recoded frames and the copied packets held behind them, up to `limit`.
    HRESULT FinishRecoding(REFERENCE_TIME limit);
    HRESULT Pass(MediaSample sample);
    void End();

    const REFERENCE_TIME from_;
    const REFERENCE_TIME to_;
    const bool hidesLeading_;
    const bool startCodes_; // the container wants units behind start codes
    const AVRational unevenTimeBase_;
    Pin* output_;
    // The input's type, in the form passed on, and the bytes of each unit's length when the
    // input's units are rewritten behind start codes (else 0); user-interface thread, while
    // stopped.
    MediaType stream_;
    int lengthSize_ = 0;

    Phase phase_ = Phase::Seeking; // read by WantsMore on any thread, under mutex_
    mutable std::mutex mutex_;
    std::deque<MediaSample> held_; // from the latest key frame at or before from_
    std::deque<MediaSample> tail_; // shown after to_, passed only if needed
    std::unique_ptr<HeadRecoder> recoder_;
    std::deque<MediaSample> afterHead_;  // copied packets from the next key frame on
    REFERENCE_TIME nextKey_ = INT64_MAX; // shown time of the next key frame, once seen
};

} // namespace graph
