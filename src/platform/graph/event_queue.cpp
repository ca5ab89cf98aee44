#include "platform/graph/event_queue.h"

#include "platform/core/status.h"
#include "platform/core/window_message.h"

#include <chrono>

namespace graph {

void EventQueue::Push(long code, std::intptr_t param1, std::intptr_t param2) {
    std::lock_guard lock(mutex_);
    events_.push_back({code, param1, param2});
    arrived_.notify_all();
    // Posting only enqueues an event for the window's thread; it never calls into the window.
    if (window_)
        core::PostMessage(window_, message_, 0, instanceData_);
}

std::int32_t EventQueue::Get(long* code, std::intptr_t* param1, std::intptr_t* param2,
                             long timeoutMs) {
    if (!code || !param1 || !param2)
        return E_POINTER;
    std::unique_lock lock(mutex_);
    const auto ready = [this] { return !events_.empty(); };
    if (timeoutMs < 0)
        arrived_.wait(lock, ready);
    else if (!arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready))
        return E_ABORT;
    const Event event = events_.front();
    events_.pop_front();
    *code = event.code;
    *param1 = event.param1;
    *param2 = event.param2;
    return S_OK;
}

void EventQueue::Discard(long code) {
    std::lock_guard lock(mutex_);
    std::erase_if(events_, [code](const Event& event) { return event.code == code; });
}

void EventQueue::SetNotifyWindow(QObject* window, unsigned message, std::intptr_t instanceData) {
    std::lock_guard lock(mutex_);
    window_ = window;
    message_ = message;
    instanceData_ = instanceData;
    if (window_ && !events_.empty())
        core::PostMessage(window_, message_, 0, instanceData_);
}

} // namespace graph
