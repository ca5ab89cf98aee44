#pragma once
// One FFmpeg encoder with the conversions in front of it: pictures are scaled and converted
// to the encoder's size and pixel format, sound is converted to its sample format, rate and
// channels and cut into its frame size. Time stamps are exact: a picture keeps its own time
// (in a time base of one frame, or the one asked for), and sound is stamped by counting
// samples from the first one, so a long stream does not drift.
// Owned by its encoder filter or writer stream for one run; one streaming thread at a time.
#include "platform/graph/av_util.h"
#include "platform/graph/convert/picture_converter.h"
#include "platform/graph/convert/sound_converter.h"
#include "platform/graph/writing/stream_coder.h"

#include <memory>
#include <optional>

namespace graph {

class FilterOptions;

// What to make of the input; every field left at its zero value follows the input or the
// encoder's own settings.
struct EncoderSetup {
    const AVCodec* codec = nullptr;
    const FilterOptions* options = nullptr; // the settings to open with
    // Pictures.
    int width = 0;
    int height = 0;
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE; // the codec's choice
    REFERENCE_TIME frameDuration = 0;            // the frame time the stream declares
    AVRational timeBase{0, 1};                   // of the packets' time stamps
    // Sound.
    int sampleRate = 0;
    int channels = 0;
    // Overrides of the settings.
    std::int64_t bitRate = 0;
    int keyFrameInterval = 0; // in frames
    int maxQuantizer = 0;
    // Codec data kept apart from the packets, for containers that store it in their header.
    bool globalHeader = false;
    // Pictures coded in showing order (no B-frames), for containers that keep no showing
    // times (AVI): players show reordered pictures late by the reordering there.
    bool showingOrder = false;
    // One encoder frame of silence before the first sound, for codecs whose decoders drop
    // the first frame they decode (WMA): what is dropped then is the silence.
    bool silentLeadIn = false;
};

class StreamEncoder final : public StreamCoder {
  public:
    // A failure status when the encoder cannot be opened for this input (a size or a format
    // it does not take, settings it refuses).
    static HRESULT Open(const EncoderSetup& setup, const MediaType& input,
                        std::unique_ptr<StreamEncoder>* out);

    const MediaType& OutputType() const override { return outputType_; }
    HRESULT Encode(const MediaSample& sample, const PacketSink& sink) override;
    HRESULT Finish(const PacketSink& sink) override;

  private:
    StreamEncoder(CodecContextPtr codec, MajorType major, REFERENCE_TIME frameDuration,
                  bool silentLeadIn);
    HRESULT EncodeSound(const AVFrame* frame, REFERENCE_TIME start, const PacketSink& sink);
    HRESULT SendSilence(int samples, const PacketSink& sink);
    HRESULT Send(AVFrame* frame, const PacketSink& sink);
    HRESULT Drain(const PacketSink& sink);

    CodecContextPtr codec_;
    MajorType major_;
    REFERENCE_TIME frameDuration_; // of pictures; 0 when unknown
    MediaType outputType_;
    std::optional<PictureConverter> picture_;
    std::optional<SoundConverter> sound_;
    std::int64_t lastPicture_ = AV_NOPTS_VALUE; // the last picture's time stamp
    std::int64_t nextSample_ = AV_NOPTS_VALUE;  // the time stamp of the next sound sample
    bool silentLeadIn_;
};

} // namespace graph
