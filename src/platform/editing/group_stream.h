#pragma once
// What a group of the timeline puts out, pulled one sample at a time: the picture at the
// group's frame rate and size, or the sound at the group's sample rate. The front end of a
// render engine pushes these samples into a graph; a writer or a test can pull them itself.
#include "platform/graph/media_sample.h"
#include "platform/graph/media_type.h"

namespace editing {

class GroupStream {
  public:
    virtual ~GroupStream() = default;
    virtual const graph::MediaType& Type() const = 0;
    // Where the output ends.
    virtual REFERENCE_TIME Length() const = 0;
    // The next sample is the one that holds time t.
    virtual void Seek(REFERENCE_TIME t) = 0;
    // The next sample in order; false once the output has ended.
    virtual bool Next(graph::MediaSample& sample) = 0;
    // A failure status once a source file broke while it was read; the samples from then
    // on are not what the file held.
    virtual HRESULT Failure() const = 0;
    // The threads the sources' decoders started run at background priority (see
    // core::RunInBackground); the thread that calls Next lowers its own.
    virtual void DecodeInBackground() const {}
};

} // namespace editing
