#include "platform/editing/sinc_resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

// Each output sample is the sum, tap by tap from the left, of the kernel's weight times the
// sample: the faster path must give the very same floats, or converted files would change.
TEST(SincResamplerTest, EverySampleIsTheTapByTapSumToTheBit) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> sound(-1.0f, 1.0f);
    std::vector<float> window(2 * 40000);
    for (float& sample : window)
        sample = sound(random);
    const std::int64_t windowStart = 1'000'000;
    for (const double step : {1.0, 47520.0 / 44100, 0.9, 3.3}) {
        const editing::SincKernel kernel(step > 1 ? 1 / step : 1.0);
        const double first = windowStart + kernel.Reach() + 0.37;
        const std::int64_t count = 1001; // odd: the last sample is made on its own
        std::vector<float> out(2 * count);
        editing::Resample(kernel, window.data(), windowStart, first, step, count, out.data());
        for (std::int64_t n = 0; n < count; ++n) {
            const double position = first + static_cast<double>(n) * step;
            const auto centre = static_cast<std::int64_t>(std::floor(position));
            float left = 0;
            float right = 0;
            for (std::int64_t i = centre - kernel.Reach() + 1; i <= centre + kernel.Reach(); ++i) {
                const float weight = kernel.Weight(position - static_cast<double>(i));
                left += weight * window[2 * (i - windowStart)];
                right += weight * window[2 * (i - windowStart) + 1];
            }
            ASSERT_EQ(std::memcmp(&left, &out[2 * n], sizeof left), 0) << step << " at " << n;
            ASSERT_EQ(std::memcmp(&right, &out[2 * n + 1], sizeof right), 0) << step << " at " << n;
        }
    }
}

} // namespace
