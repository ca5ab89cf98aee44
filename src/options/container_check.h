#pragma once
// Whether the file the options describe can be written at all: a container that cannot hold
// the chosen picture or sound compressor is refused before the conversion, not inside it.
#include <QString>

#include <string>

namespace options {

// Why the multiplexer behind filter entry `muxerEntry` cannot hold compressors `videoEntry`
// and `audioEntry` (indexes of their categories; -1 for the uncompressed rows), naming both;
// "" when it can, or when the entry is no multiplexer (its own failure tells).
QString ContainerRefusal(int muxerEntry, int videoEntry, int audioEntry);

} // namespace options
