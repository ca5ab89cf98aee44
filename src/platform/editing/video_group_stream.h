#pragma once
// The picture of a group: one frame per output frame time, each showing the source frame
// whose time span holds the media time its source maps the middle of that output frame to.
// The picture is brought to the group's size (with black borders or stretched, as each source
// says); times no source covers are black. Frames keep their decoded pixel format: a consumer that
// needs another converts them.
#include "platform/editing/group_stream.h"
#include "platform/editing/placed_source.h"
#include "platform/editing/video_frame_reader.h"

#include <map>
#include <memory>

struct SwsContext;

namespace editing {

class VideoGroupStream final : public GroupStream {
  public:
    // Opens every source file; a failure status when one of them gives no picture. With
    // `followSourceTimes`, sources whose frames are spaced unevenly give one output frame per
    // source frame, at its own time, instead of frames at `fps` (which then only fills what no
    // source covers); the declared type then has no steady frame time.
    static HRESULT Create(std::vector<PlacedSource> sources, int width, int height, double fps,
                          bool followSourceTimes, std::unique_ptr<VideoGroupStream>* out);
    ~VideoGroupStream() override;

    const graph::MediaType& Type() const override { return type_; }
    REFERENCE_TIME Length() const override { return length_; }
    void Seek(REFERENCE_TIME t) override;
    bool Next(graph::MediaSample& sample) override;
    HRESULT Failure() const override { return ReadersFailure(readers_); }
    void DecodeInBackground() const override { editing::DecodeInBackground(readers_); }

    // The start of output frame k.
    REFERENCE_TIME FrameTime(std::int64_t k) const;
    // The output frame whose span holds t.
    std::int64_t FrameHolding(REFERENCE_TIME t) const;

  private:
    VideoGroupStream(std::vector<PlacedSource> sources, int width, int height, double fps);
    // The next frame in the source's own time, or black up to the next grid frame.
    bool NextInSourceTime(graph::MediaSample& sample);
    graph::FramePtr Fit(const AVFrame* picture, int stretchMode);
    graph::FramePtr Black() const;

    std::vector<PlacedSource> sources_;
    std::map<std::string, std::unique_ptr<VideoFrameReader>> readers_; // one per file
    int width_;
    int height_;
    AVRational rate_; // exact: NTSC rates are kept as n*1000/1001
    REFERENCE_TIME length_;
    graph::MediaType type_;
    std::int64_t next_ = 0; // the next output frame
    bool sourceTimes_ = false;
    REFERENCE_TIME nextTime_ = 0; // with sourceTimes_: where the next output frame starts
    SwsContext* scaler_ = nullptr;
};

} // namespace editing
