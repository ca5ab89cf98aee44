#pragma once
// A compressor: decoded pictures or sound in, compressed packets out, over one FFmpeg
// encoder. Whatever picture format or sound format arrives is converted to what the encoder
// takes; sound is cut into the encoder's frame size. Times are exact: one packet per picture
// at the picture's own time, and sound stamped by counting samples, so nothing drifts.
//
// The output pin offers the encoder's codec parameters once the input is connected, so a
// multiplexer can add the stream; the first packet of every run carries the parameters the
// encoder really opened with (MediaSample::type), as the settings may have changed between
// connecting and starting.
//
// The program may keep one encoder for many conversions: the settings (Options) stay with
// the filter, and each start opens a fresh encoder from them.
//
// Threads: connections, Pause and Stop on the user-interface thread; Receive and
// EndOfStream on the upstream filter's streaming thread, which also encodes and delivers
// the packets downstream. Stop waits for a sample being encoded to finish.
// Owned by its graph (and by the program while it configures it or keeps it).
//
//   std::shared_ptr<graph::Encoder> mpeg4;
//   graph::Encoder::Create(avcodec_find_encoder_by_name("mpeg4"), "DivX MPEG-4 Video Codec",
//                          &mpeg4);
//   graph.AddFilter(mpeg4, "VideoCompressor");
#include "platform/graph/filter.h"
#include "platform/graph/writing/filter_options.h"

#include <atomic>
#include <memory>
#include <mutex>

struct AVCodec;

namespace graph {

class StreamEncoder;

class Encoder final : public BaseFilter, public ISpecifyPropertyPages {
  public:
    // E_POINTER for no codec; VFW_E_UNSUPPORTED_STREAM when it is no picture or sound
    // encoder. The class identifier comes from the encoder's kind and FFmpeg name.
    static HRESULT Create(const AVCodec* codec, std::string name, std::shared_ptr<Encoder>* out);
    ~Encoder() override;

    const AVCodec* Codec() const { return codec_; }
    Pin* Input() const { return input_; }
    Pin* Output() const { return output_; }
    FilterOptions& Options() override { return *options_; }

    // Decoded frames of the encoder's media kind.
    bool Accepts(const Pin& input, const MediaType& type) const override;
    // Connecting the input opens the encoder with the current settings, to learn what the
    // output pin offers; a failure (a picture size the codec refuses) refuses the connection.
    HRESULT CompleteConnect(Pin& pin, Pin& peer) override;
    HRESULT Stop() override;
    HRESULT Pause() override;

    HRESULT Receive(Pin& input, MediaSample sample) override;
    void EndOfStream(Pin& input) override;
    void BeginFlush(Pin& input) override;
    void EndFlush(Pin& input) override;
    void NewSegment(Pin& input, REFERENCE_TIME start) override;

  private:
    Encoder(const AVCodec* codec, std::string name);
    HRESULT OpenRun();
    // Encodes one sample, or with none the end of the stream, and delivers the packets; the
    // caller holds the lock.
    HRESULT EncodeAndDeliver(const MediaSample* sample);

    const AVCodec* codec_;
    std::unique_ptr<FilterOptions> options_;
    Pin* input_;
    Pin* output_;

    // Under mutex_: the running encoder (opened by Pause on the user-interface thread, used
    // by the streaming thread, reopened at the end of a flush, closed by Stop) and whether
    // the next packet still has to announce the output type. The streaming thread holds the
    // lock while it encodes and delivers, so Stop and the end of a flush wait for that one
    // sample (downstream has been stopped or flushed first, so it does not block).
    std::mutex mutex_;
    std::unique_ptr<StreamEncoder> running_;
    bool announceType_ = false;
    // Set and cleared by the seeking thread, read by the streaming thread; atomic, because
    // the beginning of a flush must not wait for the lock.
    std::atomic<bool> flushing_{false};
};

} // namespace graph
