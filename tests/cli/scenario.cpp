#include "scenario.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

namespace clitest {
namespace {

using Shape = Scenario::Shape;
using Points = Scenario::Points;

// Frames 2m and 2m+1 of the variable-rate clip start at 11m/150 s and (11m+6)/150 s.
double VariableFrameStart(int n) {
    return std::round(((n / 2) * 11 + (n % 2) * 6) / 150.0 * 1000) / 1000;
}

// The frame nearest to t, and its start.
int FrameNear(const Scenario& s, double t, double* start) {
    if (s.fps > 0) {
        const int n = static_cast<int>(std::lround(t * s.fps));
        *start = n / s.fps;
        return n;
    }
    int n = static_cast<int>(t * 150 / 5.5);
    while (VariableFrameStart(n + 1) <= t)
        ++n;
    *start = VariableFrameStart(n);
    return n;
}

REFERENCE_TIME Units(double seconds) {
    return std::llround(seconds * UNITS);
}

} // namespace

double Scenario::AudioOf(double v) const {
    const double before = offset + v * (1 + drift);
    switch (shape) {
    case Shape::Straight:
        return before;
    case Shape::Bend:
        return v < corner ? before : offset + corner * (1 + drift) + (v - corner) * (1 + drift2);
    case Shape::Pause:
        if (v <= corner)
            return before;
        if (v < corner + pause)
            return std::numeric_limits<double>::quiet_NaN();
        return offset + corner * (1 + drift) + (v - corner - pause) * (1 + drift);
    }
    return before;
}

Scenario DrawScenario(std::uint32_t seed) {
    std::mt19937 random(seed);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    Scenario s;
    s.seed = seed;
    s.fps = std::vector<double>{24000.0 / 1001, 25, 30000.0 / 1001, 50, 0}[pick(5)];
    s.sampleRate = pick(2) ? 48000 : 44100;
    s.channels = 1 + pick(2);
    s.offset = uniform(-0.5, 0.5);
    s.drift = uniform(-0.05, 0.05);
    s.shape = static_cast<Shape>(pick(2) ? 0 : 1 + pick(2));
    s.points = static_cast<Points>(pick(4));
    // Found points keep to one straight map, as do four times without points.
    if (s.points == Points::Found || s.points == Points::TimesOnly)
        s.shape = Shape::Straight;
    s.container = s.fps > 0 ? std::vector<std::string>{"avi", "mkv", "mp4", "wmv"}[pick(4)]
                            : std::vector<std::string>{"avi", "mkv"}[pick(2)];
    // AVI keeps no showing times, so a variable rate is not copied into it.
    s.copyPicture = s.container != "wmv" && !(s.fps == 0 && s.container == "avi") && pick(3) == 0;
    s.keepPitch = pick(3) == 0;
    s.corner = uniform(4.5, 5.5);
    s.drift2 = uniform(-0.05, 0.05);
    s.pause = uniform(0.6, 1.2);

    // Where the sound exists and a click has room: from 0.15 s into it to 0.15 s before its end.
    const auto clickFits = [&](double v) {
        const double a = s.AudioOf(v);
        return std::isfinite(a) && a > 0.15 && a < s.seconds - 0.15;
    };
    // The pause and the half second either side hold no flash: they lie between the points
    // around it, whose stretch is composed as silence.
    const auto nearPause = [&](double v) {
        return s.shape == Shape::Pause && v > s.corner - 0.6 && v < s.corner + s.pause + 0.6;
    };
    s.recipe.seconds = s.seconds;
    s.recipe.fps = s.fps;
    s.recipe.sampleRate = s.sampleRate;
    s.recipe.channels = s.channels;
    s.recipe.clickOf = [s](double v) { return s.AudioOf(v); };
    // Coded as a camera codes, with CABAC and B-frames; but none where the picture is copied
    // into AVI, which keeps no showing times, nor for a variable rate, whose delay Matroska
    // has no edit list to hide (its frames keep the times they were made with).
    const int gop = static_cast<int>(std::lround(s.fps > 0 ? s.fps : 27));
    const bool bFrames = s.fps > 0 && !(s.copyPicture && s.container == "avi");
    s.recipe.coding = {s.fps > 0 ? "mov" : "mkv",
                       {"-c:v", "libx264", "-preset", "fast", "-bf", bFrames ? "2" : "0", "-g",
                        std::to_string(gop), "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "192k"}};
    if (s.fps == 0)
        s.recipe.coding.arguments.insert(s.recipe.coding.arguments.begin(),
                                         {"-fps_mode", "passthrough", "-enc_time_base:v", "1/150"});
    std::vector<double> flashes;
    for (double t = uniform(0.3, 0.9); t < s.seconds - 0.3; t += uniform(0.7, 1.3)) {
        double start = 0;
        const int frame = FrameNear(s, t, &start);
        if (clickFits(start) && !nearPause(start)) {
            s.recipe.flashFrames.push_back(frame);
            flashes.push_back(start);
        }
    }

    // Points on the map: some on a flash, some anywhere; corners where the map turns.
    std::vector<double> at;
    const auto pointNear = [&](double t) {
        const auto flash = std::min_element(flashes.begin(), flashes.end(), [t](double a, double b) {
            return std::abs(a - t) < std::abs(b - t);
        });
        return flash != flashes.end() && pick(2) && std::abs(*flash - t) < 0.7 ? *flash : t;
    };
    at = {pointNear(uniform(1.5, 2.5)), pointNear(uniform(3.0, 3.8)),
          pointNear(uniform(6.6, 7.4)), pointNear(uniform(8.0, 8.8))};
    if (s.shape == Shape::Bend)
        at.push_back(s.corner);
    // Points keep clear of each other, and of the pause but for the two around it, which
    // always stay: the stretch between them is composed as silence.
    std::vector<double> kept;
    if (s.shape == Shape::Pause)
        kept = {s.corner - 0.3, s.corner + s.pause + 0.3};
    for (double v : at) {
        const bool clear = std::all_of(kept.begin(), kept.end(),
                                       [v](double other) { return std::abs(v - other) > 0.4; });
        if (clear && clickFits(v) && !nearPause(v))
            kept.push_back(v);
    }
    std::sort(kept.begin(), kept.end());
    at = kept;
    for (double v : at)
        s.syncPoints.push_back({Units(v), Units(s.AudioOf(v))});

    // A start and an end anywhere the sound reaches, between frames included.
    double low = 0.05;
    while (!clickFits(low))
        low += 0.01;
    double high = s.seconds - 0.05;
    while (!clickFits(high))
        high -= 0.01;
    if (s.points == Points::List || s.points == Points::TimesOnly) {
        s.videoStart = uniform(low, std::min(low + 1.2, at.empty() ? 1.4 : at.front() - 0.05));
        s.videoEnd = uniform(std::max(high - 1.2, at.empty() ? 8.6 : at.back() + 0.05), high);
        // A click at the output's very first sample has no edge to be measured by.
        for (double flash : flashes) {
            if (flash >= s.videoStart && flash - s.videoStart < 0.1)
                s.videoStart = flash - 0.1;
        }
    }
    return s;
}

std::vector<avsync::SyncPoint> Scenario::ListedPoints() const {
    std::vector<avsync::SyncPoint> listed = syncPoints;
    for (avsync::SyncPoint& point : listed) {
        point.videoTime -= Units(fileStart);
        point.audioTime -= Units(fileStart);
    }
    return listed;
}

QStringList Scenario::Arguments(const QString& listPath) const {
    QStringList arguments;
    if (points == Points::List || points == Points::Calculate)
        arguments << "--sync-list" << listPath;
    if (points == Points::Calculate)
        arguments << "--calculate";
    if (points == Points::Found)
        arguments << "--auto-points";
    const auto seconds = [this](double t) { return QString::number(t - fileStart, 'f', 7); };
    if (videoStart >= 0) {
        arguments << "--video-start" << seconds(videoStart);
        arguments << "--audio-start" << seconds(AudioOf(videoStart));
    }
    if (videoEnd >= 0)
        arguments << "--video-end" << seconds(videoEnd) << "--audio-end"
                  << seconds(AudioOf(videoEnd));
    if (container == "avi")
        arguments << "--video-encoder" << (copyPicture ? "copy" : "mpeg4") << "--audio-encoder"
                  << "none";
    else if (container == "mkv")
        arguments << "--muxer" << "matroska" << "--video-encoder"
                  << (copyPicture ? "copy" : "libx264") << "--audio-encoder" << "none";
    else if (container == "mp4")
        arguments << "--muxer" << "mp4" << "--video-encoder" << (copyPicture ? "copy" : "libx264")
                  << "--audio-encoder" << "alac";
    if (keepPitch)
        arguments << "--keep-pitch";
    return arguments;
}

std::string Scenario::Describe() const {
    std::ostringstream text;
    const char* shapes[] = {"straight", "bend", "pause"};
    const char* ways[] = {"list", "calculate", "found", "times"};
    text << "seed " << seed << ": " << (fps > 0 ? std::to_string(fps) : "variable") << " fps, "
         << sampleRate << " Hz x" << channels << ", offset " << offset << ", drift " << drift
         << ", " << shapes[static_cast<int>(shape)] << ", points by " << ways[static_cast<int>(points)]
         << " (" << syncPoints.size() << "), " << container << (copyPicture ? " copied" : "")
         << (keepPitch ? ", pitch kept" : "") << ", start " << videoStart << ", end " << videoEnd;
    return text.str();
}

} // namespace clitest
