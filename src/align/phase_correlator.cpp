#include "align/phase_correlator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace align {

namespace {
// The band compared, as fractions of the analysis rate's Nyquist frequency: below it sits
// rumble and handling noise, above it the resamplers' roll-off, where whitening would only
// raise noise.
constexpr double kLowestFraction = 0.02;
constexpr double kHighestFraction = 0.9;
// Lags this close to the peak belong to it, not to the sidelobes.
constexpr int kPeakHalfWidth = 3;
// Keeps silent bins from dividing by zero.
constexpr float kTiny = 1e-20f;
// Newton steps on the band-limited correlation; each gains many digits once close.
constexpr int kRefineSteps = 4;
} // namespace

int PhaseCorrelator::SizeFor(int targetCount, int maxProbe, int minLag, int maxLag) {
    // Negative lags wrap to the end of the buffer, which must be zeros there.
    return dsp::FftSizeFor(std::max(targetCount - std::min(minLag, 0), maxProbe + std::max(maxLag, 0)));
}

PhaseCorrelator::PhaseCorrelator(dsp::RealFft& fft, const float* target, int targetCount, int minLag,
                                 int maxLag)
    : fft_(fft), minLag_(minLag), maxLag_(maxLag) {
    float* time = fft_.Time();
    std::copy(target, target + targetCount, time);
    std::fill(time + targetCount, time + fft_.Size(), 0.0f);
    fft_.Forward();
    target_.assign(fft_.Spectrum(), fft_.Spectrum() + fft_.Bins());
    lowBin_ = std::max(1, static_cast<int>(kLowestFraction * (fft_.Bins() - 1)));
    highBin_ = static_cast<int>(kHighestFraction * (fft_.Bins() - 1));
}

Peak PhaseCorrelator::Find(const float* probe, int probeCount, bool refine) {
    const int size = fft_.Size();
    float* time = fft_.Time();
    std::copy(probe, probe + probeCount, time);
    std::fill(time + probeCount, time + size, 0.0f);
    fft_.Forward();
    std::complex<float>* spectrum = fft_.Spectrum();
    for (int k = 0; k < fft_.Bins(); ++k) {
        if (k < lowBin_ || k > highBin_) {
            spectrum[k] = 0.0f;
            continue;
        }
        const std::complex<float> cross = std::conj(spectrum[k]) * target_[k];
        spectrum[k] = cross / (std::abs(cross) + kTiny);
    }
    if (refine)
        weighted_.assign(spectrum, spectrum + fft_.Bins());
    fft_.Inverse();
    auto at = [&](int lag) { return time[lag >= 0 ? lag : lag + size]; };

    int best = minLag_;
    for (int lag = minLag_; lag <= maxLag_; ++lag)
        if (at(lag) > at(best))
            best = lag;
    double sum = 0, squares = 0;
    int count = 0;
    for (int lag = minLag_; lag <= maxLag_; ++lag) {
        if (std::abs(lag - best) <= kPeakHalfWidth)
            continue;
        sum += at(lag);
        squares += double(at(lag)) * at(lag);
        ++count;
    }
    Peak peak;
    peak.lag = best;
    peak.height = at(best);
    if (count > 1) {
        const double mean = sum / count;
        const double spread = std::sqrt(std::max(squares / count - mean * mean, 0.0));
        peak.confidence = spread > 0 ? (at(best) - mean) / spread : 0.0;
    }
    if (best > minLag_ && best < maxLag_) {
        const double left = at(best - 1), middle = at(best), right = at(best + 1);
        const double curvature = left - 2 * middle + right;
        if (curvature < 0)
            peak.lag = best + 0.5 * (left - right) / curvature;
    }
    if (refine)
        peak.lag = Refine(peak.lag);
    return peak;
}

// Newton's method on the derivative of the correlation, evaluated exactly between samples
// from the cross-spectrum (the sum of its cosines), so the peak's place is not biased
// towards whole samples as a parabola's is.
double PhaseCorrelator::Refine(double start) {
    const int size = fft_.Size();
    const int bins = fft_.Bins();
    double lag = start;
    for (int step = 0; step < kRefineSteps; ++step) {
        const double omega = 2 * std::numbers::pi * lag / size;
        const std::complex<double> turn(std::cos(omega), std::sin(omega));
        std::complex<double> rotation(1.0, 0.0);
        double slope = 0, curvature = 0;
        for (int k = 0; k < bins; ++k, rotation *= turn) {
            if (k < lowBin_ || k > highBin_)
                continue;
            const std::complex<double> value = std::complex<double>(weighted_[k]) * rotation;
            const double frequency = 2 * std::numbers::pi * k / size;
            slope -= frequency * value.imag();
            curvature -= frequency * frequency * value.real();
        }
        if (curvature >= 0)
            break;
        const double next = lag - slope / curvature;
        // A step out of the peak's lobe means the start was not on it: keep the start.
        if (std::abs(next - start) > 1.0)
            return start;
        lag = next;
    }
    return lag;
}

} // namespace align
