#pragma once
// Straight lines through matches (recording time against video time): a least-squares fit,
// and a consensus fit that finds the line most matches agree on and ignores the rest.
#include "align/match.h"

#include <optional>
#include <vector>

namespace align {

struct Line {
    double intercept = 0; // recording seconds at video time 0
    double slope = 1;
    double At(double video) const { return intercept + slope * video; }
    double VideoAt(double recording) const { return (recording - intercept) / slope; }
};

struct LineFit {
    Line line;
    double residual = 0;     // the residuals' standard deviation, seconds
    double meanVideo = 0;
    double videoSpread = 0;  // sum of squared video distances from their mean
    int count = 0;
    // The standard error of the line's recording time at a video time.
    double ErrorAt(double video) const;
};

// Least squares through the chosen matches; nothing for fewer than two distinct video times.
std::optional<LineFit> FitLine(const std::vector<Match>& matches, const std::vector<int>& chosen);

// The line through most of the candidates (indices into matches) to within `tolerance`
// seconds, with a slope within kMaxDriftPpm of 1, refitted by least squares on them; and
// which candidates lie on it. Deterministic: the same input gives the same line.
struct Consensus {
    LineFit fit;
    std::vector<int> members;
};
std::optional<Consensus> FindConsensus(const std::vector<Match>& matches,
                                       const std::vector<int>& candidates, double tolerance);
// The same with `trials` pairs tried, for candidates of which only a small share can be right,
// and slopes within `maxDriftPpm` of 1.
std::optional<Consensus> FindConsensus(const std::vector<Match>& matches,
                                       const std::vector<int>& candidates, double tolerance,
                                       int trials, double maxDriftPpm);

} // namespace align
