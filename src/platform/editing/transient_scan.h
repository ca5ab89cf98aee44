#pragma once
// Where a stretched piece's sound starts suddenly: a clap, a click, a knock. A stretch that
// keeps the pitch spreads such a moment over its analysis window and may place it a few
// milliseconds off; the sound group plays these moments from the source itself, as it plays
// the points, so they land where they belong to the sample.
//
// Found on the file's own samples, which the piece's line places on the output: a moment
// starts where the level of the next half millisecond rises to ten times the mean of the
// twenty before it, above a floor of -40 dB; moments closer than 50 ms to the one before are
// part of it.
//
// Owned by the sound group's stream and used on its streaming thread only.
#include "platform/editing/audio_sample_reader.h"
#include "platform/editing/pitch_keeping_stretch.h"

#include <cstdint>
#include <vector>

namespace editing {

class TransientScan {
  public:
    // The piece's output samples [first, end) play `reader` along `line`. `reader` outlives
    // the scan.
    TransientScan(AudioSampleReader& reader, SourceLine line, std::int64_t first,
                  std::int64_t end);

    // The output samples where moments start, in order, found at least up to `to`.
    const std::vector<std::int64_t>& Until(std::int64_t to);

  private:
    // The output sample that plays the file's sample `position`, to the nearest.
    std::int64_t OutputSampleOf(std::int64_t position) const;

    AudioSampleReader& reader_;
    SourceLine line_;
    std::int64_t first_;
    std::int64_t end_;
    // In the file's samples: the half millisecond a moment's level is taken over, the twenty
    // milliseconds it is compared with, the least distance between two moments.
    std::int64_t shortLength_;
    std::int64_t longLength_;
    std::int64_t apart_;
    std::int64_t scanned_; // the file's samples before this are scanned
    std::int64_t lastMoment_ = INT64_MIN / 2;
    std::vector<std::int64_t> moments_;
    std::vector<float> sound_;
    std::vector<double> power_; // running sum of the level over sound_
};

} // namespace editing
