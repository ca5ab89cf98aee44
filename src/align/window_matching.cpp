#include "align/window_matching.h"

#include "align/analysis_settings.h"
#include "align/phase_correlator.h"

#include <algorithm>
#include <cmath>

namespace align {

namespace {
// Two predictions closer than this share of the reach search the same place.
constexpr double kSamePlaceShare = 0.5;

// The recording read at `count` positions from `first`, `step` samples apart (Catmull-Rom
// interpolation; silence outside the recording).
std::vector<float> ReadStretched(const std::vector<float>& recording, double first, double step,
                                 int count) {
    std::vector<float> out(static_cast<std::size_t>(count), 0.0f);
    const long size = static_cast<long>(recording.size());
    auto sample = [&](long i) { return i >= 0 && i < size ? recording[i] : 0.0f; };
    for (int m = 0; m < count; ++m) {
        const double position = first + m * step;
        const long i = static_cast<long>(std::floor(position));
        const float t = static_cast<float>(position - i);
        const float p0 = sample(i - 1), p1 = sample(i), p2 = sample(i + 1), p3 = sample(i + 2);
        out[m] = p1 + 0.5f * t *
                          (p2 - p0 +
                           t * (2 * p0 - 5 * p1 + 4 * p2 - p3 + t * (3 * (p1 - p2) + p3 - p0)));
    }
    return out;
}

// Where the coarse matches near a window put its middle in the recording (samples), each
// place once.
std::vector<double> Predictions(const std::vector<Match>& coarse, double windowMiddle, double slope,
                                int rate, double reach) {
    std::vector<double> places;
    for (const Match& match : coarse) {
        if (std::abs(match.video - windowMiddle) > 1.5 * kChunkSeconds)
            continue;
        const double place = (match.recording + (windowMiddle - match.video) * slope) * rate;
        const bool known = std::any_of(places.begin(), places.end(), [&](double p) {
            return std::abs(p - place) < kSamePlaceShare * reach;
        });
        if (!known)
            places.push_back(place);
    }
    return places;
}
} // namespace

std::optional<std::vector<Match>> MatchWindows(const std::vector<float>& video,
                                               const std::vector<float>& recording, int rate,
                                               const std::vector<Match>& coarse, double slope,
                                               const ProgressSpan& progress) {
    const int window = static_cast<int>(kWindowSeconds * rate);
    const int step = static_cast<int>(kWindowStepSeconds * rate);
    const int reach = static_cast<int>(kWindowReachSeconds * rate);
    dsp::RealFft fft(PhaseCorrelator::SizeFor(window + 2 * reach, window, 0, 2 * reach));
    std::vector<Match> matches;
    for (long start = 0; start + window <= long(video.size()); start += step) {
        if (!progress(double(start) / video.size()))
            return std::nullopt;
        const double middle = (start + window / 2.0) / rate;
        std::optional<Match> best;
        for (double place : Predictions(coarse, middle, slope, rate, reach)) {
            const double centre = std::round(place);
            const double first = centre - (window / 2.0 + reach) * slope;
            if (first + (window + 2 * reach) * slope < 0 || first >= double(recording.size()))
                continue;
            const std::vector<float> target = ReadStretched(recording, first, slope, window + 2 * reach);
            PhaseCorrelator correlator(fft, target.data(), int(target.size()), 0, 2 * reach);
            const Peak peak = correlator.Find(video.data() + start, window, true);
            if (best && peak.confidence <= best->confidence)
                continue;
            best = Match{middle, (centre + (peak.lag - reach) * slope) / rate, peak.confidence};
        }
        if (best)
            matches.push_back(*best);
    }
    return matches;
}

} // namespace align
