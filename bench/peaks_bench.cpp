// The sync view's sound analysis of one file: the waveform pyramid and the onsets from one
// decoding pass, timed over several runs, and the pyramid's answer for a view 1920 columns
// wide at zooms from the finest pair to the whole sound.
//
//   peaks_bench FILE [RUNS]
// prints "analysis_ms <median>", "peaks_bytes", "onsets", "samples" and "columns_us <samples a
// column> <median>" lines.
#include "syncview/sound_analysis.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: peaks_bench FILE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::vector<double> times;
    syncview::SoundPicture picture;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        picture = syncview::AnalyseSound(argv[1], nullptr);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (FAILED(picture.status)) {
            std::fprintf(stderr, "cannot read %s\n", argv[1]);
            return 1;
        }
    }
    std::printf("analysis_ms %.0f\n", Median(times));
    std::printf("peaks_bytes %zu\nonsets %zu\nsamples %lld\n", picture.peaks.Bytes(),
                picture.onsets.size(), static_cast<long long>(picture.peaks.Samples()));

    constexpr int kColumns = 1920;
    std::vector<syncview::PeakColumn> columns(kColumns);
    const double whole = double(picture.peaks.Samples()) / kColumns;
    for (const double perColumn : {64.0, 1000.0, 48000.0, whole}) {
        std::vector<double> micros;
        for (int repeat = 0; repeat < 51; ++repeat) {
            // Scrolling: each repaint starts elsewhere.
            const double first =
                double(repeat) / 51 * std::max(0.0, picture.peaks.Samples() - perColumn * kColumns);
            const auto start = Clock::now();
            picture.peaks.Columns(first, perColumn, columns);
            micros.push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        }
        std::printf("columns_us %.0f %.1f\n", perColumn, Median(micros));
    }
    return 0;
}
