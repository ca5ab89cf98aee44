#pragma once
// The uncompressed picture of an AVI file as Windows stores it: a device-independent bitmap
// of 24-bit BGR pixels whose rows run bottom-up, each row padded to a multiple of 4 bytes.
// The AVI muxer writes such a stream with a positive height when told that raw RGB pictures
// come bottom-up (its "flipped_raw_rgb" option).
// Owned by the multiplexer input that stores uncompressed pictures; one streaming thread at a
// time.
#include "platform/graph/convert/picture_converter.h"
#include "platform/graph/writing/stream_coder.h"

namespace graph {

class BitmapPacker final : public StreamCoder {
  public:
    // Pictures of the input's size; E_INVALIDARG for an input with no picture size.
    static HRESULT Create(const MediaType& input, std::unique_ptr<BitmapPacker>* out);

    const MediaType& OutputType() const override { return outputType_; }
    HRESULT Encode(const MediaSample& sample, const PacketSink& sink) override;
    HRESULT Finish(const PacketSink&) override { return S_OK; }

  private:
    BitmapPacker(int width, int height, REFERENCE_TIME frameDuration);

    PictureConverter converter_;
    AVRational timeBase_;
    MediaType outputType_;
    std::int64_t lastPicture_ = AV_NOPTS_VALUE;
};

} // namespace graph
