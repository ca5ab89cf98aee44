#include "align/alignment.h"

#include "align/analysis_settings.h"
#include "align/coarse_search.h"
#include "align/point_proposals.h"
#include "align/window_matching.h"
#include "platform/dsp/mono_converter.h"
#include "platform/dsp/mono_sound.h"

namespace align {

namespace {
// Matches of the coarse search lie this close to their line (seconds): their own error is a
// fraction of a coarse sample.
constexpr double kCoarseOnLine = 0.003;

Alignment Refused(std::string reason) {
    Alignment result;
    result.reason = std::move(reason);
    return result;
}

Alignment Cancelled() {
    Alignment result = Refused("Cancelled.");
    result.cancelled = true;
    return result;
}

// The clocks' ratio as far as the coarse matches tell it; 1 when they do not agree on a line.
double CoarseSlope(const std::vector<Match>& coarse) {
    std::vector<int> all(coarse.size());
    for (int i = 0; i < int(coarse.size()); ++i)
        all[i] = i;
    const std::optional<Consensus> consensus = FindConsensus(coarse, all, kCoarseOnLine);
    return consensus ? consensus->fit.line.slope : 1.0;
}

std::string ReadFailure(const char* which, HRESULT hr) {
    if (hr == VFW_E_NOT_FOUND)
        return std::string("The ") + which + " has no sound to compare.";
    return std::string("The ") + which + " could not be read: " + core::StatusText(hr);
}
} // namespace

Alignment FindPoints(const std::string& videoPath, const std::string& soundPath,
                     const std::function<bool(double fraction)>& progress) {
    dsp::MonoSound video, recording;
    HRESULT hr = dsp::DecodeMonoSound(videoPath, kAnalysisRate, ProgressSpan(progress, 0, 0.3), &video);
    if (hr == E_ABORT)
        return Cancelled();
    if (FAILED(hr))
        return Refused(ReadFailure("video", hr));
    hr = dsp::DecodeMonoSound(soundPath, kAnalysisRate, ProgressSpan(progress, 0.3, 0.6), &recording);
    if (hr == E_ABORT)
        return Cancelled();
    if (FAILED(hr))
        return Refused(ReadFailure("recording", hr));

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
        result.reason = "The recording does not match the video's sound: too little of it was "
                        "found with confidence.";
    if (progress)
        progress(1.0);
    return result;
}

} // namespace align
