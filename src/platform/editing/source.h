#pragma once
// A piece of a media file placed on a track. Its media span plays over its timeline span; where
// the two lengths differ it plays at the rate media length / timeline length.
#include "platform/editing/timeline_basics.h"

#include <string>

namespace editing {

// How a picture of another size fills the group's frame.
enum StretchMode : int {
    RESIZEF_STRETCH = 0,             // scaled to the frame, whatever its shape
    RESIZEF_PRESERVEASPECTRATIO = 2, // scaled to fit, with black borders
};

class Source {
  public:
    static constexpr TIMELINE_MAJOR_TYPE kType = TIMELINE_MAJOR_TYPE_SOURCE;

    HRESULT SetStartStop(REFERENCE_TIME start, REFERENCE_TIME stop);
    TimeSpan GetStartStop() const { return timeline_; }
    HRESULT SetMediaTimes(REFERENCE_TIME start, REFERENCE_TIME stop);
    TimeSpan GetMediaTimes() const { return media_; }
    // The file's path, UTF-8. An empty name is refused: a source always names a file.
    HRESULT SetMediaName(std::string name);
    const std::string& GetMediaName() const { return name_; }
    // Only the modes above are known; any other is refused.
    HRESULT SetStretchMode(int mode);
    int GetStretchMode() const { return stretchMode_; }

  private:
    TimeSpan timeline_;
    TimeSpan media_;
    std::string name_;
    int stretchMode_ = RESIZEF_STRETCH;
};

} // namespace editing
