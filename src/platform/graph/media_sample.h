#pragma once
// One unit of media pushed downstream: a compressed packet or a decoded frame, with its
// place on the media timeline in 100-ns units (start inclusive, stop exclusive).
// A sample owns its packet or frame and is moved from filter to filter along the branch, on
// the streaming thread of the filter that pushes it.
#include "platform/graph/av_util.h"
#include "platform/graph/media_type.h"

#include <optional>

namespace graph {

struct MediaSample {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    PacketPtr packet; // set between a demultiplexer and a decoder
    FramePtr frame;   // set between a decoder (or any other producer) and a renderer
    // Set on the first sample whose stream differs from the connection's type, and valid
    // from that sample on: an encoder settles its codec parameters (the codec data that a
    // container stores, the bit rate chosen in its settings) only when it starts.
    std::optional<MediaType> type;
};

} // namespace graph
