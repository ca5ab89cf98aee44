#pragma once
// The exact lengths of a file's primary video and primary audio streams (the ones a player
// would pick), without building a graph.
//
//   graph::MultiMediaStream stream;
//   stream.AddMediaStream(graph::StreamPurpose::PrimaryVideo);
//   if (SUCCEEDED(stream.OpenFile(path)))
//       stream.GetDuration(graph::StreamPurpose::PrimaryVideo, &length);
// The caller owns it and uses it on one thread.
#include "platform/core/reftime.h"
#include "platform/core/status.h"

#include <set>
#include <string>

namespace graph {

enum class StreamPurpose { PrimaryVideo, PrimaryAudio };

class MultiMediaStream {
  public:
    // Asks for a stream; OpenFile fails when the file lacks one that was asked for.
    HRESULT AddMediaStream(StreamPurpose purpose);
    // Reads the file and measures the streams from their first time stamp to the end of
    // their last packet.
    HRESULT OpenFile(const std::string& path);
    // VFW_E_NOT_FOUND when the file has no such stream.
    HRESULT GetDuration(StreamPurpose purpose, REFERENCE_TIME* duration) const;

  private:
    std::set<StreamPurpose> requested_;
    REFERENCE_TIME video_ = -1; // -1: no such stream
    REFERENCE_TIME audio_ = -1;
};

} // namespace graph
