#include "align/alignment.h"

#include "align/analysis_settings.h"
#include "align/coarse_search.h"
#include "align/point_proposals.h"
#include "align/window_matching.h"
#include "platform/dsp/mono_converter.h"
#include "platform/dsp/mono_sound.h"

#include <algorithm>
#include <cmath>

namespace align {

namespace {
// Matches of the coarse search lie this close to their line (seconds): their own error is a
// fraction of a coarse sample.
constexpr double kCoarseOnLine = 0.003;

// Quieter than this at its loudest (about -60 dBFS), a sound holds nothing to compare: a
// recorder left running without its microphone, or a muted camera.
constexpr float kSilentPeak = 0.001f;

bool Silent(const dsp::MonoSound& sound) {
    return std::none_of(sound.samples.begin(), sound.samples.end(),
                        [](float sample) { return std::abs(sample) >= kSilentPeak; });
}

// The clocks' ratio as far as the coarse matches tell it; 1 when they do not agree on a line.
double CoarseSlope(const std::vector<Match>& coarse) {
    std::vector<int> all(coarse.size());
    for (int i = 0; i < int(coarse.size()); ++i)
        all[i] = i;
    const std::optional<Consensus> consensus = FindConsensus(coarse, all, kCoarseOnLine);
    return consensus ? consensus->fit.line.slope : 1.0;
}

Alignment ReadFailure(HRESULT hr, Refusal noSound, Refusal unreadable) {
    if (hr == VFW_E_NOT_FOUND)
        return Refused(noSound);
    return Refused(unreadable, core::StatusText(hr));
}
} // namespace

Alignment FindPoints(const std::string& videoPath, const std::string& soundPath,
                     const std::function<bool(double fraction)>& progress) {
    dsp::MonoSound video, recording;
    HRESULT hr = dsp::DecodeMonoSound(videoPath, kAnalysisRate, ProgressSpan(progress, 0, 0.3), &video);
    if (hr == E_ABORT)
        return Cancelled();
    if (FAILED(hr))
        return ReadFailure(hr, Refusal::VideoHasNoSound, Refusal::VideoUnreadable);
    if (Silent(video))
        return Refused(Refusal::VideoSilent);
    hr = dsp::DecodeMonoSound(soundPath, kAnalysisRate, ProgressSpan(progress, 0.3, 0.6), &recording);
    if (hr == E_ABORT)
        return Cancelled();
    if (FAILED(hr))
        return ReadFailure(hr, Refusal::RecordingHasNoSound, Refusal::RecordingUnreadable);
    if (Silent(recording))
        return Refused(Refusal::RecordingSilent);

    const std::optional<std::vector<Match>> coarse =
        SearchCoarsely(dsp::Resample(video.samples, kAnalysisRate, kCoarseRate),
                       dsp::Resample(recording.samples, kAnalysisRate, kCoarseRate), kCoarseRate,
                       ProgressSpan(progress, 0.6, 0.75));
    if (!coarse)
        return Cancelled();
    const std::optional<std::vector<Match>> windows =
        MatchWindows(video.samples, recording.samples, kAnalysisRate, *coarse, CoarseSlope(*coarse),
                     ProgressSpan(progress, 0.75, 0.98));
    if (!windows)
        return Cancelled();

    const std::vector<FittedSegment> segments = FitSegments(*windows);
    std::vector<JumpEdges> edges;
    for (std::size_t s = 0; s + 1 < segments.size(); ++s) {
        // From the start of the last window on the one line to the end of the first on the next.
        const double from = segments[s].LastVideo(*windows) - kWindowSeconds / 2;
        const double to = segments[s + 1].FirstVideo(*windows) + kWindowSeconds / 2;
        edges.push_back(LocateJump(video.samples, recording.samples, kAnalysisRate,
                                   segments[s].fit.line, segments[s + 1].fit.line, from, to));
    }
    Alignment result = ProposePoints(segments, edges, video.Seconds(), recording.Seconds());
    if (!result.matched)
        result.refusal = Refusal::NoMatch;
    if (progress)
        progress(1.0);
    return result;
}

} // namespace align
