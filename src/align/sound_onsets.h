#pragma once
// The sound's own events: the instants where a short, sharp sound begins (a clap, a click, a
// knock, a clapper board), found from a sudden rise of the sound's level and placed on the
// sample where the rise starts. Speech and music rise more slowly and are mostly passed over;
// what is found anyway is left for the pairing with the picture to reject.
//
// The detector is fed the sound block by block, so a file of hours is analysed in a few
// seconds of memory. One thread at a time; its owner decides which.
#include "platform/core/reftime.h"
#include "platform/core/status.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace align {

class OnsetDetector {
  public:
    explicit OnsetDetector(int rate);

    // The next samples of one channel, in order from the sound's start.
    void Feed(const float* samples, std::size_t count);
    // Looks at the last samples, which had too little after them so far.
    void Finish();

    int Rate() const { return rate_; }
    // Sample numbers from the sound's start, rising.
    const std::vector<std::int64_t>& Onsets() const { return onsets_; }
    // The same in media time.
    std::vector<REFERENCE_TIME> OnsetTimes() const;

  private:
    void Examine(std::int64_t hop);
    float PeakOf(std::int64_t from, std::int64_t to) const;
    float Sample(std::int64_t index) const { return samples_[std::size_t(index - first_)]; }

    int rate_;
    int hop_;                   // samples per hop of the level
    int background_;            // hops of the level before an onset that tell the background
    int ahead_;                 // hops after it that tell its peak
    int refractory_;            // hops after an onset in which no other begins
    std::deque<float> samples_; // the recent samples, the first one numbered first_
    std::int64_t first_ = 0;
    std::int64_t fed_ = 0;
    std::int64_t nextHop_ = 0;
    std::deque<float> hopPeaks_; // peaks of the hops before nextHop_, the newest last
    std::int64_t lastOnsetHop_ = -1;
    std::vector<std::int64_t> onsets_;
};

// The onsets of the best sound stream of the file at `path`, in media time after the file's
// start, read at the stream's own rate. Progress, stopping (E_ABORT) and failures as
// dsp::StreamMonoSound.
HRESULT FindSoundOnsets(const std::string& path, const std::function<bool(double)>& progress,
                        std::vector<REFERENCE_TIME>* onsets);

} // namespace align
