#pragma once
// --report FILE: one JSON object, written when the run ends, that tells a job runner what
// was done: the files, the points and times used, what was found, what the written file
// holds, how long it took and how it ended. Its keys are documented in the README.
#include "platform/core/reftime.h"
#include "sync/sync_state.h"

#include <QString>

#include <optional>
#include <vector>

namespace cli {

struct RunReport {
    QString input;
    QString output;
    QString separateSound;
    // "list" (--sync-list), "found" (--auto-points) or "none".
    QString pointsFrom = "none";
    std::vector<avsync::SyncPoint> points;
    // Where --auto-points found the points.
    std::optional<double> driftPpm;
    std::optional<REFERENCE_TIME> offset;
    struct Times {
        REFERENCE_TIME videoStart, videoEnd, audioStart, audioEnd, output;
    };
    // Once the input was read and the times settled.
    std::optional<Times> times;
    // Whether the run wrote the output (whole, or up to where it was stopped).
    bool wrote = false;
    double wallSeconds = 0;
    int exitStatus = 1;
    QString message;
};

// Writes the report; what the output file holds (picture size, frame rate, codecs, bytes) is
// read from the file itself when the run wrote it. Empty when written, else why not.
QString WriteReport(const QString& path, const RunReport& report);

} // namespace cli
