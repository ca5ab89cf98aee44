#pragma once
// Reads a sample stream at fractional positions through a windowed-sinc kernel, low-passed
// when the positions step faster than one sample, so sound played faster or slower keeps
// its quality. The kernel is tabulated once per cut-off.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace editing {

class SincKernel {
  public:
    // cutoff: 1 for steps up to one sample, 1 / step for larger steps.
    explicit SincKernel(double cutoff);
    double Cutoff() const { return cutoff_; }
    // Taps reach this many samples to each side of a position.
    int Reach() const { return reach_; }
    // The weight of a sample `distance` samples away from the position. Inline: it runs for
    // every tap of every sample composed.
    float Weight(double distance) const {
        const double at = (distance < 0 ? -distance : distance) * scale_;
        const auto index = static_cast<std::size_t>(at);
        if (index + 1 >= table_.size())
            return 0.0f;
        const float fraction = static_cast<float>(at - static_cast<double>(index));
        return table_[index] + (table_[index + 1] - table_[index]) * fraction;
    }

    // The weights of the taps firstTap, firstTap + 1, ... for `position`, each the same float
    // as Weight() gives; several at once where the processor allows.
    void Weights(double position, std::int64_t firstTap, int taps, float* weights) const;

  private:
    double cutoff_;
    int reach_;
    double scale_; // table entries per sample of distance
    std::vector<float> table_;
};

// `count` stereo samples read from `window` (interleaved stereo, whose sample 0 sits at
// `windowStart`) at the fractional sample positions first, first + step, ...; the window
// holds every tap of every position.
void Resample(const SincKernel& kernel, const float* window, std::int64_t windowStart, double first,
              double step, std::int64_t count, float* out);

} // namespace editing
