#include "platform/graph/clock.h"

#include <chrono>

namespace graph {

REFERENCE_TIME SystemClock::Now() const {
    using namespace std::chrono;
    return duration_cast<duration<REFERENCE_TIME, std::ratio<1, UNITS>>>(
               steady_clock::now().time_since_epoch())
        .count();
}

REFERENCE_TIME PresentationClock::Position() const {
    std::lock_guard lock(mutex_);
    return PositionLocked();
}

REFERENCE_TIME PresentationClock::PositionLocked() const {
    if (!running_)
        return anchorMedia_;
    return anchorMedia_ + (reference_->Now() - anchorReference_);
}

void PresentationClock::SetReference(const ReferenceClock* reference) {
    std::lock_guard lock(mutex_);
    anchorMedia_ = PositionLocked();
    reference_ = reference;
    anchorReference_ = reference_->Now();
}

void PresentationClock::Start() {
    std::lock_guard lock(mutex_);
    if (running_)
        return;
    anchorReference_ = reference_->Now();
    running_ = true;
}

void PresentationClock::Freeze() {
    std::lock_guard lock(mutex_);
    anchorMedia_ = PositionLocked();
    running_ = false;
}

void PresentationClock::Set(REFERENCE_TIME position) {
    std::lock_guard lock(mutex_);
    anchorMedia_ = position;
    anchorReference_ = reference_->Now();
}

} // namespace graph
