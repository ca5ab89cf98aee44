#pragma once
// Copying the source picture instead of coding it again: offered with the video compressors,
// and possible only where the correction leaves the picture as it is (the composition keeps
// its rate): it must keep its own size and frame rate, and go into a container that holds its
// codec (and keeps each frame's time, when the frames are spaced unevenly).
#include "options/output_settings.h"

extern "C" {
#include <libavutil/rational.h>
}

#include <QString>

#include <string>

namespace graph {
struct DeviceEntry;
}

namespace options {

// The stored video "CompressorNumber" of the copy, which no compressor entry has.
inline constexpr int kCopyPictureNumber = -3;

// What the check needs of the open video.
struct PictureCopySource {
    std::string path;
    int videoCount = 0;
    int nativeWidth = 0;
    int nativeHeight = 0;
    double frameRate = 0;
};

// Why the picture of `source` cannot be copied into the AVI or custom output `output`
// describes (through `muxer` for the custom multiplexer), naming the condition it fails in
// the loaded language (the built-in English where none is loaded); "" when it can, or when
// no video is open.
QString PictureCopyRefusal(const PictureCopySource& source, const OutputSettings& output,
                           const graph::DeviceEntry* muxer);

// The time base of the picture of `path` when its frames are spaced unevenly (as a phone
// records), in which a copy keeps each frame's own time; {0, 1} when they are spaced evenly
// or cannot be read.
AVRational UnevenFrameTimeBase(const std::string& path);

} // namespace options
