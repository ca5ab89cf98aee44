#include "align/sound_onsets.h"

#include "platform/dsp/mono_sound.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace align {

namespace {
// The level is the peak of hops of 2 ms: short enough that a clap's rise falls within a hop
// or two, long enough to ride over one cycle of a low voice.
constexpr double kHopSeconds = 0.002;
// An onset rises above the 50 ms before it (less the two hops of the rise itself) ...
constexpr double kBackgroundSeconds = 0.05;
constexpr int kRiseHops = 2;
// ... by 12 dB at least, and above a floor near the noise of a quiet room's recording.
constexpr float kRise = 4.0f;
constexpr float kFloor = 0.003f;
// Its peak is looked for in the 6 ms after it.
constexpr double kAheadSeconds = 0.006;
// A clap rings on and echoes; a second onset counts only 50 ms after the first.
constexpr double kRefractorySeconds = 0.05;
// The onset's sample is the first of the rise past this share of the way from the
// background to the peak: early enough to be the start, above the background's ripple.
constexpr float kStartShare = 0.3f;

int Hops(double seconds) {
    return std::max(1, int(std::lround(seconds / kHopSeconds)));
}
} // namespace

OnsetDetector::OnsetDetector(int rate)
    : rate_(rate), hop_(std::max(1, int(std::lround(rate * kHopSeconds)))),
      background_(Hops(kBackgroundSeconds)), ahead_(Hops(kAheadSeconds)),
      refractory_(Hops(kRefractorySeconds)) {}

float OnsetDetector::PeakOf(std::int64_t from, std::int64_t to) const {
    from = std::max(from, first_);
    to = std::min(to, fed_);
    float peak = 0;
    for (std::int64_t i = from; i < to; ++i)
        peak = std::max(peak, std::abs(Sample(i)));
    return peak;
}

void OnsetDetector::Feed(const float* samples, std::size_t count) {
    samples_.insert(samples_.end(), samples, samples + count);
    fed_ += std::int64_t(count);
    // A hop is examined once the hops that tell its peak have come in.
    while ((nextHop_ + 1 + ahead_) * hop_ <= fed_)
        Examine(nextHop_++);
    // Kept: the background and the rise before the next hop to examine.
    const std::int64_t keepFrom = std::max<std::int64_t>(0, (nextHop_ - kRiseHops - 1) * hop_);
    while (first_ < keepFrom && !samples_.empty()) {
        samples_.pop_front();
        ++first_;
    }
}

void OnsetDetector::Finish() {
    while (nextHop_ * hop_ < fed_)
        Examine(nextHop_++);
}

void OnsetDetector::Examine(std::int64_t hop) {
    const float peak = PeakOf(hop * hop_, (hop + 1) * hop_);
    // The background: the hops before the rise.
    float background = 0;
    const int known = int(hopPeaks_.size());
    for (int i = 0; i < known - kRiseHops; ++i)
        background = std::max(background, hopPeaks_[std::size_t(i)]);
    hopPeaks_.push_back(peak);
    if (int(hopPeaks_.size()) > background_ + kRiseHops)
        hopPeaks_.pop_front();

    // The sound's own start is no event: an onset needs its background heard before it.
    if (known < background_ + kRiseHops || peak < kRise * std::max(background, kFloor))
        return;
    if (lastOnsetHop_ >= 0 && hop - lastOnsetHop_ < refractory_)
        return;
    // The rise may have begun in the hops before this one.
    const std::int64_t searchFrom = (hop - kRiseHops) * hop_;
    const float top = PeakOf(searchFrom, (hop + 1 + ahead_) * hop_);
    const float threshold = background + kStartShare * (top - background);
    std::optional<std::int64_t> start;
    for (std::int64_t i = std::max(searchFrom, first_); i < std::min((hop + 1) * hop_, fed_); ++i) {
        if (std::abs(Sample(i)) > threshold) {
            start = i;
            break;
        }
    }
    if (!start)
        return;
    lastOnsetHop_ = hop;
    onsets_.push_back(*start);
}

std::vector<REFERENCE_TIME> OnsetDetector::OnsetTimes() const {
    std::vector<REFERENCE_TIME> times;
    for (std::int64_t sample : onsets_)
        times.push_back((sample * UNITS + rate_ / 2) / rate_);
    return times;
}

HRESULT FindSoundOnsets(const std::string& path, const std::function<bool(double)>& progress,
                        std::vector<REFERENCE_TIME>* onsets) {
    std::optional<OnsetDetector> detector;
    const HRESULT hr = dsp::StreamMonoSound(path, 0, progress,
                                            [&](int rate, const float* samples, std::size_t count) {
                                                if (!detector)
                                                    detector.emplace(rate);
                                                detector->Feed(samples, count);
                                            });
    onsets->clear();
    if (FAILED(hr))
        return hr;
    if (detector) {
        detector->Finish();
        *onsets = detector->OnsetTimes();
    }
    return hr;
}

} // namespace align
