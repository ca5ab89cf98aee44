#pragma once
// The sync view's time line: which video instant each horizontal pixel shows, from the whole
// file down to a few pixels a sample. A plain value the view keeps on the window's thread.
#include <algorithm>
#include <cmath>

namespace syncview {

struct TimeAxis {
    double start = 0; // seconds at the left edge
    double secondsPerPixel = 0.01;

    double TimeAt(double x) const { return start + x * secondsPerPixel; }
    double XAt(double seconds) const { return (seconds - start) / secondsPerPixel; }
    // Zooms by `factor` (above 1: closer) keeping the instant under `x` where it is, within
    // [finest, coarsest] seconds a pixel.
    void Zoom(double factor, double x, double finest, double coarsest) {
        const double anchor = TimeAt(x);
        secondsPerPixel = std::clamp(secondsPerPixel / factor, finest, coarsest);
        start = anchor - x * secondsPerPixel;
    }
    // Keeps `seconds` in view, scrolling by whole screens' halves when it leaves.
    void Follow(double seconds, double width) {
        const double x = XAt(seconds);
        if (x < 0 || x > width)
            start = seconds - width / 2 * secondsPerPixel;
    }
};

} // namespace syncview
