#include "platform/editing/transient_scan.h"

#include <algorithm>

namespace editing {

namespace {
constexpr double kRise = 10.0;
constexpr double kFloor = 1e-4; // -40 dB of full scale, as a mean square
constexpr std::int64_t kChunk = 8192;
} // namespace

TransientScan::TransientScan(AudioSampleReader& reader, const SincKernel& kernel,
                             SourceLine line, std::int64_t first, std::int64_t end, int rate)
    : reader_(reader), kernel_(kernel), line_(line), end_(end), shortLength_(rate / 2000),
      longLength_(rate / 50), apart_(rate / 20), scanned_(first) {}

const std::vector<std::int64_t>& TransientScan::Until(std::int64_t to) {
    while (scanned_ < std::min(to, end_)) {
        // The stretch before the chunk is read again for the level the chunk is compared with;
        // the half millisecond after it for the level of its last moments.
        const std::int64_t from = scanned_ - longLength_;
        const std::int64_t stop = std::min(scanned_ + kChunk, end_);
        const std::int64_t count = stop + shortLength_ - from;
        sound_.resize(2 * static_cast<std::size_t>(count));
        reader_.ReadResampled(kernel_, line_.At(from), line_.step, count, sound_.data());
        power_.assign(static_cast<std::size_t>(count) + 1, 0.0);
        for (std::int64_t i = 0; i < count; ++i) {
            const double left = sound_[2 * i];
            const double right = sound_[2 * i + 1];
            power_[i + 1] = power_[i] + (left * left + right * right) / 2;
        }
        const auto mean = [&](std::int64_t at, std::int64_t length) {
            return (power_[at - from + length] - power_[at - from]) / static_cast<double>(length);
        };
        for (std::int64_t j = scanned_; j < stop; ++j) {
            if (!moments_.empty() && j - moments_.back() < apart_)
                continue;
            if (mean(j, shortLength_) > kRise * mean(j - longLength_, longLength_) + kFloor)
                moments_.push_back(j);
        }
        scanned_ = stop;
    }
    return moments_;
}

} // namespace editing
