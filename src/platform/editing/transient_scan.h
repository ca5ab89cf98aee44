#pragma once
// Where a stretched piece's sound starts suddenly: a clap, a click, a knock. A stretch that
// keeps the pitch spreads such a moment over its analysis window and may place it a few
// milliseconds off; the sound group plays these moments from the source itself, as it plays
// the points, so they land where they belong to the sample.
//
// Found on the piece's sound resampled along its line (so sample j of that sound lies where
// output sample j belongs): a moment starts where the level of the next half millisecond
// rises to ten times the mean of the twenty before it, above a floor of -40 dB; moments
// closer than 50 ms to the one before are part of it.
//
// Owned by the sound group's stream and used on its streaming thread only.
#include "platform/editing/audio_sample_reader.h"
#include "platform/editing/pitch_keeping_stretch.h"
#include "platform/editing/sinc_resampler.h"

#include <cstdint>
#include <vector>

namespace editing {

class TransientScan {
  public:
    // The piece's output samples [first, end) play `reader` along `line`, read through
    // `kernel`; `rate` is the output's sample rate. `reader` and `kernel` outlive the scan.
    TransientScan(AudioSampleReader& reader, const SincKernel& kernel, SourceLine line,
                  std::int64_t first, std::int64_t end, int rate);

    // The output samples where moments start, in order, found at least up to `to`.
    const std::vector<std::int64_t>& Until(std::int64_t to);

  private:
    AudioSampleReader& reader_;
    const SincKernel& kernel_;
    SourceLine line_;
    std::int64_t end_;
    std::int64_t shortLength_; // the half millisecond a moment's level is taken over
    std::int64_t longLength_;  // the twenty milliseconds it is compared with
    std::int64_t apart_;       // the least distance between two moments
    std::int64_t scanned_;     // moments starting before this are found
    std::vector<std::int64_t> moments_;
    std::vector<float> sound_;
    std::vector<double> power_; // running sum of the level over sound_
};

} // namespace editing
