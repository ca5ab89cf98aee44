// The correlator finds a probe at a fractional lag and tells found from unrelated.
#include "align/analysis_settings.h"
#include "align/phase_correlator.h"
#include "align/sinc_reading.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<float> Noise(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0, 0.2f);
    std::vector<float> samples(static_cast<std::size_t>(count));
    for (float& s : samples)
        s = noise(random);
    return samples;
}

// `count` samples of `source` read from `start` on (a fraction of a sample allowed).
std::vector<float> ReadAt(const std::vector<float>& source, double start, int count) {
    return aligntest::ReadWithSinc(source, start, 1.0, count, 0.95);
}

TEST(PhaseCorrelator, PlacesAProbeToAHundredthOfASample) {
    const std::vector<float> target = Noise(40000, 1);
    for (double lag : {1234.0, 1234.25, 1234.5, 2000.83}) {
        const std::vector<float> probe = ReadAt(target, lag, 16000);
        dsp::RealFft fft(align::PhaseCorrelator::SizeFor(int(target.size()), 16000, 0, 24000));
        align::PhaseCorrelator correlator(fft, target.data(), int(target.size()), 0, 24000);
        const align::Peak refined = correlator.Find(probe.data(), 16000, true);
        EXPECT_NEAR(refined.lag, lag, 0.01) << "at " << lag;
        EXPECT_GT(refined.confidence, 50);
        // The parabola alone is biased towards whole samples.
        const align::Peak rough = correlator.Find(probe.data(), 16000, false);
        EXPECT_NEAR(rough.lag, lag, 0.5) << "at " << lag;
    }
}

TEST(PhaseCorrelator, FindsAProbeReachingOutBeforeTheTarget) {
    const std::vector<float> sound = Noise(30000, 2);
    const std::vector<float> target(sound.begin() + 5000, sound.end());
    dsp::RealFft fft(align::PhaseCorrelator::SizeFor(int(target.size()), 8000, -4000, 20000));
    align::PhaseCorrelator correlator(fft, target.data(), int(target.size()), -4000, 20000);
    const align::Peak peak = correlator.Find(sound.data() + 2000, 8000, false);
    EXPECT_NEAR(peak.lag, -3000, 0.01);
    EXPECT_GT(peak.confidence, align::kGlobalConfidence);
}

TEST(PhaseCorrelator, FindsNothingInUnrelatedSound) {
    const std::vector<float> target = Noise(40000, 3);
    const std::vector<float> probe = Noise(16000, 4);
    dsp::RealFft fft(align::PhaseCorrelator::SizeFor(int(target.size()), 16000, 0, 24000));
    align::PhaseCorrelator correlator(fft, target.data(), int(target.size()), 0, 24000);
    EXPECT_LT(correlator.Find(probe.data(), 16000, true).confidence, align::kWindowConfidence);
}

TEST(PhaseCorrelator, FindsALouderOrMuffledCopy) {
    // Whitening ignores level and colour: a quiet copy through a symmetric low-pass (which
    // delays nothing) is found as precisely.
    const std::vector<float> target = Noise(40000, 5);
    std::vector<float> probe(16000);
    for (int i = 0; i < 16000; ++i)
        probe[i] = 0.05f * (0.25f * target[6999 + i] + 0.5f * target[7000 + i] + 0.25f * target[7001 + i]);
    dsp::RealFft fft(align::PhaseCorrelator::SizeFor(int(target.size()), 16000, 0, 24000));
    align::PhaseCorrelator correlator(fft, target.data(), int(target.size()), 0, 24000);
    const align::Peak peak = correlator.Find(probe.data(), 16000, true);
    EXPECT_NEAR(peak.lag, 7000, 0.05);
    EXPECT_GT(peak.confidence, 50);
}

} // namespace
