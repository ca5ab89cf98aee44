// The signal-processing tools: transforms, conversion to one channel, a file's whole sound.
#include "platform/dsp/mono_converter.h"
#include "platform/dsp/mono_sound.h"
#include "platform/dsp/real_fft.h"
#include "support/media_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

TEST(RealFft, GivesTheSpectrumOfARealSignalAndBack) {
    dsp::RealFft fft(64);
    ASSERT_EQ(fft.Bins(), 33);
    for (int i = 0; i < 64; ++i)
        fft.Time()[i] = float(0.25 + std::cos(2 * std::numbers::pi * 5 * i / 64) +
                              0.5 * std::sin(2 * std::numbers::pi * 9 * i / 64));
    const std::vector<float> signal(fft.Time(), fft.Time() + 64);
    fft.Forward();
    for (int k = 0; k < fft.Bins(); ++k) {
        const std::complex<float> expected = k == 0 ? 16.0f : k == 5 ? 32.0f : k == 9 ? std::complex<float>(0, -16) : 0.0f;
        EXPECT_NEAR(fft.Spectrum()[k].real(), expected.real(), 1e-4) << "bin " << k;
        EXPECT_NEAR(fft.Spectrum()[k].imag(), expected.imag(), 1e-4) << "bin " << k;
    }
    fft.Inverse();
    for (int i = 0; i < 64; ++i)
        EXPECT_NEAR(fft.Time()[i], 64 * signal[i], 1e-3);
}

TEST(RealFft, SizesArePowersOfTwo) {
    EXPECT_EQ(dsp::FftSizeFor(1), 2);
    EXPECT_EQ(dsp::FftSizeFor(32768), 32768);
    EXPECT_EQ(dsp::FftSizeFor(32769), 65536);
}

TEST(MonoConverter, ResamplesKeepingTimeAndLevel) {
    std::vector<float> sine(8000);
    for (int i = 0; i < 8000; ++i)
        sine[i] = float(0.5 * std::sin(2 * std::numbers::pi * 100 * i / 8000));
    const std::vector<float> low = dsp::Resample(sine, 8000, 1000);
    ASSERT_NEAR(double(low.size()), 1000, 2);
    // Sample 100 of the result lies at 0.1 s, where the sine's phase is 2π × 10.
    for (int i = 100; i < 900; ++i)
        EXPECT_NEAR(low[i], 0.5 * std::sin(2 * std::numbers::pi * 100 * i / 1000), 0.01) << i;
}

// The first sample that reaches half the loudest, from `from` on.
long Onset(const std::vector<float>& samples, long from) {
    const float loudest = *std::max_element(samples.begin(), samples.end());
    for (long i = from; i < long(samples.size()); ++i)
        if (samples[i] > loudest / 2)
            return i;
    return -1;
}

TEST(MonoSound, DecodesAFilesSoundToOneChannelAtTheChosenRate) {
    dsp::MonoSound sound;
    std::vector<double> told;
    ASSERT_EQ(dsp::DecodeMonoSound(testsupport::Clip(testsupport::ClipKind::H264Pcm), 8000,
                                   [&](double f) {
                                       told.push_back(f);
                                       return true;
                                   },
                                   &sound),
              S_OK);
    EXPECT_EQ(sound.rate, 8000);
    EXPECT_NEAR(sound.Seconds(), testsupport::kClipSeconds, 0.05);
    // The clicks stay where they were, to the sample.
    EXPECT_NEAR(double(Onset(sound.samples, 0)), testsupport::kClickTimes[0] * 8000, 1.5);
    EXPECT_NEAR(double(Onset(sound.samples, 12000)), testsupport::kClickTimes[1] * 8000, 1.5);
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
}

TEST(MonoSound, ConvertsOnWhenTheChannelsChange) {
    dsp::MonoSound sound;
    ASSERT_EQ(dsp::DecodeMonoSound(testsupport::JoinedRecording(), 8000, nullptr, &sound), S_OK);
    EXPECT_NEAR(sound.Seconds(), testsupport::kClipSeconds, 0.2);
}

TEST(MonoSound, SaysWhenThereIsNoSoundOrItWasStopped) {
    dsp::MonoSound sound;
    EXPECT_EQ(dsp::DecodeMonoSound(testsupport::Clip(testsupport::ClipKind::PictureOnly), 8000, nullptr, &sound),
              VFW_E_NOT_FOUND);
    EXPECT_EQ(dsp::DecodeMonoSound(testsupport::Clip(testsupport::ClipKind::H264Pcm), 8000,
                                   [](double) { return false; }, &sound),
              E_ABORT);
    EXPECT_TRUE(FAILED(dsp::DecodeMonoSound(testsupport::NonMediaFile(), 8000, nullptr, &sound)));
}

} // namespace
