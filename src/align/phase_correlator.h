#pragma once
// Phase-weighted cross-correlation (GCC-PHAT): where a short probe lies in a longer target.
// Whitening the cross-spectrum makes the correlation peak sharp whatever the sounds' colour,
// so reverberation and a muffled microphone do not smear it. The target's spectrum is made
// once, so one target serves many probes. The transform is the caller's, shared by many
// correlators of one size: setting one up costs more than using it.
#include "platform/dsp/real_fft.h"

#include <complex>
#include <vector>

namespace align {

struct Peak {
    double lag = 0; // probe sample i matches target sample i + lag (a fraction of a sample)
    double height = 0; // the correlation there, comparable between targets of one transform
    // Peak-to-sidelobe ratio: how far the peak stands above the other lags, in their
    // standard deviations.
    double confidence = 0;
};

class PhaseCorrelator {
  public:
    // Lags from minLag to maxLag are searched; minLag may be negative (the probe reaching out
    // before the target). The transform must be at least SizeFor(...) long. The target is
    // copied.
    PhaseCorrelator(dsp::RealFft& fft, const float* target, int targetCount, int minLag, int maxLag);
    // The transform size that holds a target and probes of at most maxProbe samples at these lags.
    static int SizeFor(int targetCount, int maxProbe, int minLag, int maxLag);

    // `refine` places the peak between samples on the band-limited correlation; otherwise on
    // a parabola through the best lag and its neighbours.
    Peak Find(const float* probe, int probeCount, bool refine);

  private:
    double Refine(double start);

    dsp::RealFft& fft_;
    std::vector<std::complex<float>> target_; // the target's spectrum
    std::vector<std::complex<float>> weighted_; // the whitened cross-spectrum, for Refine
    int minLag_;
    int maxLag_;
    int lowBin_;  // bins outside lowBin_..highBin_ carry rumble or the converter's roll-off
    int highBin_;
};

} // namespace align
