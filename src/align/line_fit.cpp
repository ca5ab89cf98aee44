#include "align/line_fit.h"

#include "align/analysis_settings.h"

#include <cmath>
#include <random>

namespace align {

namespace {
// Pairs tried for a consensus; with a good share of matches on the line, a few hundred
// make missing it vanishingly unlikely.
constexpr int kTrials = 400;
// Two matches closer than this in video time give a poorly defined slope.
constexpr double kShortestBaseSeconds = 1.0;
// Least-squares rounds that take in the matches near the refitted line.
constexpr int kRefitRounds = 3;

std::vector<int> MembersOf(const std::vector<Match>& matches, const std::vector<int>& candidates,
                           const Line& line, double tolerance) {
    std::vector<int> members;
    for (int i : candidates)
        if (std::abs(matches[i].recording - line.At(matches[i].video)) <= tolerance)
            members.push_back(i);
    return members;
}
} // namespace

double LineFit::ErrorAt(double video) const {
    if (count < 3 || videoSpread <= 0)
        return residual;
    const double away = video - meanVideo;
    return residual * std::sqrt(1.0 / count + away * away / videoSpread);
}

std::optional<LineFit> FitLine(const std::vector<Match>& matches, const std::vector<int>& chosen) {
    if (chosen.size() < 2)
        return std::nullopt;
    double meanX = 0, meanY = 0;
    for (int i : chosen) {
        meanX += matches[i].video;
        meanY += matches[i].recording;
    }
    meanX /= chosen.size();
    meanY /= chosen.size();
    double xx = 0, xy = 0;
    for (int i : chosen) {
        const double dx = matches[i].video - meanX;
        xx += dx * dx;
        xy += dx * (matches[i].recording - meanY);
    }
    if (xx <= 0)
        return std::nullopt;
    LineFit fit;
    fit.line.slope = xy / xx;
    fit.line.intercept = meanY - fit.line.slope * meanX;
    fit.meanVideo = meanX;
    fit.videoSpread = xx;
    fit.count = static_cast<int>(chosen.size());
    double squares = 0;
    for (int i : chosen) {
        const double r = matches[i].recording - fit.line.At(matches[i].video);
        squares += r * r;
    }
    fit.residual = chosen.size() > 2 ? std::sqrt(squares / (chosen.size() - 2)) : 0.0;
    return fit;
}

std::optional<Consensus> FindConsensus(const std::vector<Match>& matches,
                                       const std::vector<int>& candidates, double tolerance) {
    return FindConsensus(matches, candidates, tolerance, kTrials, kMaxDriftPpm);
}

std::optional<Consensus> FindConsensus(const std::vector<Match>& matches,
                                       const std::vector<int>& candidates, double tolerance,
                                       int trials, double maxDriftPpm) {
    if (candidates.size() < 2)
        return std::nullopt;
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, candidates.size() - 1);
    std::vector<int> best;
    for (int trial = 0; trial < trials; ++trial) {
        const Match& a = matches[candidates[pick(random)]];
        const Match& b = matches[candidates[pick(random)]];
        if (std::abs(b.video - a.video) < kShortestBaseSeconds)
            continue;
        Line line;
        line.slope = (b.recording - a.recording) / (b.video - a.video);
        if (std::abs(line.slope - 1) > maxDriftPpm * 1e-6)
            continue;
        line.intercept = a.recording - line.slope * a.video;
        std::vector<int> members = MembersOf(matches, candidates, line, tolerance);
        if (members.size() > best.size())
            best = std::move(members);
    }
    std::optional<LineFit> fit = FitLine(matches, best);
    for (int round = 0; fit && round < kRefitRounds; ++round) {
        best = MembersOf(matches, candidates, fit->line, tolerance);
        fit = FitLine(matches, best);
    }
    if (!fit)
        return std::nullopt;
    return Consensus{*fit, best};
}

} // namespace align
