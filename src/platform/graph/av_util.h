#pragma once
// Ownership and conversions for FFmpeg objects, kept in one place so every filter turns
// library errors and time bases into the graph's terms the same way.
// Each pointer type owns its FFmpeg object and frees it with the library's own call; an
// object is used by one thread at a time, the conversions by any thread.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "platform/core/reftime.h"
#include "platform/core/status.h"

#include <memory>
#include <string>

namespace graph {

struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct CodecContextDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FormatContextDeleter {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextDeleter>;

// A library error as a status code; out-of-memory, missing files, refused access, full disks
// and failing devices keep their own codes, so their texts say what went wrong.
HRESULT StatusFromAv(int error);
// The library's text for an error code, for the console.
std::string AvErrorText(int error);

constexpr AVRational kRefTimeBase{1, static_cast<int>(UNITS)};

inline REFERENCE_TIME ToRefTime(std::int64_t ts, AVRational base) {
    return av_rescale_q(ts, base, kRefTimeBase);
}
// The exact rate behind a rate given in frames per second: the NTSC family (24000/1001,
// 30000/1001, 60000/1001, ...) whether typed short (23.976, 29.97, 59.94) or worked out from
// a frame time in 100 ns units; otherwise the nearest fraction a codec that counts time in
// 16-bit units takes. {0, 1} when the rate is not positive and finite.
AVRational ExactFrameRate(double framesPerSecond);
// The time base of one frame of `frameDuration`, by the rule above (333667 gives 1001/30000);
// a millisecond when the duration is unknown (0).
AVRational FrameTimeBase(REFERENCE_TIME frameDuration);

inline std::int64_t FromRefTime(REFERENCE_TIME t, AVRational base) {
    return av_rescale_q(t, kRefTimeBase, base);
}

} // namespace graph
