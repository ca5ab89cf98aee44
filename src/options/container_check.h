#pragma once
// Whether the file the options describe can be written at all: a container that cannot hold
// the chosen picture or sound compressor is refused before the conversion, not inside it.
#include <QString>

namespace graph {
struct DeviceEntry;
}

namespace options {

// Why the multiplexer of entry `muxer` cannot hold the picture of compressor `video` or the
// sound of compressor `audio` (null: stored uncompressed), naming both; "" when it can, or
// when the entry is missing or no multiplexer (its own failure tells).
QString ContainerRefusal(const graph::DeviceEntry* muxer, const graph::DeviceEntry* video,
                         const graph::DeviceEntry* audio);

} // namespace options
