#pragma once
// Turns the decoded samples of one stream into the packets a container stores. Encoder
// filters and writers use it on one streaming thread at a time; it keeps no lock of its own.
// Owned by the multiplexer input (or writer stream) whose samples it codes.
#include "platform/graph/media_sample.h"
#include "platform/graph/media_type.h"

#include <functional>

namespace graph {

class StreamCoder {
  public:
    // Takes each packet made, with its times; a failure stops the coder and is passed back.
    using PacketSink = std::function<HRESULT(MediaSample)>;

    virtual ~StreamCoder() = default;
    // The packets' codec parameters and the time base of their time stamps.
    virtual const MediaType& OutputType() const = 0;
    // One picture or one stretch of sound; the packets it completes go to `sink`.
    virtual HRESULT Encode(const MediaSample& sample, const PacketSink& sink) = 0;
    // The end of the stream: whatever is held back goes to `sink`.
    virtual HRESULT Finish(const PacketSink& sink) = 0;
};

} // namespace graph
