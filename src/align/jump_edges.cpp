#include "align/jump_edges.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace align {

namespace {
// Frames short enough to place an edge closely, long enough to hold a sound; they overlap,
// so an edge is placed to a fraction of a frame.
constexpr double kFrameSeconds = 0.02;
constexpr double kFrameStepSeconds = 0.005;
// The normalized correlation a frame must pass to count for a line: frames of unrelated sound
// scatter around 0, frames of the same sound stand well above it even through noise.
constexpr double kAgreement = 0.2;
// A recording frame with less than this share of the frames' mean power is taken as silence.
constexpr double kAudible = 0.1;

struct Frames {
    long first = 0; // video sample where frame 0 begins
    int count = 0;
    int length = 0; // samples
    int step = 0;
    double Start(int f, int rate) const { return double(first + long(f) * step) / rate; }
};

// How far each frame's agreement with the recording where `line` puts it (normalized
// correlation, -1..1) passes kAgreement; 0 where the recording is too quiet there to tell
// (against the camera's noise anything agrees as little as unrelated sound).
std::vector<double> ExcessAgreement(const std::vector<float>& video, const std::vector<float>& recording,
                                    int rate, const Line& line, const Frames& frames) {
    std::vector<double> agreement(static_cast<std::size_t>(frames.count), 0.0);
    std::vector<double> level(static_cast<std::size_t>(frames.count), 0.0);
    for (int f = 0; f < frames.count; ++f) {
        const long start = frames.first + long(f) * frames.step;
        const long there = std::lround(line.At(double(start) / rate) * rate);
        if (start < 0 || start + frames.length > long(video.size()) || there < 0 ||
            there + frames.length > long(recording.size()))
            continue;
        double vv = 0, rr = 0, vr = 0;
        for (int i = 0; i < frames.length; ++i) {
            const double v = video[start + i], r = recording[there + i];
            vv += v * v;
            rr += r * r;
            vr += v * r;
        }
        level[f] = rr;
        if (vv > 0 && rr > 0)
            agreement[f] = vr / std::sqrt(vv * rr) - kAgreement;
    }
    const double mean = std::accumulate(level.begin(), level.end(), 0.0) / frames.count;
    for (int f = 0; f < frames.count; ++f)
        if (level[f] < kAudible * mean)
            agreement[f] = 0;
    return agreement;
}

// The frame where the running sum of the frames' excess agreement, taken from frame `from`
// towards frame `to` (exclusive, either direction), peaks; `from` itself when it never rises.
int LastAgreeing(const std::vector<double>& excess, int from, int to) {
    const int direction = to > from ? 1 : -1;
    int last = -1;
    double sum = 0, best = 0;
    for (int f = from; f != to; f += direction) {
        sum += excess[f];
        if (sum > best) {
            best = sum;
            last = f;
        }
    }
    return last < 0 ? from : last;
}
} // namespace

JumpEdges LocateJump(const std::vector<float>& video, const std::vector<float>& recording, int rate,
                     const Line& before, const Line& after, double from, double to) {
    Frames frames;
    frames.first = std::lround(from * rate);
    frames.length = static_cast<int>(kFrameSeconds * rate);
    frames.step = static_cast<int>(kFrameStepSeconds * rate);
    frames.count = std::max(1, static_cast<int>(((to - from) * rate - frames.length) / frames.step) + 1);
    const std::vector<double> a = ExcessAgreement(video, recording, rate, before, frames);
    const std::vector<double> b = ExcessAgreement(video, recording, rate, after, frames);
    // A frame that straddles an edge agrees in part and may count; so the segment before
    // ends where its last counting frame begins, and the one after begins where its first
    // counting frame ends: both edges stay on their own side.
    const double frameSeconds = double(frames.length) / rate;
    JumpEdges edges{frames.Start(LastAgreeing(a, 0, frames.count), rate),
                    frames.Start(LastAgreeing(b, frames.count - 1, -1), rate) + frameSeconds};
    // Edges that cross (a jump at one video instant, seen through noise) meet halfway.
    if (edges.before > edges.after)
        edges.before = edges.after = (edges.before + edges.after) / 2;
    return edges;
}

} // namespace align
