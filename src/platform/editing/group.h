#pragma once
// A group makes one output stream of the timeline: the picture or the sound. It owns its
// tracks in priority order and says what it outputs.
#include "platform/core/media_types.h"
#include "platform/editing/track.h"

#include <memory>
#include <vector>

namespace editing {

class Group {
  public:
    static constexpr TIMELINE_MAJOR_TYPE kType = TIMELINE_MAJOR_TYPE_GROUP;

    // Video: RGB24 with a VIDEOINFOHEADER of positive width and non-zero height. Audio: no
    // format block (the engine's default format) or a WAVEFORMATEX. Anything else is refused
    // with E_INVALIDARG.
    HRESULT SetMediaType(const AM_MEDIA_TYPE& type);
    const AM_MEDIA_TYPE& GetMediaType() const { return type_; }
    // Frames per second of a picture group; not positive and finite: E_INVALIDARG.
    HRESULT SetOutputFPS(double fps);
    double GetOutputFPS() const { return fps_; }
    // A picture group whose sources' frames are spaced unevenly follows their own times
    // rather than the output rate: for writers that keep each frame's time.
    void SetFollowSourceFrameTimes(bool follow) { followSourceTimes_ = follow; }
    bool GetFollowSourceFrameTimes() const { return followSourceTimes_; }
    // A sound group whose sources play faster or slower keeps their pitch: they are
    // time-stretched rather than resampled.
    void SetKeepPitch(bool keep) { keepPitch_ = keep; }
    bool GetKeepPitch() const { return keepPitch_; }
    // In preview mode the engine may drop late frames; otherwise it renders every one.
    HRESULT SetPreviewMode(bool preview);
    bool GetPreviewMode() const { return preview_; }

    // Takes the track and puts it before the track at `priority`; -1 appends. A priority
    // beyond the track count is refused with E_INVALIDARG, and the track released.
    HRESULT VTrackInsBefore(std::unique_ptr<Track> track, int priority);
    int GetTrackCount() const { return static_cast<int>(tracks_.size()); }
    // Null when the index is out of range.
    Track* GetTrack(int index);
    const Track* GetTrack(int index) const;

  private:
    AM_MEDIA_TYPE type_;
    double fps_ = 15.0;
    bool preview_ = true;
    bool followSourceTimes_ = false;
    bool keepPitch_ = false;
    std::vector<std::unique_ptr<Track>> tracks_;
};

} // namespace editing
