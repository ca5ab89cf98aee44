#pragma once
// Splits a file into its streams: one input pin taking the file source's byte stream and,
// once connected, one output pin per stream carrying the stream's major type. While the
// graph streams, one thread reads packets ahead of the decoders and pushes each to its pin;
// streams whose pins are not connected are not even read. Packet times are rescaled to
// 100-ns media time (0 = the file's start).
// Owned by its graph; connections, states and seeking on the user-interface thread.
#include "platform/graph/av_util.h"
#include "platform/graph/filter.h"
#include "platform/graph/seeker.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace graph {

class Demultiplexer final : public BaseFilter, public MediaSeeker {
  public:
    Demultiplexer();
    ~Demultiplexer() override;

    HRESULT CompleteConnect(Pin& pin, Pin& peer) override;
    HRESULT Stop() override;
    HRESULT Pause() override;
    MediaSeeker* Seeker() override { return format_ ? this : nullptr; }

    REFERENCE_TIME Duration() const override { return duration_; }
    HRESULT SeekTo(REFERENCE_TIME target) override;

  private:
    void StartReading();
    void StopReading();
    void ReadLoop();
    bool ConsumersWantMore() const;
    void DeliverPacket(AVPacket* packet);

    // Set in CompleteConnect (user-interface thread, graph stopped); read by the reading
    // thread, which starts later. The format context is used by one thread at a time: the
    // reading thread while it runs, the user-interface thread while it is stopped.
    FormatContextPtr format_;
    std::vector<Pin*> streamPins_; // by stream index
    REFERENCE_TIME duration_ = 0;

    // User-interface thread only.
    std::thread reader_;
    REFERENCE_TIME segmentStart_ = 0;
    bool positioned_ = true; // the format context sits at segmentStart_

    // stopReading_: written by the user-interface thread, read by the reader, under mutex_.
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopReading_ = false;
};

} // namespace graph
