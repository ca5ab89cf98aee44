#include "platform/editing/sinc_resampler.h"

#include <algorithm>
#include <cmath>

namespace editing {

namespace {
constexpr int kZeroCrossings = 16;
constexpr int kTableResolution = 256; // entries per zero crossing
} // namespace

SincKernel::SincKernel(double cutoff)
    : cutoff_(cutoff), reach_(static_cast<int>(std::ceil(kZeroCrossings / cutoff))),
      scale_(kTableResolution * cutoff) {
    const int entries = static_cast<int>(std::ceil(reach_ * scale_)) + 2;
    table_.resize(entries);
    for (int i = 0; i < entries; ++i) {
        const double x = i / scale_ * cutoff_; // in zero crossings of the low-passed sinc
        if (x >= kZeroCrossings) {
            table_[i] = 0.0f;
            continue;
        }
        const double sinc = x == 0 ? 1.0 : std::sin(M_PI * x) / (M_PI * x);
        const double w = x / kZeroCrossings; // Blackman window over the reach
        const double window = 0.42 + 0.5 * std::cos(M_PI * w) + 0.08 * std::cos(2 * M_PI * w);
        table_[i] = static_cast<float>(cutoff_ * sinc * window);
    }
}

void Interpolate(const SincKernel& kernel, const float* window, std::int64_t windowStart,
                 std::int64_t windowCount, double position, float* out) {
    const auto centre = static_cast<std::int64_t>(std::floor(position));
    // Only the taps inside the window; the rest weigh on nothing.
    const std::int64_t first = std::max(centre - kernel.Reach() + 1, windowStart);
    const std::int64_t last = std::min(centre + kernel.Reach(), windowStart + windowCount - 1);
    float left = 0;
    float right = 0;
    const float* sample = window + 2 * (first - windowStart);
    for (std::int64_t i = first; i <= last; ++i, sample += 2) {
        const float weight = kernel.Weight(position - static_cast<double>(i));
        left += weight * sample[0];
        right += weight * sample[1];
    }
    out[0] = left;
    out[1] = right;
}

} // namespace editing
