#pragma once
// The graph's event queue. Filters push from their streaming threads; the user-interface
// thread takes events out. Each pushed event posts the notify message to the notify window,
// so the window handles events on its own thread.
// The graph owns its queue.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

class QObject;

namespace graph {

// Event codes.
constexpr long EC_COMPLETE = 0x01;
constexpr long EC_USERABORT = 0x02;
constexpr long EC_ERRORABORT = 0x03; // param1: the failure status

class EventQueue {
  public:
    void Push(long code, std::intptr_t param1, std::intptr_t param2);
    // Waits up to timeoutMs (negative: forever). E_ABORT when nothing came.
    std::int32_t Get(long* code, std::intptr_t* param1, std::intptr_t* param2, long timeoutMs);
    // Drops the events of one code still waiting to be taken.
    void Discard(long code);
    // The window must be cleared (null) before it is destroyed.
    void SetNotifyWindow(QObject* window, unsigned message, std::intptr_t instanceData);

  private:
    struct Event {
        long code;
        std::intptr_t param1;
        std::intptr_t param2;
    };
    // All fields under mutex_; written by any thread.
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Event> events_;
    QObject* window_ = nullptr;
    unsigned message_ = 0;
    std::intptr_t instanceData_ = 0;
};

} // namespace graph
