#pragma once
// A bounded queue of composed samples between the thread that composes a group's output and
// the thread that delivers it downstream (to an encoder or a renderer), so that composing
// the next samples and encoding the last ones run at once, and the slower sets the pace.
// Either side may close it: a stop wakes both, and whatever is still queued is dropped.
#include "platform/graph/media_sample.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace editing {

// One composed sample, or the end of the group's output (with the failure that ended it).
struct Composed {
    graph::MediaSample sample;
    bool end = false;
    HRESULT failure = S_OK;
};

class ComposedQueue {
  public:
    // A composer waiting on a full queue is woken once no more than `refillAt` items are left.
    ComposedQueue(std::size_t capacity, std::size_t refillAt)
        : capacity_(capacity), refillAt_(refillAt) {}

    // Waits for room; false once the queue is closed (the item is dropped).
    bool Push(Composed item) {
        std::unique_lock lock(mutex_);
        left_.wait(lock, [this] { return closed_ || items_.size() < capacity_; });
        if (closed_)
            return false;
        items_.push_back(std::move(item));
        arrived_.notify_one();
        return true;
    }

    // Waits for an item; false once the queue is closed.
    bool Pop(Composed& item) {
        std::unique_lock lock(mutex_);
        arrived_.wait(lock, [this] { return closed_ || !items_.empty(); });
        if (closed_)
            return false;
        item = std::move(items_.front());
        items_.pop_front();
        if (items_.size() <= refillAt_)
            left_.notify_one();
        return true;
    }

    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        items_.clear();
        arrived_.notify_all();
        left_.notify_all();
    }

  private:
    const std::size_t capacity_;
    const std::size_t refillAt_;
    // All under mutex_; the deliverer waits on arrived_, the composer on left_.
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::condition_variable left_;
    std::deque<Composed> items_;
    bool closed_ = false;
};

} // namespace editing
