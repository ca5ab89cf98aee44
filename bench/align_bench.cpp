// Times the whole automatic search (decoding both files, the coarse and the fine matching, the
// fit) on a video and a recording: align_bench <video> <recording> [runs]. Prints the median
// time as "analysis_ms <ms>" and what the last run found.
#include "align/alignment.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: align_bench <video> <recording> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    std::vector<double> times;
    align::Alignment found;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        found = align::FindPoints(argv[1], argv[2], nullptr);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("analysis_ms %.0f\n", times[times.size() / 2]);
    std::printf("matched %d\npoints %zu\nsegments %zu\ndrift_ppm %.3f\noffset_s %.6f\n", found.matched ? 1 : 0,
                found.points.size(), found.segments.size(), found.driftPpm, double(found.offset) / UNITS);
    if (!found.matched)
        std::printf("refusal %d %s\n", static_cast<int>(found.refusal), found.detail.c_str());
    return found.matched ? 0 : 1;
}
