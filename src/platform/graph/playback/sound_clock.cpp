#include "platform/graph/playback/sound_clock.h"

#include <algorithm>

namespace graph {

namespace {
// Between two reports of what has been heard, time moves on by at most this much.
constexpr REFERENCE_TIME kMaxExtrapolation = 20 * UNITS / 1000;
} // namespace

REFERENCE_TIME SoundClock::Now() const {
    std::lock_guard lock(mutex_);
    return NowLocked();
}

REFERENCE_TIME SoundClock::NowLocked() const {
    last_ = std::max(last_, offset_ + SourceLocked(mode_));
    return last_;
}

REFERENCE_TIME SoundClock::SourceLocked(Mode mode) const {
    switch (mode) {
    case Mode::Free:
        return system_.Now();
    case Mode::Held:
        return 0;
    case Mode::Following:
        break;
    }
    if (!advancing_)
        return heard_;
    return heard_ + std::min(system_.Now() - heardAt_, kMaxExtrapolation);
}

void SoundClock::SwitchLocked(Mode mode) {
    const REFERENCE_TIME now = NowLocked();
    mode_ = mode;
    offset_ = now - SourceLocked(mode);
}

void SoundClock::Heard(REFERENCE_TIME heard, bool advancing) {
    std::lock_guard lock(mutex_);
    heard_ = heard;
    heardAt_ = system_.Now();
    advancing_ = advancing;
}

void SoundClock::Follow() {
    std::lock_guard lock(mutex_);
    SwitchLocked(Mode::Following);
}

void SoundClock::Hold() {
    std::lock_guard lock(mutex_);
    SwitchLocked(Mode::Held);
}

void SoundClock::RunFree() {
    std::lock_guard lock(mutex_);
    SwitchLocked(Mode::Free);
}

} // namespace graph
