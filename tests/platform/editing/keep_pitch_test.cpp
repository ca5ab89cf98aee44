// Sound played faster or slower with its pitch kept: a tone keeps its frequency where
// resampling moves it, speech keeps the envelope of its spectrum, and a piece played at its
// own speed passes through untouched.
#include "platform/dsp/real_fft.h"
#include "platform/editing/audio_group_stream.h"
#include "platform/editing/group_fixtures.h"
#include "platform/editing/render_engine.h"
#include "support/drift_fixtures.h"
#include "support/media_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace editing;
using namespace editingtest;

namespace {

constexpr int kRate = AudioGroupStream::kSampleRate;

// One piece of `path`: media [from, to) played over `ratio` times its length.
std::vector<float> Stretched(const std::string& path, REFERENCE_TIME from, REFERENCE_TIME to,
                             double ratio, bool keepPitch) {
    const auto length = static_cast<REFERENCE_TIME>(std::llround((to - from) * ratio));
    std::unique_ptr<GroupStream> stream;
    EXPECT_EQ(CreateGroupStream(*MakeGroup(AudioType(), 0, path, {{{0, length}, {from, to}}}, 2,
                                           keepPitch),
                                &stream),
              S_OK);
    const std::vector<std::int16_t> stereo = PullSound(*stream);
    std::vector<float> mono(stereo.size() / 2);
    for (std::size_t i = 0; i < mono.size(); ++i)
        mono[i] = (stereo[2 * i] + stereo[2 * i + 1]) / 65536.0f;
    return mono;
}

// Long-term spectrum in third-octave bands from 100 Hz to 8 kHz, in dB of the whole.
std::vector<double> ThirdOctaveLevels(const std::vector<float>& sound) {
    constexpr int kSize = 2048;
    dsp::RealFft fft(kSize);
    std::vector<double> power(fft.Bins(), 0.0);
    for (std::size_t at = 0; at + kSize <= sound.size(); at += kSize / 2) {
        for (int i = 0; i < kSize; ++i)
            fft.Time()[i] = sound[at + i] * static_cast<float>(0.5 - 0.5 * std::cos(2 * M_PI * i / kSize));
        fft.Forward();
        for (int k = 0; k < fft.Bins(); ++k)
            power[k] += std::norm(fft.Spectrum()[k]);
    }
    const auto hz = [](int bin) { return static_cast<double>(bin) * kRate / kSize; };
    std::vector<double> bands;
    double total = 0;
    for (double low = 100; low < 8000; low *= std::pow(2.0, 1.0 / 3)) {
        double band = 0;
        for (int k = 0; k < fft.Bins(); ++k) {
            if (hz(k) >= low && hz(k) < low * std::pow(2.0, 1.0 / 3))
                band += power[k];
        }
        bands.push_back(band);
        total += band;
    }
    for (double& band : bands)
        band = 10 * std::log10(band / total);
    return bands;
}

} // namespace

// 4.3 % either way, as between 25 and 23.976 frames a second: resampled, the tone moves by
// 73 cents; stretched, it stays within half a cent.
TEST(KeepPitch, AToneKeepsItsFrequencyWhereResamplingMovesIt) {
    const std::string tone = testsupport::ToneFile(1000, 6);
    for (const double ratio : {25 / 23.976, 23.976 / 25}) {
        for (const bool keepPitch : {false, true}) {
            const std::vector<float> out = Stretched(tone, S / 2, 5 * S, ratio, keepPitch);
            std::vector<std::int16_t> pcm(out.size());
            std::transform(out.begin(), out.end(), pcm.begin(), [](float v) {
                return static_cast<std::int16_t>(std::lrint(v * 32767));
            });
            const double frequency = testsupport::ToneFrequency(pcm, kRate, kRate, 3 * kRate);
            const double cents = 1200 * std::log2(frequency / 1000);
            EXPECT_NEAR(cents, keepPitch ? 0 : -1200 * std::log2(ratio), 0.5)
                << "ratio " << ratio << (keepPitch ? ", pitch kept" : ", resampled");
        }
    }
}

// Through a point between pieces stretched one way and the other, a steady tone neither
// drops nor swells: the moment of the source held at the point and the stretch around it
// need not be in phase.
TEST(KeepPitch, AToneKeepsItsLoudnessThroughThePoints) {
    for (const double frequency : {220.0, 440.0, 1000.0, 3000.0}) {
        const std::string tone = testsupport::ToneFile(frequency, 6);
        const auto join = static_cast<REFERENCE_TIME>(std::llround(1.5 * S * 25 / 23.976));
        const auto end = join + static_cast<REFERENCE_TIME>(std::llround(2.0 * S * 0.97));
        std::unique_ptr<GroupStream> stream;
        ASSERT_EQ(
            CreateGroupStream(
                *MakeGroup(AudioType(), 0, tone,
                           {{{0, join}, {S / 2, 2 * S}}, {{join, end}, {2 * S, 4 * S}}}, 2, true),
                &stream),
            S_OK);
        const std::vector<std::int16_t> sound = PullSound(*stream);
        // Loudness over one period (two above 500 Hz), every quarter millisecond.
        const long period = std::lround(kRate / frequency) * (frequency > 500 ? 2 : 1);
        const auto loudness = [&](long from) {
            double sum = 0;
            for (long i = from; i < from + period; ++i)
                sum += static_cast<double>(sound[2 * i]) * sound[2 * i];
            return std::sqrt(sum / static_cast<double>(period));
        };
        const long point = static_cast<long>(AudioGroupStream::SampleAt(join));
        const double steady = loudness(point - kRate / 2);
        for (long from = point - kRate / 40; from < point + kRate / 40; from += kRate / 4000)
            EXPECT_NEAR(loudness(from) / steady, 1.0, 0.15)
                << frequency << " Hz at " << from - point;
    }
}

// Stretched by 1 %, a voice keeps its timbre: every band of its long-term spectrum stays
// within 1 dB of the voice played at its own speed.
TEST(KeepPitch, SpeechKeepsTheEnvelopeOfItsSpectrum) {
    const std::string speech = testsupport::SpeechFile();
    const std::vector<double> source = ThirdOctaveLevels(Stretched(speech, 0, 6 * S, 1, false));
    const std::vector<double> stretched = ThirdOctaveLevels(Stretched(speech, 0, 6 * S, 1.01, true));
    ASSERT_EQ(stretched.size(), source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
        EXPECT_NEAR(stretched[i], source[i], 1.0) << "band " << i;
}

// A piece whose sound runs at its own speed, or 200 parts per million off it (a third of a
// cent), is not stretched, beside one that is.
TEST(KeepPitch, APieceAtItsOwnSpeedPassesThroughUnchanged) {
    const std::string path = testsupport::Clip(testsupport::ClipKind::H264Pcm);
    const std::vector<Piece> pieces = {{{0, S}, {Ms(500), Ms(1500)}},
                                       {{S, 2 * S}, {Ms(1500), Ms(2500.2)}},
                                       {{2 * S, 4 * S}, {Ms(2500.2), Ms(4000)}}};
    std::vector<std::vector<std::int16_t>> sound;
    for (const bool keepPitch : {false, true}) {
        std::unique_ptr<GroupStream> stream;
        ASSERT_EQ(CreateGroupStream(*MakeGroup(AudioType(), 0, path, pieces, 2, keepPitch), &stream),
                  S_OK);
        sound.push_back(PullSound(*stream));
    }
    ASSERT_EQ(sound[0].size(), sound[1].size());
    const auto firstPiece = static_cast<std::ptrdiff_t>(2 * 2 * kRate);
    EXPECT_TRUE(std::equal(sound[0].begin(), sound[0].begin() + firstPiece, sound[1].begin()));
    EXPECT_FALSE(std::equal(sound[0].begin() + firstPiece, sound[0].end(), sound[1].begin() + firstPiece));
}

// A preview that starts or seeks inside a stretched piece: the stretch starts again there, and
// every click after that point is still in its place, give or take the engine's smear of a
// click (its loudest sample lands within a millisecond and a half).
TEST(KeepPitch, PlayingFromAnyPointKeepsTheSoundInPlace) {
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(4, 25, {1.0, 3.0}, 0.3, 0.01);
    // The whole sound on the line audio = 0.3 + 1.01 video, one piece from video 0 to 3.5 s.
    const REFERENCE_TIME end = Ms(3500);
    std::unique_ptr<GroupStream> stream;
    ASSERT_EQ(CreateGroupStream(*MakeGroup(AudioType(), 0, clip.path,
                                           {{{0, end}, {Ms(300), Ms(300 + 3500 * 1.01)}}}, 2, true),
                                &stream),
              S_OK);
    for (const REFERENCE_TIME from : {REFERENCE_TIME{0}, Ms(800), Ms(2700), Ms(900)}) {
        stream->Seek(from);
        const std::vector<std::int16_t> sound = PullSound(*stream);
        const long first = static_cast<long>(AudioGroupStream::SampleAt(from));
        for (const double flash : clip.flashTimes) {
            const long expected = std::lround(flash * kRate) - first;
            if (expected < 0)
                continue;
            long loudest = expected - kRate / 200;
            for (long i = loudest; i < expected + kRate / 200; ++i) {
                if (std::abs(sound[2 * i]) > std::abs(sound[2 * loudest]))
                    loudest = i;
            }
            EXPECT_NEAR(loudest, expected, kRate * 3 / 2000)
                << "from " << from << ", flash " << flash;
        }
    }
}
