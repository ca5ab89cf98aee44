#pragma once
// quillet-convert run as a user runs it, with its settings in a folder of the test's own.
#include "support/drift_fixtures.h"

#include <QString>
#include <QStringList>

namespace clitest {

struct Result {
    int exitCode = -1;
    QString errors;
    QString output; // standard output
};

Result RunConvert(const QString& settingsRoot, const QStringList& arguments);

// A synchronization list at `path` with one point half a second before each of the clip's
// flashes (so every click lies inside a resampled stretch), its audio time on the clip's map.
QString PointsBeforeFlashes(const QString& path, const testsupport::DriftingClip& clip,
                            double offset, double drift);

// What ffprobe says of the file's `entries` (e.g. "stream=codec_name"), one line each.
QString Probe(const QString& file, const QString& entries);

} // namespace clitest
