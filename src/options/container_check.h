#pragma once
// Whether the file the options describe can be written at all: a container that cannot hold
// the chosen picture or sound compressor is refused before the conversion, not inside it.
#include <QString>

struct AVOutputFormat;

namespace graph {
struct DeviceEntry;
}

namespace options {

// The library muxer behind a multiplexer entry; null for other filters.
const AVOutputFormat* MuxerFormat(const graph::DeviceEntry& muxer);

// Why the multiplexer of entry `muxer` cannot hold the picture of compressor `video` or the
// sound of compressor `audio` (null: stored uncompressed), naming both, in the loaded
// language (the built-in English where none is loaded); "" when it can, or when the entry is
// missing or no multiplexer (its own failure tells). A copied picture (`pictureCopied`) is
// not coded here: only the sound is checked.
QString ContainerRefusal(const graph::DeviceEntry* muxer, const graph::DeviceEntry* video,
                         const graph::DeviceEntry* audio, bool pictureCopied = false);

} // namespace options
