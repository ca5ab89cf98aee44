// Running a graph: state changes, positions, events and completion.
#include "platform/graph/filter_graph.h"

#include "platform/graph/renderer.h"
#include "platform/graph/seeker.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace graph {

namespace {
// The longest the user-interface thread waits for the first samples after a pause or seek.
constexpr auto kPrerollLimit = std::chrono::seconds(5);
} // namespace

HRESULT FilterGraph::ChangeFilterStates(FilterState target) {
    HRESULT result = S_OK;
    for (BaseFilter* filter : StateOrder()) {
        HRESULT hr = S_OK;
        switch (target) {
        case FilterState::Stopped:
            hr = filter->Stop();
            break;
        case FilterState::Paused:
            hr = filter->Pause();
            break;
        case FilterState::Running:
            hr = filter->Run();
            break;
        }
        if (FAILED(hr))
            result = hr;
    }
    return result;
}

void FilterGraph::ResetCompletion() {
    int branches = 0;
    for (const auto& filter : filters_) {
        if (!filter->EndsBranch())
            continue;
        for (const Pin* pin : filter->Pins()) {
            if (pin->Direction() == PinDirection::Input && pin->IsConnected()) {
                ++branches;
                break;
            }
        }
    }
    std::lock_guard lock(completionMutex_);
    branchesExpected_ = branches;
    branchesEnded_ = 0;
    // A completion not taken yet belongs to the segment that is being replaced; taken later
    // it would stop what the user has just started.
    events_.Discard(EC_COMPLETE);
}

void FilterGraph::BranchEnded() {
    std::lock_guard lock(completionMutex_);
    if (++branchesEnded_ == branchesExpected_)
        events_.Push(EC_COMPLETE, S_OK, 0);
}

void FilterGraph::NotifyEvent(long code, std::intptr_t param1, std::intptr_t param2) {
    if (code == EC_ERRORABORT)
        runFailed_ = true;
    events_.Push(code, param1, param2);
}

void FilterGraph::NoteFailure(std::string reason) {
    std::lock_guard lock(failureMutex_);
    failureReason_ = std::move(reason);
}

std::string FilterGraph::TakeFailureReason() {
    std::lock_guard lock(failureMutex_);
    return std::exchange(failureReason_, {});
}

bool FilterGraph::WaitForPreroll() {
    return WaitForPreroll(std::chrono::steady_clock::now() + kPrerollLimit);
}

bool FilterGraph::WaitForPreroll(std::chrono::steady_clock::time_point deadline) {
    for (const auto& filter : filters_) {
        auto* renderer = dynamic_cast<Renderer*>(filter.get());
        if (!renderer || !renderer->Input()->IsConnected())
            continue;
        while (!renderer->Prerolled()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return true;
}

HRESULT FilterGraph::PauseFromStopped() {
    ResetCompletion();
    runFailed_ = false;
    TakeFailureReason();
    const HRESULT hr = ChangeFilterStates(FilterState::Paused);
    state_ = FilterState::Paused;
    ChooseReference();
    const bool prerolled = WaitForPreroll();
    return FAILED(hr) || prerolled ? hr : S_FALSE;
}

std::shared_ptr<const ReferenceClock> FilterGraph::SoundClock() {
    for (const auto& filter : filters_) {
        auto* renderer = dynamic_cast<Renderer*>(filter.get());
        if (renderer && renderer->Input()->IsConnected()) {
            if (std::shared_ptr<const ReferenceClock> clock = renderer->Clock())
                return clock;
        }
    }
    return nullptr;
}

void FilterGraph::SetSyncSource(std::shared_ptr<const ReferenceClock> clock) {
    syncSource_ = std::move(clock);
    ChooseReference();
}

void FilterGraph::ChooseReference() {
    std::shared_ptr<const ReferenceClock> reference = syncSource_ ? syncSource_ : SoundClock();
    presentation_.SetReference(reference ? reference.get() : &systemClock_);
    // Only now may the one used before go.
    reference_ = std::move(reference);
}

HRESULT FilterGraph::Run() {
    if (state_ == FilterState::Running)
        return S_OK;
    HRESULT hr = S_OK;
    if (state_ == FilterState::Stopped)
        hr = PauseFromStopped();
    if (hr == S_FALSE)
        hr = S_OK;
    // A filter that cannot start (a writer that cannot open its file) stops the whole graph:
    // the others would stream into nothing.
    if (FAILED(hr)) {
        Stop();
        return hr;
    }
    presentation_.Start();
    const HRESULT run = ChangeFilterStates(FilterState::Running);
    state_ = FilterState::Running;
    return run;
}

HRESULT FilterGraph::Pause() {
    if (state_ == FilterState::Paused)
        return S_OK;
    if (state_ == FilterState::Stopped)
        return PauseFromStopped();
    presentation_.Freeze();
    const HRESULT hr = ChangeFilterStates(FilterState::Paused);
    state_ = FilterState::Paused;
    return hr;
}

HRESULT FilterGraph::Stop() {
    if (state_ == FilterState::Stopped)
        return S_OK;
    presentation_.Freeze();
    const REFERENCE_TIME position = presentation_.Position();
    const HRESULT hr = ChangeFilterStates(FilterState::Stopped);
    state_ = FilterState::Stopped;
    // The next start goes on from where the graph stopped.
    if (MediaSeeker* seeker = FindSeeker())
        seeker->SeekTo(position);
    return hr;
}

HRESULT FilterGraph::GetState(long timeoutMs, long* state) {
    if (!state)
        return E_POINTER;
    switch (state_) {
    case FilterState::Stopped:
        *state = State_Stopped;
        return S_OK;
    case FilterState::Running:
        *state = State_Running;
        return S_OK;
    case FilterState::Paused:
        break;
    }
    *state = State_Paused;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    return WaitForPreroll(deadline) ? S_OK : VFW_S_STATE_INTERMEDIATE;
}

MediaSeeker* FilterGraph::FindSeeker() const {
    for (const auto& filter : filters_) {
        if (MediaSeeker* seeker = filter->Seeker())
            return seeker;
    }
    return nullptr;
}

HRESULT FilterGraph::IsFormatSupported(TimeFormat format) {
    return format == TimeFormat::MediaTime && FindSeeker() ? S_OK : S_FALSE;
}

HRESULT FilterGraph::GetTimeFormat(TimeFormat* format) {
    if (!format)
        return E_POINTER;
    *format = timeFormat_;
    return S_OK;
}

HRESULT FilterGraph::SetTimeFormat(TimeFormat format) {
    if (IsFormatSupported(format) != S_OK)
        return E_NOINTERFACE;
    timeFormat_ = format;
    return S_OK;
}

HRESULT FilterGraph::GetDuration(REFERENCE_TIME* duration) {
    if (!duration)
        return E_POINTER;
    MediaSeeker* seeker = FindSeeker();
    if (!seeker)
        return E_NOINTERFACE;
    *duration = seeker->Duration();
    return S_OK;
}

HRESULT FilterGraph::GetStopPosition(REFERENCE_TIME* stop) {
    return GetDuration(stop);
}

HRESULT FilterGraph::GetCurrentPosition(REFERENCE_TIME* current) {
    if (!current)
        return E_POINTER;
    MediaSeeker* seeker = FindSeeker();
    if (!seeker)
        return E_NOINTERFACE;
    // A graph that writes files is as far as its slowest writer, whatever the clock says.
    REFERENCE_TIME position = presentation_.Position();
    bool writing = false;
    for (const auto& filter : filters_) {
        REFERENCE_TIME written = 0;
        if (filter->WrittenPosition(&written)) {
            position = writing ? std::min(position, written) : written;
            writing = true;
        }
    }
    *current = std::clamp<REFERENCE_TIME>(position, 0, seeker->Duration());
    return S_OK;
}

HRESULT FilterGraph::SetPositions(REFERENCE_TIME* current, unsigned currentFlags, REFERENCE_TIME*,
                                  unsigned stopFlags) {
    MediaSeeker* seeker = FindSeeker();
    if (!seeker)
        return E_NOINTERFACE;
    // The stop position is always the end of the media.
    if ((stopFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning)
        return E_NOTIMPL;
    const unsigned positioning = currentFlags & AM_SEEKING_PositioningBitsMask;
    if (positioning == AM_SEEKING_NoPositioning)
        return S_OK;
    if (!current)
        return E_POINTER;
    REFERENCE_TIME target = *current;
    if (positioning == AM_SEEKING_RelativePositioning)
        target += presentation_.Position();
    else if (positioning != AM_SEEKING_AbsolutePositioning)
        return E_INVALIDARG;
    return Seek(std::clamp<REFERENCE_TIME>(target, 0, seeker->Duration()));
}

HRESULT FilterGraph::Seek(REFERENCE_TIME target) {
    MediaSeeker* seeker = FindSeeker();
    if (state_ == FilterState::Stopped) {
        presentation_.Set(target);
        return seeker->SeekTo(target);
    }
    const bool wasRunning = state_ == FilterState::Running;
    if (wasRunning) {
        presentation_.Freeze();
        ChangeFilterStates(FilterState::Paused);
    }
    // After the flush, so that no renderer still reports the end of the old segment.
    const HRESULT hr = seeker->SeekTo(target);
    ResetCompletion();
    presentation_.Set(target);
    WaitForPreroll();
    if (wasRunning) {
        presentation_.Start();
        ChangeFilterStates(FilterState::Running);
    }
    return hr;
}

HRESULT FilterGraph::SetRate(double rate) {
    if (!FindSeeker())
        return E_NOINTERFACE;
    return rate == 1.0 ? S_OK : E_INVALIDARG;
}

HRESULT FilterGraph::GetRate(double* rate) {
    if (!rate)
        return E_POINTER;
    *rate = 1.0;
    return S_OK;
}

HRESULT FilterGraph::GetEvent(long* code, std::intptr_t* param1, std::intptr_t* param2,
                              long timeoutMs) {
    return events_.Get(code, param1, param2, timeoutMs);
}

HRESULT FilterGraph::FreeEventParams(long, std::intptr_t, std::intptr_t) {
    return S_OK;
}

HRESULT FilterGraph::SetNotifyWindow(QObject* window, unsigned message,
                                     std::intptr_t instanceData) {
    events_.SetNotifyWindow(window, message, instanceData);
    return S_OK;
}

} // namespace graph
