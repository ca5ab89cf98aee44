#pragma once
// The pictures of one file, found by media time: the frame whose time span holds the time.
// Reading forwards decodes on without seeking, so consecutive pieces of one file cost one
// pass; a jump backwards or far ahead seeks to the key frame before the target.
#include "platform/editing/media_file.h"

namespace editing {

class VideoFrameReader {
  public:
    HRESULT Open(const std::string& path);
    // The frame shown at media time t (the first frame before the stream starts, the last one
    // after it ends); null when the file gives no picture at all.
    const AVFrame* FrameAt(REFERENCE_TIME t);
    // Where the frame FrameAt last gave starts.
    REFERENCE_TIME ShownFrom() const { return currentStart_; }
    // Where the frame FrameAt last gave makes way for the next one (the largest time after
    // the last frame).
    REFERENCE_TIME ShownUntil() const { return currentStop_; }
    // Whether the file's frames are spaced unevenly (see MediaFile).
    bool FrameTimesVary() { return file_.FrameTimesVary(kFramesLookedAt); }
    // Why the file could not be read to its end, once that happened (see MediaFile).
    HRESULT Failure() const { return file_.Failure(); }
    void DecodeInBackground() const { file_.DecodeInBackground(); }

  private:
    static constexpr int kFramesLookedAt = 300;
    bool DecodeNext();
    void Reposition(REFERENCE_TIME t);

    MediaFile file_;
    graph::FramePtr current_; // holds [currentStart_, currentStop_)
    REFERENCE_TIME currentStart_ = 0;
    REFERENCE_TIME currentStop_ = 0;
    graph::FramePtr next_; // decoded ahead: its start ends the current frame
    REFERENCE_TIME nextStart_ = 0;
    bool ended_ = false;
};

} // namespace editing
