#include "align/point_proposals.h"

#include <algorithm>
#include <cmath>

namespace align {

namespace {
// About one point inside a segment per this many seconds, at least one and at most a few.
constexpr double kSecondsPerInnerPoint = 60;
constexpr int kMostInnerPoints = 8;
// The map's estimated error that halves a point's confidence.
constexpr double kErrorScale = 1e-4;

REFERENCE_TIME Units(double seconds) {
    return static_cast<REFERENCE_TIME>(std::llround(seconds * UNITS));
}

double PpmOf(double slope) {
    return (slope - 1) * 1e6;
}

// One slope for all segments (the same two clocks), each keeping its own offset.
double CommonSlope(const std::vector<FittedSegment>& segments) {
    double weighted = 0, spread = 0;
    for (const FittedSegment& segment : segments) {
        weighted += segment.fit.line.slope * segment.fit.videoSpread;
        spread += segment.fit.videoSpread;
    }
    return spread > 0 ? weighted / spread : segments.front().fit.line.slope;
}

ProposedPoint PointAt(const FittedSegment& segment, double video) {
    const double error = segment.fit.ErrorAt(video) / kErrorScale;
    return ProposedPoint{Units(video), Units(segment.fit.line.At(video)),
                         segment.agreement / (1 + error * error)};
}
} // namespace

Alignment ProposePoints(const std::vector<FittedSegment>& segments,
                        const std::vector<JumpEdges>& edges, double videoSeconds,
                        double recordingSeconds) {
    Alignment result;
    if (segments.empty())
        return result;
    for (std::size_t s = 0; s < segments.size(); ++s) {
        const Line& line = segments[s].fit.line;
        // Where the line stays within both files.
        double from = std::max(0.0, line.VideoAt(0));
        double to = std::min(videoSeconds, line.VideoAt(recordingSeconds));
        if (s > 0)
            from = std::max(from, edges[s - 1].after);
        if (s + 1 < segments.size())
            to = std::min(to, edges[s].before);
        if (to <= from)
            continue;
        result.segments.push_back(Segment{Units(from), Units(to), PpmOf(line.slope), Units(line.intercept)});
        const int inner = std::clamp(static_cast<int>(std::lround((to - from) / kSecondsPerInnerPoint)), 1,
                                     kMostInnerPoints);
        for (int p = 0; p <= inner + 1; ++p)
            result.points.push_back(PointAt(segments[s], from + (to - from) * p / (inner + 1)));
        if (s + 1 < segments.size())
            result.jumps.push_back(Jump{Units(edges[s].before), Units(edges[s].after),
                                        Units(line.At(edges[s].before)),
                                        Units(segments[s + 1].fit.line.At(edges[s].after))});
    }
    result.matched = !result.segments.empty();
    result.driftPpm = PpmOf(CommonSlope(segments));
    result.offset = result.matched ? result.segments.front().offset : 0;
    return result;
}

Alignment Refused(Refusal refusal, std::string detail) {
    Alignment result;
    result.refusal = refusal;
    result.detail = std::move(detail);
    return result;
}

Alignment Cancelled() {
    Alignment result;
    result.cancelled = true;
    return result;
}

void KeepPointsInside(Alignment& found, REFERENCE_TIME videoLength, REFERENCE_TIME soundLength) {
    // A point past the last picture moves back to it along the last segment's line.
    const double rate =
        1 + (found.segments.empty() ? found.driftPpm : found.segments.back().driftPpm) * 1e-6;
    for (ProposedPoint& point : found.points) {
        if (point.video > videoLength) {
            point.audio -= std::llround(static_cast<double>(point.video - videoLength) * rate);
            point.video = videoLength;
        }
    }
    std::erase_if(found.points, [&](const ProposedPoint& point) {
        return point.video < 0 || point.audio < 0 || point.audio > soundLength;
    });
    const auto sameTime = [](const ProposedPoint& a, const ProposedPoint& b) {
        return a.video == b.video;
    };
    found.points.erase(std::unique(found.points.begin(), found.points.end(), sameTime),
                       found.points.end());
}

} // namespace align
