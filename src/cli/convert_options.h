#pragma once
// The command line of quillet-convert: what was asked for, each value only when given, so
// that everything else comes from the stored settings as the main window reads them.
#include "platform/core/reftime.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace cli {

struct ConvertOptions {
    QString input;
    QString output;
    QString syncList;
    // Another recording of the same scene, used as the sound instead of the input's own; with
    // autoPoints the points are found by comparing the two sounds.
    QString separateSound;
    bool autoPoints = false;
    std::optional<REFERENCE_TIME> videoStart, videoEnd, audioStart, audioEnd;
    bool calculate = false;
    bool overwrite = false;
    std::optional<int> format; // options::OutputFormat
    std::optional<QString> videoEncoder, audioEncoder, muxer;
    std::optional<int> width, height;
    std::optional<double> frameRate; // without it (or "source") the input's own rate
    std::optional<int> videoBitrate, audioBitrate;
    // Sound played faster or slower keeps its pitch (time-stretched, not resampled).
    bool keepPitch = false;
    bool help = false;
    // Prints the compressors and multiplexers by the names the options above search.
    bool list = false;
    // Where a JSON account of the run is written when it ends, for job runners.
    QString report;
    // One JSON line of progress a second on standard error instead of the terminal line.
    bool jsonProgress = false;
    // FFmpeg's own log lines on standard error.
    bool verbose = false;
};

// Reads the arguments after the program name; an option given twice is refused. False with
// the reason in `error`.
bool ParseArguments(const QStringList& arguments, ConvertOptions& options, QString& error);

// The --help text.
QString HelpText();

} // namespace cli
