#pragma once
// The waveform of a whole sound as minimum/maximum pairs at a few resolutions (an overview
// pyramid), so that a view draws any stretch at any zoom from memory without decoding. The
// finest level holds one pair per 64 samples, each level above one per 4 of the level below:
// a 2-hour sound at 48 kHz takes about 29 MB. Closer than 64 samples a column, the view reads
// the samples themselves.
//
// Built on one thread (Add, then Finish); once finished it never changes, and any thread may
// read it. Its builder hands it over whole.
#include <cstdint>
#include <deque>
#include <vector>

namespace syncview {

// One column's extent, in the sound's own scale (-1..1).
struct PeakColumn {
    float low = 0;
    float high = 0;
};

class PeakPyramid {
  public:
    static constexpr int kFinestSamples = 64;
    static constexpr int kLevelFactor = 4;

    explicit PeakPyramid(int rate = 0) : rate_(rate) {}

    void Add(const float* samples, std::size_t count);
    void Finish();

    int Rate() const { return rate_; }
    std::int64_t Samples() const { return samples_; }
    // The extent of each of `columns.size()` columns of `samplesPerColumn` samples from sample
    // `first` (which may be negative or past the end: nothing there). `samplesPerColumn` must be
    // at least kFinestSamples.
    void Columns(double first, double samplesPerColumn, std::vector<PeakColumn>& columns) const;
    // Memory held, in bytes.
    std::size_t Bytes() const;

  private:
    struct Pair {
        std::int16_t low;
        std::int16_t high;
    };
    void Close(std::size_t level);
    // The extent of the group of pairs from `from` (fewer at the end).
    static Pair Extent(const std::vector<Pair>& pairs, std::size_t from);

    int rate_;
    std::int64_t samples_ = 0;
    std::deque<std::vector<Pair>> levels_{1}; // a deque: adding a level moves none
    Pair open_{0, 0};                         // the finest pair being filled
    int openCount_ = 0;                       // samples in it
};

} // namespace syncview
