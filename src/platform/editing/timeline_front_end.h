#pragma once
// The filter a render engine puts at the head of its graph: one output pin per group of the
// timeline. Each group has two threads while it streams: one composes its samples into a
// short queue, the other delivers them downstream, so that composing and encoding (or
// playing) overlap. It positions the whole graph: a seek repositions every group at once.
#include "platform/editing/composed_queue.h"
#include "platform/editing/group_stream.h"
#include "platform/graph/filter.h"
#include "platform/graph/seeker.h"

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace editing {

class TimelineFrontEnd final : public graph::BaseFilter, public graph::MediaSeeker {
  public:
    explicit TimelineFrontEnd(std::vector<std::unique_ptr<GroupStream>> groups);
    ~TimelineFrontEnd() override;

    // The output pin of group i, or null.
    graph::Pin* GroupPin(int group) const;

    HRESULT Stop() override;
    HRESULT Pause() override;
    graph::MediaSeeker* Seeker() override { return this; }

    REFERENCE_TIME Duration() const override;
    HRESULT SeekTo(REFERENCE_TIME target) override;

    // Composing (decoding, scaling, resampling) runs at background priority from the next
    // start on, so that what takes the samples (an encoder that works on one thread) is not
    // kept waiting for a core. For writing files: a preview composes at the players' own
    // priority, whatever else the machine runs.
    void ComposeInBackground() { composeInBackground_ = true; }

  private:
    void StartStreaming();
    void StopStreaming();
    void Compose(std::size_t group);
    void Stream(std::size_t group);
    bool StopRequested();

    // The streams are used by their composing thread while it runs, by the user-interface
    // thread otherwise.
    std::vector<std::unique_ptr<GroupStream>> groups_;
    std::vector<graph::Pin*> pins_;

    // User-interface thread only.
    std::vector<std::thread> threads_;
    // Made and closed by the user-interface thread; while streaming, group i's two threads
    // use queue i (it locks for itself).
    std::vector<std::unique_ptr<ComposedQueue>> queues_;
    REFERENCE_TIME segmentStart_ = 0;
    bool positioned_ = true;
    bool composeInBackground_ = false; // read by the composing threads it starts

    // Written by the user-interface thread, read by the streaming threads, under mutex_.
    std::mutex mutex_;
    bool stopStreaming_ = false;
};

} // namespace editing
