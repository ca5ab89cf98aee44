#include "platform/graph/writing/bitmap_packer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace graph {

namespace {
constexpr int kBytesPerPixel = 3;

int RowBytes(int width) {
    return FFALIGN(width * kBytesPerPixel, 4);
}
} // namespace

HRESULT BitmapPacker::Create(const MediaType& input, std::unique_ptr<BitmapPacker>* out) {
    const AVCodecParameters* in = input.Parameters();
    if (!out || !in)
        return E_POINTER;
    if (input.Major() != MajorType::Video || in->width <= 0 || in->height == 0)
        return E_INVALIDARG;
    std::unique_ptr<BitmapPacker> packer(
        new BitmapPacker(in->width, std::abs(in->height), input.AvgTimePerFrame()));
    if (!packer->outputType_.Parameters())
        return E_OUTOFMEMORY;
    *out = std::move(packer);
    return S_OK;
}

BitmapPacker::BitmapPacker(int width, int height, REFERENCE_TIME frameDuration)
    : converter_(width, height, AV_PIX_FMT_BGR24), timeBase_(FrameTimeBase(frameDuration)) {
    AVCodecParameters* p = avcodec_parameters_alloc();
    if (!p)
        return;
    p->codec_type = AVMEDIA_TYPE_VIDEO;
    p->codec_id = AV_CODEC_ID_RAWVIDEO;
    p->codec_tag = 0; // BI_RGB
    p->format = AV_PIX_FMT_BGR24;
    p->bits_per_coded_sample = 8 * kBytesPerPixel;
    p->width = width;
    p->height = height;
    p->sample_aspect_ratio = {1, 1};
    p->bit_rate = av_rescale_q(static_cast<std::int64_t>(RowBytes(width)) * height * 8, {1, 1},
                               av_inv_q(timeBase_));
    outputType_ = MediaType(MajorType::Video, p, timeBase_, frameDuration);
    avcodec_parameters_free(&p);
}

HRESULT BitmapPacker::Encode(const MediaSample& sample, const PacketSink& sink) {
    if (!sample.frame)
        return E_POINTER;
    FramePtr picture = converter_.Convert(sample.frame.get());
    if (!picture)
        return E_OUTOFMEMORY;
    const int width = converter_.Width();
    const int height = converter_.Height();
    const int row = RowBytes(width);
    PacketPtr packet(av_packet_alloc());
    if (!packet || av_new_packet(packet.get(), row * height) < 0)
        return E_OUTOFMEMORY;
    // The last row of the picture comes first; each row is padded with zeros.
    for (int y = 0; y < height; ++y) {
        std::uint8_t* to = packet->data + static_cast<std::ptrdiff_t>(height - 1 - y) * row;
        std::memcpy(to, picture->data[0] + static_cast<std::ptrdiff_t>(y) * picture->linesize[0],
                    width * kBytesPerPixel);
        std::memset(to + width * kBytesPerPixel, 0, row - width * kBytesPerPixel);
    }
    std::int64_t pts = av_rescale_q_rnd(sample.start, kRefTimeBase, timeBase_,
                                        static_cast<AVRounding>(AV_ROUND_NEAR_INF));
    if (lastPicture_ != AV_NOPTS_VALUE && pts <= lastPicture_)
        pts = lastPicture_ + 1;
    lastPicture_ = pts;
    packet->pts = packet->dts = pts;
    packet->duration = std::max<std::int64_t>(
        1, av_rescale_q(sample.stop - sample.start, kRefTimeBase, timeBase_));
    packet->flags |= AV_PKT_FLAG_KEY;
    packet->time_base = timeBase_;
    MediaSample out;
    out.start = ToRefTime(pts, timeBase_);
    out.stop = ToRefTime(pts + packet->duration, timeBase_);
    out.packet = std::move(packet);
    return sink(std::move(out));
}

} // namespace graph
