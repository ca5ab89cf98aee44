#pragma once
// One unit of media pushed downstream: a compressed packet or a decoded frame, with its
// place on the media timeline in 100-ns units (start inclusive, stop exclusive).
#include "platform/graph/av_util.h"

namespace graph {

struct MediaSample {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    PacketPtr packet; // set between a demultiplexer and a decoder
    FramePtr frame;   // set between a decoder (or any other producer) and a renderer
};

} // namespace graph
