#include "platform/editing/timeline_front_end.h"

#include "platform/core/thread_priority.h"
#include "platform/graph/event_queue.h"

#include <algorithm>
#include <chrono>

namespace editing {

namespace {
// Eight pictures let decoding run ahead through an encoder's slow stretches (key frames,
// busy scenes) instead of stopping with a core idle.
constexpr std::size_t kPicturesAhead = 8;
constexpr std::size_t kSoundAhead = 16; // blocks of 1,024 samples
} // namespace

TimelineFrontEnd::TimelineFrontEnd(std::vector<std::unique_ptr<GroupStream>> groups)
    : BaseFilter("Timeline Front End"), groups_(std::move(groups)) {
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        const bool video = groups_[i]->Type().Major() == graph::MajorType::Video;
        pins_.push_back(AddPin(graph::PinDirection::Output,
                               (video ? "Video " : "Audio ") + std::to_string(i), groups_[i]->Type()));
    }
}

TimelineFrontEnd::~TimelineFrontEnd() {
    StopStreaming();
}

graph::Pin* TimelineFrontEnd::GroupPin(int group) const {
    return group >= 0 && group < static_cast<int>(pins_.size()) ? pins_[group] : nullptr;
}

REFERENCE_TIME TimelineFrontEnd::Duration() const {
    REFERENCE_TIME length = 0;
    for (const auto& group : groups_)
        length = std::max(length, group->Length());
    return length;
}

HRESULT TimelineFrontEnd::Pause() {
    if (State() == graph::FilterState::Stopped) {
        if (!positioned_) {
            for (auto& group : groups_)
                group->Seek(segmentStart_);
        }
        for (graph::Pin* pin : pins_)
            pin->DeliverNewSegment(segmentStart_);
        StartStreaming();
    }
    return BaseFilter::Pause();
}

HRESULT TimelineFrontEnd::Stop() {
    StopStreaming();
    // The next start plays the current segment again from its beginning.
    positioned_ = false;
    return BaseFilter::Stop();
}

HRESULT TimelineFrontEnd::SeekTo(REFERENCE_TIME target) {
    target = std::clamp<REFERENCE_TIME>(target, 0, Duration());
    const bool streaming = !threads_.empty();
    if (streaming) {
        {
            std::lock_guard lock(mutex_);
            stopStreaming_ = true;
        }
        for (graph::Pin* pin : pins_)
            pin->DeliverBeginFlush();
        StopStreaming();
    }
    for (auto& group : groups_)
        group->Seek(target);
    segmentStart_ = target;
    positioned_ = true;
    if (streaming) {
        for (graph::Pin* pin : pins_) {
            pin->DeliverEndFlush();
            pin->DeliverNewSegment(target);
        }
        StartStreaming();
    }
    return S_OK;
}

void TimelineFrontEnd::StartStreaming() {
    {
        std::lock_guard lock(mutex_);
        stopStreaming_ = false;
    }
    positioned_ = false;
    queues_.clear();
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        const bool video = groups_[i]->Type().Major() == graph::MajorType::Video;
        // A few pictures, or a few hundred milliseconds of sound. A picture is worth composing as
        // soon as there is room for it, while a core may be idle; sound comes in many small blocks,
        // composed half a queue at a time so that the thread encoding it is not interrupted for
        // every block.
        queues_.push_back(video
                              ? std::make_unique<ComposedQueue>(kPicturesAhead, kPicturesAhead - 1)
                              : std::make_unique<ComposedQueue>(kSoundAhead, kSoundAhead / 2));
    }
    // Every queue is in place before any thread starts: a thread looks its queue up in
    // queues_, which must not grow (and move) under it.
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        if (pins_[i]->IsConnected()) {
            threads_.emplace_back([this, i] { Compose(i); });
            threads_.emplace_back([this, i] { Stream(i); });
        }
    }
}

void TimelineFrontEnd::StopStreaming() {
    {
        std::lock_guard lock(mutex_);
        stopStreaming_ = true;
    }
    for (auto& queue : queues_)
        queue->Close();
    for (std::thread& thread : threads_)
        thread.join();
    threads_.clear();
    queues_.clear();
}

bool TimelineFrontEnd::StopRequested() {
    std::lock_guard lock(mutex_);
    return stopStreaming_;
}

void TimelineFrontEnd::Compose(std::size_t group) {
    if (composeInBackground_) {
        core::RunInBackground();
        groups_[group]->DecodeInBackground();
    }
    ComposedQueue& queue = *queues_[group];
    while (!StopRequested()) {
        Composed item;
        const bool more = groups_[group]->Next(item.sample);
        item.failure = groups_[group]->Failure();
        const bool end = !more || FAILED(item.failure);
        item.end = end;
        if (end)
            item.sample = {};
        if (!queue.Push(std::move(item)) || end)
            return;
    }
}

void TimelineFrontEnd::Stream(std::size_t group) {
    graph::Pin* pin = pins_[group];
    ComposedQueue& queue = *queues_[group];
    Composed item;
    while (!StopRequested() && queue.Pop(item)) {
        if (item.end) {
            // A source that broke while it was read ends the group with its reason: what
            // would follow (its last picture held, silence) is not the source.
            if (FAILED(item.failure))
                NotifyEvent(graph::EC_ERRORABORT, item.failure, 0);
            pin->DeliverEndOfStream();
            return;
        }
        // A renderer holds the sample until its time; a stop or flush lets it go at once.
        // A refused sample means a stop or seek is under way: wait for it rather than race
        // through the stream.
        if (FAILED(pin->Deliver(std::move(item.sample))))
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        item = {};
    }
}

} // namespace editing
