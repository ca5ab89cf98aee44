#pragma once
// Turns a compressed picture or sound stream into frames. Packets wait in a queue; the
// decoder's own thread decodes them and pushes the frames downstream, so a renderer waiting
// for its time holds up only this branch. Made for a stream, or made empty and given its
// codec when its input is connected.
// Owned by its graph; the graph's calls come on the user-interface thread, packets on the
// demultiplexer's reading thread.
#include "platform/graph/av_util.h"
#include "platform/graph/filter.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace graph {

class Decoder final : public BaseFilter {
  public:
    // VFW_E_UNSUPPORTED_STREAM when no decoder takes the stream.
    static HRESULT Create(const MediaType& input, std::unique_ptr<Decoder>* out);
    // A decoder of pictures or sound whose codec the connection of its input chooses.
    explicit Decoder(MajorType major);
    ~Decoder() override;

    // Compressed streams of its kind that a decoder takes (once it has a codec, that codec's).
    bool Accepts(const Pin& input, const MediaType& type) const override;
    // Connecting the input opens a decoder for the stream; VFW_E_UNSUPPORTED_STREAM when
    // none takes it.
    HRESULT CompleteConnect(Pin& pin, Pin& peer) override;
    bool WantsMore(const Pin& input) const override;
    HRESULT Stop() override;
    HRESULT Pause() override;

    HRESULT Receive(Pin& input, MediaSample sample) override;
    void EndOfStream(Pin& input) override;
    void BeginFlush(Pin& input) override;
    void EndFlush(Pin& input) override;
    void NewSegment(Pin& input, REFERENCE_TIME start) override;

  private:
    enum class ItemKind { Packet, EndOfStream, NewSegment, ResetCodec };
    struct Item {
        ItemKind kind;
        MediaSample sample;
        REFERENCE_TIME segmentStart = 0;
    };

    // Takes the codec opened for the input stream and offers its frames.
    void Take(const MediaType& input, CodecContextPtr codec);
    void Push(Item item, bool front = false);
    void DecodeLoop();
    void Decode(AVPacket* packet);
    void DeliverFrame(FramePtr frame);
    REFERENCE_TIME SoundStart(const AVFrame* frame);

    MajorType major_;
    Pin* output_;
    // Set with the codec when the input is connected (user-interface thread, stopped).
    REFERENCE_TIME avgTimePerFrame_ = 0;
    // Used only by the decoding thread while it runs, by the user-interface thread otherwise;
    // null until the input is connected.
    CodecContextPtr codec_;
    REFERENCE_TIME nextStart_ = 0;
    // Packets refused in a row; a long run means the stream cannot be decoded.
    int failures_ = 0;
    // Sound runs on from the first frame after a seek by counting samples: containers round
    // time stamps (to the millisecond, some of them), a sample count does not.
    bool soundAnchored_ = false;
    REFERENCE_TIME soundAnchor_ = 0;
    std::int64_t samplesSinceAnchor_ = 0;

    // Under mutex_: the queue (filled by the demultiplexer's thread, emptied by the decoding
    // thread), flushing_ (seeking thread), quit_ (user-interface thread), idle_ (decoding
    // thread, set while it waits on an empty queue).
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> queue_;
    REFERENCE_TIME queuedDuration_ = 0;
    bool flushing_ = false;
    bool quit_ = false;
    bool idle_ = true;
    std::thread thread_; // user-interface thread
};

} // namespace graph
