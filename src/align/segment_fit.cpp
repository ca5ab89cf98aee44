#include "align/segment_fit.h"

#include "align/analysis_settings.h"

#include <algorithm>

namespace align {

namespace {
// Windows on a line lie this close to it (seconds): correlation peaks from reflections or
// repeated sounds miss by many milliseconds; the windows' own error is a few microseconds.
constexpr double kOnLine = 0.001;

// The windows found clearly enough to count.
std::vector<int> Confident(const std::vector<Match>& matches) {
    std::vector<int> chosen;
    for (int i = 0; i < int(matches.size()); ++i)
        if (matches[i].confidence >= kWindowConfidence)
            chosen.push_back(i);
    return chosen;
}

// Labels each confident window with the line it lies on (or -1): the lines are found one
// after another, each among the windows no earlier line took.
std::vector<int> LabelByLines(const std::vector<Match>& matches, const std::vector<int>& confident) {
    std::vector<int> label(matches.size(), -1);
    std::vector<int> open = confident;
    for (int line = 0;; ++line) {
        const std::optional<Consensus> consensus = FindConsensus(matches, open, kOnLine);
        if (!consensus || int(consensus->members.size()) < kMinSegmentWindows)
            return label;
        for (int i : consensus->members)
            label[i] = line;
        std::erase_if(open, [&](int i) { return label[i] >= 0; });
    }
}

// Runs of windows with the same label, in video order (labelled windows only).
std::vector<std::vector<int>> Runs(const std::vector<int>& confident, const std::vector<int>& label) {
    std::vector<std::vector<int>> runs;
    for (int i : confident) {
        if (label[i] < 0)
            continue;
        if (runs.empty() || label[runs.back().front()] != label[i])
            runs.emplace_back();
        runs.back().push_back(i);
    }
    return runs;
}
} // namespace

std::vector<FittedSegment> FitSegments(const std::vector<Match>& matches) {
    const std::vector<int> confident = Confident(matches);
    std::vector<int> label = LabelByLines(matches, confident);
    // A short run inside another line's stretch is chance; without it its neighbours may join.
    for (const std::vector<int>& run : Runs(confident, label))
        if (int(run.size()) < kMinSegmentWindows)
            for (int i : run)
                label[i] = -1;
    std::vector<FittedSegment> segments;
    for (std::vector<int>& run : Runs(confident, label)) {
        std::optional<LineFit> fit = FitLine(matches, run);
        if (!fit)
            continue;
        const double first = matches[run.front()].video, last = matches[run.back()].video;
        const auto within = std::count_if(confident.begin(), confident.end(), [&](int i) {
            return matches[i].video >= first && matches[i].video <= last;
        });
        FittedSegment segment{*fit, std::move(run), 0.0};
        segment.agreement = double(segment.members.size()) / double(within);
        segments.push_back(std::move(segment));
    }
    return segments;
}

} // namespace align
