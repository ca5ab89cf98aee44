#pragma once
// Measuring a video before it is opened: its length, picture size and frame rate through a
// filter graph, and the exact lengths of its primary picture and sound streams.
#include "platform/core/reftime.h"

#include <QString>

#include <string>

class QWidget;

namespace media {

struct ProbedVideo {
    REFERENCE_TIME length = 0;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    // The graph's duration, as GraphLength gives it, from the same graph.
    REFERENCE_TIME graphDuration = -1;
};

// The graph's length (its stop position; its duration for a ".gif"), the picture size and
// 1 / average time per frame. Empty when the video was measured; otherwise why not, in the
// user's language and naming the file, for the caller to show once.
QString ProbeVideo(const std::string& path, ProbedVideo& probed);

// The length a graph of the file reports: 0 when no graph could be made, -1 when the file
// cannot be rendered or has no length. Nothing is shown.
REFERENCE_TIME GraphLength(const std::string& path);

// The exact lengths of the primary picture and sound streams, from one reading of the file.
// False after showing why when the file cannot be read or has no picture; a missing sound is
// not shown, and `audio` keeps its value.
bool StreamDurations(QWidget* owner, const std::string& path, REFERENCE_TIME& video,
                     REFERENCE_TIME& audio);

// The exact length of the file's primary sound stream, or 0 when the file cannot be opened
// or has no sound. Nothing is shown: the caller says what the file is wanted for.
REFERENCE_TIME SoundLength(const std::string& path);

} // namespace media
