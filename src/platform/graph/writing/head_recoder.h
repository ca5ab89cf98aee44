#pragma once
// The pictures of a copied stream from the cut to its next key frame, coded again, for a
// container that shows every frame it holds (AVI, Matroska): the copy cannot start on a
// frame that needs the ones before it. They are decoded from the key frame before the cut and
// coded by an encoder of the stream's own codec, starting with a key frame, at its finest
// quantizer. Not losslessly: lossless H.264 needs another profile, and a stream whose profile
// changes midway is decoded wrongly after it (FFmpeg's own decoder shifts the colour of later
// B-frames). The packets take the stream's own form (units behind lengths or behind start
// codes) and carry their parameter sets, so the copied packets go on after them.
//
// One streaming thread at a time.
// Owned by the packet cut that needs it.
#include "platform/graph/media_sample.h"

#include <memory>
#include <vector>

namespace graph {

class HeadRecoder {
  public:
    // For the compressed stream `stream`, frames shown from `from`; VFW_E_UNSUPPORTED_STREAM
    // when no decoder or no encoder of its codec exists.
    static HRESULT Create(const MediaType& stream, REFERENCE_TIME from,
                          std::unique_ptr<HeadRecoder>* out);
    // Whether frames of this codec can be coded again to go before its copied packets.
    static bool CanRecode(AVCodecID codec);

    // A packet in decoding order, times in 100-ns units. The frames it completes that are
    // shown from `from` on, and before the limit, are coded.
    HRESULT Decode(const AVPacket& packet);
    // Frames shown from `until` on are the copy's, not coded here.
    void Limit(REFERENCE_TIME until) { until_ = until; }
    // Decodes and codes what is left, once the limit is set. The coded packets in decoding
    // order, each at its frame's own time counted from `from` and lasting until the next
    // frame (the last until the limit), each decoded `lead` before it is shown (the copied
    // key frame that follows is decoded that long before it is shown).
    HRESULT Finish(REFERENCE_TIME lead, std::vector<MediaSample>* out);

  private:
    HeadRecoder(CodecContextPtr decoder, const AVCodec* encoder, REFERENCE_TIME from,
                REFERENCE_TIME frameTime, int lengthSize);
    HRESULT Code(AVFrame* frame);
    HRESULT OpenEncoder(const AVFrame& frame);
    HRESULT Drain();
    HRESULT TakeDecoded();

    CodecContextPtr decoder_;
    const AVCodec* encoderCodec_;
    CodecContextPtr encoder_;
    const REFERENCE_TIME from_;
    REFERENCE_TIME until_ = INT64_MAX;
    const REFERENCE_TIME frameTime_;
    const int lengthSize_; // 0: the stream's units follow start codes, kept as they are
    std::vector<REFERENCE_TIME> shown_; // each coded frame's time from `from_`, by number
    std::vector<PacketPtr> coded_;      // times: the frames' numbers
};

} // namespace graph
