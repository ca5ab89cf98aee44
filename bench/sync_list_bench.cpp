// Times loading one synchronization-list file, as Load sync list reads it. Prints the median
// wall time in milliseconds and the number of points read.
//
//   sync_list_bench <list.ini> [runs=3]
#include "sync/sync_list_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <list.ini> [runs=3]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::vector<double> milliseconds;
    std::size_t points = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const avsync::LoadedSyncList list = avsync::LoadSyncList(argv[1]);
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        points = list.points.size();
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("load_ms %.1f\npoints %zu\n", milliseconds[milliseconds.size() / 2], points);
    return 0;
}
