#pragma once
// Brings sound of any sample format, rate and channel layout to one of each, and hands it
// out in frames of a fixed number of samples (the encoder's frame size) or, with a frame
// size of 0, as it comes. The resampler is rebuilt only when the incoming format changes.
// One streaming thread at a time.
// Owned by the encoder that converts with it.
#include "platform/graph/av_util.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

struct AVAudioFifo;
struct SwrContext;

namespace graph {

class SoundConverter {
  public:
    SoundConverter(const AVChannelLayout& layout, AVSampleFormat format, int sampleRate,
                   int frameSize);
    ~SoundConverter();
    SoundConverter(const SoundConverter&) = delete;
    SoundConverter& operator=(const SoundConverter&) = delete;

    int SampleRate() const { return sampleRate_; }
    // Converts the frame's samples and keeps them until they are taken.
    HRESULT Add(const AVFrame* sound);
    // The end of the input: what the resampler still holds is kept too.
    HRESULT Drain();
    // The next whole frame; with `last`, also a shorter final one. Null when there is none
    // (or memory runs out).
    FramePtr Next(bool last);

  private:
    HRESULT Configure(const AVFrame* sound);
    HRESULT Keep(const std::uint8_t* const* data, int count);

    AVChannelLayout layout_{};
    AVSampleFormat format_;
    int sampleRate_;
    int frameSize_;
    SwrContext* resampler_ = nullptr;
    // The input format the resampler is set up for.
    AVChannelLayout inLayout_{};
    int inFormat_ = AV_SAMPLE_FMT_NONE;
    int inRate_ = 0;
    AVAudioFifo* fifo_ = nullptr;
    FramePtr converted_; // scratch for the resampler's output
};

} // namespace graph
