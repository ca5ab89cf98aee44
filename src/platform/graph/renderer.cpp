#include "platform/graph/renderer.h"

#include "platform/graph/filter_graph.h"

#include <algorithm>
#include <chrono>

namespace graph {

namespace {
// Longest single sleep while waiting for the clock: the reference clock may be the sound
// output, whose pace a computed sleep cannot know in advance.
constexpr REFERENCE_TIME kMaxSleep = 10 * UNITS / 1000;
} // namespace

Renderer::Renderer(std::string name, MajorType major) : BaseFilter(std::move(name)) {
    AddPin(PinDirection::Input, "In", MediaType(major));
}

bool Renderer::Prerolled() const {
    std::lock_guard lock(mutex_);
    return prerolled_;
}

void Renderer::Wake() {
    std::lock_guard lock(mutex_);
    wake_.notify_all();
}

HRESULT Renderer::Stop() {
    BaseFilter::Stop();
    std::lock_guard lock(mutex_);
    prerolled_ = false;
    ended_ = false;
    wake_.notify_all();
    return S_OK;
}

HRESULT Renderer::Pause() {
    BaseFilter::Pause();
    Wake();
    return S_OK;
}

HRESULT Renderer::Run() {
    BaseFilter::Run();
    Wake();
    return S_OK;
}

bool Renderer::InterruptedLocked() const {
    return flushing_ || State() == FilterState::Stopped;
}

bool Renderer::Interrupted() const {
    std::lock_guard lock(mutex_);
    return InterruptedLocked();
}

REFERENCE_TIME Renderer::SegmentStart() const {
    std::lock_guard lock(mutex_);
    return segmentStart_;
}

REFERENCE_TIME Renderer::Position() const {
    return Graph()->Presentation().Position();
}

bool Renderer::WaitForTime(REFERENCE_TIME time) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (InterruptedLocked())
            return false;
        if (State() != FilterState::Running) {
            wake_.wait(lock);
            continue;
        }
        const REFERENCE_TIME now = Position();
        if (now >= time)
            return true;
        const REFERENCE_TIME sleep = std::min(time - now, kMaxSleep);
        wake_.wait_for(lock, std::chrono::microseconds(sleep / 10));
    }
}

HRESULT Renderer::Receive(Pin&, MediaSample sample) {
    bool first = false;
    {
        std::lock_guard lock(mutex_);
        if (InterruptedLocked())
            return VFW_E_WRONG_STATE;
        if (sample.stop <= segmentStart_)
            return S_OK;
        first = !prerolled_;
    }
    Present(sample, first);
    std::lock_guard lock(mutex_);
    prerolled_ = true;
    lastStop_ = std::max(lastStop_, sample.stop);
    wake_.notify_all();
    return S_OK;
}

void Renderer::EndOfStream(Pin&) {
    OnEndOfStream();
    REFERENCE_TIME end = 0;
    {
        std::lock_guard lock(mutex_);
        prerolled_ = true;
        end = EndTime(segmentStart_, lastStop_);
    }
    if (!WaitForTime(end))
        return;
    std::lock_guard lock(mutex_);
    // Holding the lock keeps a flush that starts now from overtaking the report.
    if (!InterruptedLocked() && !ended_) {
        ended_ = true;
        Graph()->BranchEnded();
    }
}

void Renderer::BeginFlush(Pin&) {
    std::lock_guard lock(mutex_);
    flushing_ = true;
    prerolled_ = false;
    wake_.notify_all();
}

void Renderer::EndFlush(Pin&) {
    OnEndFlush();
    std::lock_guard lock(mutex_);
    flushing_ = false;
    prerolled_ = false;
    ended_ = false;
}

void Renderer::NewSegment(Pin&, REFERENCE_TIME start) {
    std::lock_guard lock(mutex_);
    segmentStart_ = start;
    lastStop_ = start;
    ended_ = false;
}

} // namespace graph
