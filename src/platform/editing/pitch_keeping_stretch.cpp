#include "platform/editing/pitch_keeping_stretch.h"

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <cmath>

namespace editing {

namespace {

using RubberBand::RubberBandStretcher;

constexpr std::int64_t kChunk = 4096; // input samples per call of the engine
// Output samples made before the anchor and dropped: the engine starts from silence, and
// its windows (up to 4096 samples at 44.1 kHz) must be full of the sound before it counts.
constexpr std::int64_t kWarmUp = 8192;
// Input given beyond the last output asked for, so the engine's end is never heard.
constexpr std::int64_t kTail = 8192;
// Making and dropping output is cheaper than a new warm-up up to this far ahead.
constexpr std::int64_t kMaxSkipAhead = 1 << 16;

// Both channels together keep the stereo image. The finer engine on its single short window
// does a third of the work of its full set of windows: a conversion keeping the pitch takes
// about a quarter longer than one that resamples, rather than three quarters.
constexpr RubberBandStretcher::Options kOptions =
    RubberBandStretcher::OptionProcessOffline | RubberBandStretcher::OptionEngineFiner |
    RubberBandStretcher::OptionChannelsTogether | RubberBandStretcher::OptionWindowShort;

constexpr double kMaxRatio = 16.0;
constexpr double kInaudibleCents = 0.5;

} // namespace

bool PitchKeepingStretch::Needed(double ratio) {
    const double cents = std::abs(1200 * std::log2(ratio));
    return cents > kInaudibleCents && ratio <= kMaxRatio && ratio >= 1 / kMaxRatio;
}

PitchKeepingStretch::PitchKeepingStretch(AudioSampleReader& reader, const SincKernel& rateKernel,
                                         SourceLine line, int outputRate, std::int64_t stop)
    : reader_(reader), rateKernel_(rateKernel), line_(line), outputRate_(outputRate),
      ratio_(static_cast<double>(reader.SampleRate()) / outputRate / line.step),
      inputStep_(static_cast<double>(reader.SampleRate()) / outputRate), stop_(stop) {}

PitchKeepingStretch::~PitchKeepingStretch() = default;

// Input sample k holds the file at the position of output sample at - kWarmUp + k * ratio,
// so the engine, which puts input k at output k * ratio, plays it there.
void PitchKeepingStretch::Anchor(std::int64_t at) {
    stretcher_ = std::make_unique<RubberBandStretcher>(outputRate_, 2, kOptions, ratio_, 1.0);
    stretcher_->setMaxProcessSize(kChunk);
    const double outputs = static_cast<double>(std::max<std::int64_t>(stop_ - at, 0) + kWarmUp);
    inputs_ = static_cast<std::int64_t>(std::ceil(outputs / ratio_)) + kTail;
    // The finer engine's study pass only counts the input: it is told the count instead of
    // being fed the sound twice.
    stretcher_->setExpectedInputDuration(static_cast<std::size_t>(inputs_));
    inputOrigin_ = line_.At(at) - static_cast<double>(kWarmUp) * line_.step;
    fed_ = 0;
    warmUpLeft_ = kWarmUp;
    made_.clear();
    madeStart_ = at;
}

void PitchKeepingStretch::Take() {
    for (int available; (available = stretcher_->available()) > 0;) {
        const auto count = static_cast<std::size_t>(available);
        for (std::vector<float>& channel : channels_)
            channel.resize(std::max(channel.size(), count));
        float* const out[2] = {channels_[0].data(), channels_[1].data()};
        const std::size_t got = stretcher_->retrieve(out, count);
        const std::size_t skip =
            std::min<std::size_t>(got, static_cast<std::size_t>(warmUpLeft_));
        warmUpLeft_ -= static_cast<std::int64_t>(skip);
        for (std::size_t i = skip; i < got; ++i) {
            made_.push_back(channels_[0][i]);
            made_.push_back(channels_[1][i]);
        }
    }
}

bool PitchKeepingStretch::Feed() {
    if (fed_ >= inputs_)
        return false;
    const std::int64_t count = std::min(kChunk, inputs_ - fed_);
    interleaved_.resize(2 * static_cast<std::size_t>(count));
    reader_.ReadResampled(rateKernel_, inputOrigin_ + static_cast<double>(fed_) * inputStep_,
                          inputStep_, count, interleaved_.data());
    for (std::vector<float>& channel : channels_)
        channel.resize(std::max(channel.size(), static_cast<std::size_t>(count)));
    for (std::int64_t i = 0; i < count; ++i) {
        channels_[0][i] = interleaved_[2 * i];
        channels_[1][i] = interleaved_[2 * i + 1];
    }
    const float* const in[2] = {channels_[0].data(), channels_[1].data()};
    fed_ += count;
    stretcher_->process(in, static_cast<std::size_t>(count), fed_ == inputs_);
    Take();
    return true;
}

void PitchKeepingStretch::Render(std::int64_t from, std::int64_t count, float* out) {
    const auto madeEnd = [this] { return madeStart_ + static_cast<std::int64_t>(made_.size() / 2); };
    if (!stretcher_ || from < madeStart_ || from > madeEnd() + kMaxSkipAhead)
        Anchor(from);
    while (madeEnd() < from + count && Feed()) {
    }
    const std::int64_t drop = std::min(from - madeStart_, madeEnd() - madeStart_);
    made_.erase(made_.begin(), made_.begin() + 2 * drop);
    madeStart_ += drop;
    const std::int64_t have = std::clamp<std::int64_t>(madeEnd() - from, 0, count);
    std::copy(made_.begin(), made_.begin() + 2 * have, out);
    std::fill(out + 2 * have, out + 2 * count, 0.0f);
}

} // namespace editing
