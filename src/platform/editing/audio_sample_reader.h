#pragma once
// The sound of one file as stereo float samples at the file's own rate, addressed by sample
// index: sample i plays at media time i / rate. Reading forwards decodes on; a jump back or
// far ahead seeks. Sample positions count on from the first frame after a seek, so rounded
// container time stamps never shift the sound.
#include "platform/editing/media_file.h"
#include "platform/editing/sinc_resampler.h"

#include <deque>

struct SwrContext;

namespace editing {

class AudioSampleReader {
  public:
    AudioSampleReader() = default;
    ~AudioSampleReader();
    AudioSampleReader(const AudioSampleReader&) = delete;
    AudioSampleReader& operator=(const AudioSampleReader&) = delete;

    // A file without sound opens as silence: its picture can still be composed.
    HRESULT Open(const std::string& path);
    bool HasSound() const { return rate_ > 0; }
    int SampleRate() const { return rate_; }
    // Samples first .. first + count - 1 into `stereo` (2 floats each); silence where the
    // stream has none.
    void Read(std::int64_t first, std::int64_t count, float* stereo);
    // `count` stereo samples read through `kernel` at the fractional positions first,
    // first + step, first + 2 step, ...
    void ReadResampled(const SincKernel& kernel, double first, double step, std::int64_t count,
                       float* stereo);
    // Why the file could not be read to its end, once that happened (see MediaFile).
    HRESULT Failure() const { return file_.Failure(); }
    void DecodeInBackground() const { file_.DecodeInBackground(); }

  private:
    // Sets the converter up for sound of this layout, format and rate; false when it cannot.
    bool ConvertFrom(const AVChannelLayout& layout, int format, int rate);
    void Reposition(std::int64_t index);
    bool DecodeMore();
    std::int64_t IndexOf(REFERENCE_TIME start) const;

    MediaFile file_;
    SwrContext* converter_ = nullptr;
    // What the converter takes: a stream may change its channels midway (two recordings
    // joined), and every frame is converted from what it holds.
    AVChannelLayout inLayout_{};
    int inFormat_ = -1;
    int inRate_ = 0;
    int rate_ = 0;
    std::deque<float> buffer_;   // interleaved stereo, starting at sample bufferStart_
    std::int64_t bufferStart_ = 0;
    bool anchored_ = false;      // bufferStart_ + size is where the next frame goes
    bool ended_ = false;
    std::vector<float> window_; // the samples a resampled read draws on
};

} // namespace editing
