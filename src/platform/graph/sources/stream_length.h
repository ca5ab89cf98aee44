#pragma once
// Lengths read from an open file, from the time stamps of its last packets: headers round,
// pad or leave lengths out, the packets do not.
// Functions of the caller's open file, on the caller's thread.
#include "platform/core/reftime.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <vector>

namespace graph {

// Media time 0 of the file, in AV_TIME_BASE units.
std::int64_t MediaStart(const AVFormatContext* format);

struct StreamEnds {
    // Per stream: from its first time stamp to the end of its last packet; 0 when it has
    // none.
    std::vector<REFERENCE_TIME> lengths;
    // From media time 0 to the end of the last packet of any stream.
    REFERENCE_TIME fileLength = 0;
};

// Reads the last seconds of the file (all of it when the end cannot be found by seeking) and
// leaves the read position at the start.
StreamEnds MeasureStreams(AVFormatContext* format);

} // namespace graph
