#pragma once
// One piece of sound played faster or slower with its pitch kept. The piece's file is read at
// its own rate converted to the output's (no change of speed), and Rubber Band's finer engine
// stretches that in offline mode at the piece's constant ratio. The samples fed to it are
// taken where the plain resampling would put them, so output sample j plays the media
// position the resampling gives it, as near as the engine's hop grid allows (a millisecond or
// so); the group's stream holds the points themselves exact.
//
// A stretch is anchored at an output sample: it is fed from a warm-up before that sample's
// media position, and its output from the anchor on is the steady stretch of the material
// around it (so a piece starting at a point has heard the sound before the point). Rendering
// goes forwards; a request before what was made, or far beyond it, anchors a new stretch.
//
// Owned by the sound group's stream and used on its streaming thread only.
#include "platform/editing/audio_sample_reader.h"
#include "platform/editing/sinc_resampler.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace RubberBand {
class RubberBandStretcher;
}

namespace editing {

// Where output sample j reads its file: at position origin + (j - first) * step, in samples
// of the file's own rate.
struct SourceLine {
    double origin = 0;
    std::int64_t first = 0;
    double step = 1;
    double At(std::int64_t j) const { return origin + static_cast<double>(j - first) * step; }
};

class PitchKeepingStretch {
  public:
    // Whether a piece played `ratio` times as long as its media is stretched: not when
    // resampling moves its pitch by less than half a cent (a few hundred parts per million,
    // as a clock's drift is; no ear hears it, and the sound stays as it was), nor beyond the
    // engine's working range of ratios.
    static bool Needed(double ratio);

    // `reader` and `rateKernel` (the low-pass for converting the file's rate to the output's)
    // outlive the stretch. Output samples up to `stop` are asked for.
    PitchKeepingStretch(AudioSampleReader& reader, const SincKernel& rateKernel, SourceLine line,
                        int outputRate, std::int64_t stop);
    ~PitchKeepingStretch();
    PitchKeepingStretch(const PitchKeepingStretch&) = delete;
    PitchKeepingStretch& operator=(const PitchKeepingStretch&) = delete;

    // Output samples [from, from + count) as interleaved stereo.
    void Render(std::int64_t from, std::int64_t count, float* out);

  private:
    void Anchor(std::int64_t at);
    // Feeds the engine one more chunk and keeps what it gives; false once it has no more.
    bool Feed();
    void Take();

    AudioSampleReader& reader_;
    const SincKernel& rateKernel_;
    SourceLine line_;
    int outputRate_;
    double ratio_;      // output samples per input sample
    double inputStep_;  // file samples per input sample: the rate conversion alone
    std::int64_t stop_;

    std::unique_ptr<RubberBand::RubberBandStretcher> stretcher_;
    double inputOrigin_ = 0;      // file position of input sample 0
    std::int64_t inputs_ = 0;     // the engine is told it gets this many
    std::int64_t fed_ = 0;
    std::int64_t warmUpLeft_ = 0; // outputs before the anchor still to drop
    std::deque<float> made_;      // interleaved stereo from output sample madeStart_
    std::int64_t madeStart_ = 0;
    std::vector<float> interleaved_;
    std::vector<float> channels_[2];
};

} // namespace editing
