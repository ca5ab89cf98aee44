#include "platform/editing/sinc_resampler.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

void SincKernel::Weights(double position, std::int64_t firstTap, int taps, float* weights) const {
    int k = 0;
#if defined(__SSE2__)
    // Four taps at a time, with the scalar steps in the same order and precision, so each
    // weight is the same float; the caller's taps lie within the reach, inside the table.
    const __m128d at = _mm_set1_pd(position);
    const __m128d scale = _mm_set1_pd(scale_);
    const __m128d sign = _mm_set1_pd(-0.0);
    const float* table = table_.data();
    for (; k + 4 <= taps; k += 4) {
        const double tap = static_cast<double>(firstTap + k);
        const __m128d near =
            _mm_mul_pd(_mm_andnot_pd(sign, _mm_sub_pd(at, _mm_set_pd(tap + 1, tap))), scale);
        const __m128d far =
            _mm_mul_pd(_mm_andnot_pd(sign, _mm_sub_pd(at, _mm_set_pd(tap + 3, tap + 2))), scale);
        const __m128i nearIndex = _mm_cvttpd_epi32(near);
        const __m128i farIndex = _mm_cvttpd_epi32(far);
        const __m128 fraction =
            _mm_movelh_ps(_mm_cvtpd_ps(_mm_sub_pd(near, _mm_cvtepi32_pd(nearIndex))),
                          _mm_cvtpd_ps(_mm_sub_pd(far, _mm_cvtepi32_pd(farIndex))));
        alignas(16) std::int32_t index[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(index), _mm_unpacklo_epi64(nearIndex, farIndex));
        // Each index's entry and the next, side by side in the table.
        const auto pair = [table](__m128 into, std::int32_t i, bool high) {
            const auto* two = reinterpret_cast<const __m64*>(table + i);
            return high ? _mm_loadh_pi(into, two) : _mm_loadl_pi(into, two);
        };
        const __m128 first = pair(pair(_mm_setzero_ps(), index[0], false), index[1], true);
        const __m128 second = pair(pair(_mm_setzero_ps(), index[2], false), index[3], true);
        const __m128 low = _mm_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0));
        const __m128 high = _mm_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1));
        _mm_storeu_ps(weights + k, _mm_add_ps(low, _mm_mul_ps(_mm_sub_ps(high, low), fraction)));
    }
#endif
    for (; k < taps; ++k)
        weights[k] = Weight(position - static_cast<double>(firstTap + k));
}

void Resample(const SincKernel& kernel, const float* window, std::int64_t windowStart, double first,
              double step, std::int64_t count, float* out) {
    const int taps = 2 * kernel.Reach();
    std::vector<float> weights(2 * static_cast<std::size_t>(taps));
    float* const a = weights.data();
    float* const b = a + taps;
    const auto firstTap = [&](double position) {
        return static_cast<std::int64_t>(std::floor(position)) - kernel.Reach() + 1;
    };
    std::int64_t n = 0;
#if defined(__SSE2__)
    // Two output samples at a time, left and right of each in its own lane: every lane adds
    // its taps in the scalar order, so the sums are the same floats.
    for (; n + 2 <= count; n += 2, out += 4) {
        const double atA = first + static_cast<double>(n) * step;
        const double atB = first + static_cast<double>(n + 1) * step;
        const std::int64_t tapA = firstTap(atA);
        const std::int64_t tapB = firstTap(atB);
        kernel.Weights(atA, tapA, taps, a);
        kernel.Weights(atB, tapB, taps, b);
        const auto* sampleA = reinterpret_cast<const __m64*>(window + 2 * (tapA - windowStart));
        const auto* sampleB = reinterpret_cast<const __m64*>(window + 2 * (tapB - windowStart));
        __m128 sum = _mm_setzero_ps();
        for (int k = 0; k < taps; ++k) {
            const __m128 samples =
                _mm_loadh_pi(_mm_loadl_pi(_mm_setzero_ps(), sampleA + k), sampleB + k);
            sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set_ps(b[k], b[k], a[k], a[k]), samples));
        }
        _mm_storeu_ps(out, sum);
    }
#endif
    for (; n < count; ++n, out += 2) {
        const double at = first + static_cast<double>(n) * step;
        const std::int64_t tap = firstTap(at);
        kernel.Weights(at, tap, taps, a);
        const float* sample = window + 2 * (tap - windowStart);
        float left = 0;
        float right = 0;
        for (int k = 0; k < taps; ++k, sample += 2) {
            left += a[k] * sample[0];
            right += a[k] * sample[1];
        }
        out[0] = left;
        out[1] = right;
    }
}

} // namespace editing
