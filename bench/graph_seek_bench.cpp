// Times the filter graph on one clip: from RenderFile to the first picture shown, and exact
// seeks while paused (each returns once the picture at the target is showing). Prints the
// figures and the seek targets, so a script can time the ffmpeg command on the same targets.
//
//   graph_seek_bench <clip> [seeks=20] [seed=1]
#include "platform/graph/filter_graph.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <clip> [seeks] [seed]\n", argv[0]);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int seeks = argc > 2 ? std::atoi(argv[2]) : 20;
    std::mt19937 random(argc > 3 ? std::atoi(argv[3]) : 1);

    QWidget owner;
    owner.resize(640, 360);
    const auto opening = std::chrono::steady_clock::now();
    graph::FilterGraph graph;
    if (FAILED(graph.RenderFile(argv[1]))) {
        std::fprintf(stderr, "cannot render %s\n", argv[1]);
        return 1;
    }
    graph::IMediaControl* control = nullptr;
    graph::IMediaSeeking* seeking = nullptr;
    graph::IVideoWindow* window = nullptr;
    graph.QueryInterface(&control);
    graph.QueryInterface(&seeking);
    graph.QueryInterface(&window);
    window->put_Owner(&owner);
    control->Pause();
    const double open = Milliseconds(opening);

    REFERENCE_TIME duration = 0;
    seeking->GetDuration(&duration);
    std::uniform_int_distribution<REFERENCE_TIME> pick(
        0, std::max<REFERENCE_TIME>(duration - UNITS, 0));
    std::vector<double> times;
    std::printf("targets");
    for (int i = 0; i < seeks; ++i) {
        REFERENCE_TIME target = pick(random);
        std::printf(" %.7f", static_cast<double>(target) / UNITS);
        const auto start = std::chrono::steady_clock::now();
        seeking->SetPositions(&target, graph::AM_SEEKING_AbsolutePositioning, nullptr,
                              graph::AM_SEEKING_NoPositioning);
        times.push_back(Milliseconds(start));
    }
    std::printf("\n");
    std::sort(times.begin(), times.end());
    std::printf("open_to_first_frame_ms %.1f\n", open);
    std::printf("exact_seek_median_ms %.1f\n", times[times.size() / 2]);
    control->Stop();
    return 0;
}
