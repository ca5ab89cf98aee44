#pragma once
// Brings pictures of any size and pixel format to one size and format. The conversion is
// rebuilt only when the incoming format changes. One streaming thread at a time.
// Owned by the encoder or packer that converts with it.
#include "platform/graph/av_util.h"

struct SwsContext;

namespace graph {

class PictureConverter {
  public:
    PictureConverter(int width, int height, AVPixelFormat format);
    ~PictureConverter();
    PictureConverter(const PictureConverter&) = delete;
    PictureConverter& operator=(const PictureConverter&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    AVPixelFormat Format() const { return format_; }
    // A new frame holding the picture in the target size and format (times are not copied);
    // null when it cannot be converted or memory runs out.
    FramePtr Convert(const AVFrame* picture);

  private:
    // A frame of the target size and format, without pixels.
    FramePtr Blank() const;
    FramePtr Share(const AVFrame* picture) const;

    int width_;
    int height_;
    AVPixelFormat format_;
    SwsContext* scaler_ = nullptr;
};

} // namespace graph
