#pragma once
// Whole conversions drawn from a seed: a clip made with flashes and the clicks that belong to
// them on a known map from picture to sound (an offset, a drift, perhaps a bend or a
// recorder's pause), the way its points and times are given, and the file written. The same
// seed always draws the same scenario.
#include "support/drift_fixtures.h"
#include "sync/sync_state.h"

#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

namespace clitest {

struct Scenario {
    enum class Shape { Straight, Bend, Pause };
    enum class Points { List, Calculate, Found, TimesOnly };

    std::uint32_t seed = 0;
    double fps = 25; // 0: a variable frame rate
    int sampleRate = 48000;
    int channels = 2;
    double offset = 0; // the sound's time at video 0, seconds
    double drift = 0;
    Shape shape = Shape::Straight;
    double corner = 0;     // the bend's or the pause's video time
    double drift2 = 0;     // after the bend
    double pause = 0;      // video seconds the sound recorder missed
    Points points = Points::List;
    std::string container; // avi, mkv, mp4, wmv
    bool copyPicture = false;
    bool keepPitch = false;
    double seconds = 10;
    std::vector<avsync::SyncPoint> syncPoints; // in the streams' own times
    double videoStart = -1, videoEnd = -1;     // given when not negative
    // Where the clip's file starts in the times it was made with (a writer may have shifted
    // its streams): the times the program is given count from there.
    double fileStart = 0;
    testsupport::ClipRecipe recipe;

    // The sound instant of video instant v (seconds); NaN where the recorder was paused.
    double AudioOf(double v) const;
    std::string Describe() const;
    // The points as the program takes them: counted from the file's start.
    std::vector<avsync::SyncPoint> ListedPoints() const;
    // quillet-convert's arguments after the input and before -o.
    QStringList Arguments(const QString& listPath) const;
};

Scenario DrawScenario(std::uint32_t seed);

} // namespace clitest
