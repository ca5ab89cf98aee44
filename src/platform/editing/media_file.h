#pragma once
// One stream of a media file opened for decoding, with times in 100-ns media time whose 0 is
// the file's start (as the players report them).
#include "platform/graph/av_util.h"

#include <string>
#include <vector>

namespace editing {

class MediaFile {
  public:
    MediaFile() = default;
    // The decoder calls back into this object: it stays where it was made.
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    // The file's best stream of the type. VFW_E_NOT_FOUND when the file has no stream of the
    // type; another failure status when the file cannot be read or the stream decoded.
    HRESULT Open(const std::string& path, AVMediaType type);

    // Reads and decodes the next frame into `frame`; false at the end of the stream.
    bool Decode(AVFrame* frame);
    // E_FILE_INVALID once reading ended because the file became shorter than it was when
    // opened (another program cut it): what is missing cannot be read any more.
    HRESULT Failure() const { return failure_; }
    // Puts the read position on the key frame at or before media time t.
    void SeekBefore(REFERENCE_TIME t);
    // A decoded frame's start in media time.
    REFERENCE_TIME StartOf(const AVFrame* frame) const;
    // Whether the stream's first frames (up to `frames` of them) are spaced unevenly, as a
    // phone's or a screen recorder's are, beyond the rounding of the container's time base.
    // Reads ahead, then puts the read position back at the start.
    bool FrameTimesVary(int frames);
    // The shortest time between two pictures of the stream, in seconds, over the whole file;
    // 0 with fewer than two. Reads it through, then puts the read position back at the start.
    double ShortestFrameSpacing();

    // The threads the decoder started for itself run at background priority (see
    // core::RunInBackground).
    void DecodeInBackground() const;

    AVCodecContext* Codec() const { return codec_.get(); }
    const AVStream* Stream() const { return format_->streams[stream_]; }
    const AVFormatContext* Format() const { return format_.get(); }

  private:
    // The showing times of the stream's first `frames` packets, in order, in its time base;
    // the read position is put back at the start.
    std::vector<std::int64_t> ShowingTimes(int frames);
    // Pictures are decoded into rows as long as the encoders that take them without a copy
    // want (a decoder of 4:2:0 pictures that lets its buffers be given); any other picture
    // gets the library's own buffer.
    void LayOutForEncoders();
    static int EncoderShapedBuffer(AVCodecContext* codec, AVFrame* frame, int flags);
    struct PoolFree {
        void operator()(AVBufferPool* pool) const { av_buffer_pool_uninit(&pool); }
    };
    std::unique_ptr<AVBufferPool, PoolFree> pool_; // released after the decoder
    int linesize_[4] = {};
    int rows_[3] = {};
    graph::FormatContextPtr format_;
    graph::CodecContextPtr codec_;
    graph::PacketPtr packet_;
    int stream_ = -1;
    REFERENCE_TIME fileStart_ = 0; // the container's start, in media time
    std::int64_t openedSize_ = -1; // bytes, when the file was opened
    HRESULT failure_ = S_OK;
    bool draining_ = false;
    std::vector<int> decoderThreads_; // started by the decoder when it opened
};

} // namespace editing
