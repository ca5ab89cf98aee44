#include "align/coarse_search.h"

#include "align/analysis_settings.h"
#include "align/phase_correlator.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace align {

namespace {
// A chunk shorter than this share of a full one (the video's tail) is not searched.
constexpr double kShortestChunkShare = 0.25;
// How far a prediction may be off, before the clocks' drift since it was made is added.
constexpr double kPredictionMarginSeconds = 0.5;

struct Tracker {
    const std::vector<float>& video;
    const std::vector<float>& recording;
    int rate;
    std::unique_ptr<PhaseCorrelator> whole; // over the whole recording, made when first needed
    bool known = false;
    long offset = 0;      // recording sample minus video sample, from the last chunk found
    long foundAt = 0;     // the video sample that chunk began at

    std::optional<Match> Near(long start, int count) const {
        const long margin = static_cast<long>(kPredictionMarginSeconds * rate +
                                              2 * kMaxDriftPpm * 1e-6 * (start - foundAt));
        const long from = start + offset - margin;
        std::vector<float> target(static_cast<std::size_t>(count + 2 * margin), 0.0f);
        for (long i = 0; i < long(target.size()); ++i)
            if (from + i >= 0 && from + i < long(recording.size()))
                target[i] = recording[from + i];
        PhaseCorrelator correlator(target.data(), int(target.size()), count, 0, int(2 * margin));
        const Peak peak = correlator.Find(video.data() + start, count, false);
        if (peak.confidence < kLocalConfidence)
            return std::nullopt;
        return MatchOf(start, count, from + peak.lag, peak.confidence);
    }

    std::optional<Match> Anywhere(long start, int count, int chunk) {
        if (!whole)
            whole = std::make_unique<PhaseCorrelator>(recording.data(), int(recording.size()), chunk,
                                                      -chunk / 2, int(recording.size()) - chunk / 2);
        const Peak peak = whole->Find(video.data() + start, count, false);
        if (peak.confidence < kGlobalConfidence)
            return std::nullopt;
        return MatchOf(start, count, peak.lag, peak.confidence);
    }

    Match MatchOf(long start, int count, double recordingStart, double confidence) const {
        return Match{(start + count / 2.0) / rate, (recordingStart + count / 2.0) / rate, confidence};
    }
};
} // namespace

std::optional<std::vector<Match>> SearchCoarsely(const std::vector<float>& video,
                                                 const std::vector<float>& recording, int rate,
                                                 const ProgressSpan& progress) {
    std::vector<Match> found;
    const int chunk = static_cast<int>(kChunkSeconds * rate);
    if (recording.size() < std::size_t(chunk * kShortestChunkShare))
        return found;
    Tracker tracker{video, recording, rate, nullptr};
    for (long start = 0; start + chunk * kShortestChunkShare <= double(video.size()); start += chunk) {
        if (!progress(double(start) / video.size()))
            return std::nullopt;
        const int count = static_cast<int>(std::min<long>(chunk, long(video.size()) - start));
        std::optional<Match> match;
        if (tracker.known)
            match = tracker.Near(start, count);
        if (!match)
            match = tracker.Anywhere(start, count, chunk);
        if (!match)
            continue;
        found.push_back(*match);
        tracker.known = true;
        tracker.offset = std::lround((match->recording - match->video) * rate);
        tracker.foundAt = start;
    }
    return found;
}

} // namespace align
