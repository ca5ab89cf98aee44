#include "align/coarse_search.h"

#include "align/analysis_settings.h"
#include "align/phase_correlator.h"

#include <algorithm>
#include <cmath>

namespace align {

namespace {
// A chunk shorter than this share of a full one (the video's tail) is not searched.
constexpr double kShortestChunkShare = 0.25;
// How far a prediction from the last chunk found may be off: drift and small jumps.
constexpr double kPredictionMarginSeconds = 1.0;
// The whole recording is searched in overlapping blocks of one transform size: this library's
// transforms are fast only up to about this size.
constexpr int kBlockFftSize = 1 << 18;

// The recording in blocks, each with its spectrum, made when first needed; a probe is looked
// for in every block and the highest peak wins.
class WholeRecording {
  public:
    WholeRecording(const std::vector<float>& recording, int chunk)
        : recording_(recording), chunk_(chunk), fft_(kBlockFftSize),
          stride_(kBlockFftSize - chunk - chunk / 2) {}

    Peak Find(const float* probe, int count) {
        if (blocks_.empty())
            MakeBlocks();
        Peak best;
        for (std::size_t b = 0; b < blocks_.size(); ++b) {
            Peak peak = blocks_[b].Find(probe, count, false);
            if (b == 0 || peak.height > best.height) {
                peak.lag += double(b) * stride_;
                best = peak;
            }
        }
        return best;
    }

  private:
    void MakeBlocks() {
        const long size = static_cast<long>(recording_.size());
        for (long start = 0; start == 0 || start + chunk_ / 2 < size; start += stride_) {
            const int count = static_cast<int>(std::min<long>(stride_ + chunk_, size - start));
            const int lastLag = static_cast<int>(std::min<long>(stride_ - 1, size - chunk_ / 2 - start));
            blocks_.emplace_back(fft_, recording_.data() + start, count, start == 0 ? -chunk_ / 2 : 0,
                                 lastLag);
        }
    }

    const std::vector<float>& recording_;
    int chunk_;
    dsp::RealFft fft_;
    long stride_;
    std::vector<PhaseCorrelator> blocks_;
};

class Tracker {
  public:
    Tracker(const std::vector<float>& video, const std::vector<float>& recording, int rate, int chunk)
        : video_(video), recording_(recording), rate_(rate),
          margin_(static_cast<int>(kPredictionMarginSeconds * rate)),
          nearFft_(PhaseCorrelator::SizeFor(chunk + 2 * margin_, chunk, 0, 2 * margin_)),
          whole_(recording, chunk) {}

    std::optional<Match> Next(long start, int count) {
        std::optional<Match> match;
        if (known_)
            match = Near(start, count);
        if (!match)
            match = Anywhere(start, count);
        if (match) {
            known_ = true;
            offset_ = std::lround((match->recording - match->video) * rate_);
        }
        return match;
    }

  private:
    std::optional<Match> Near(long start, int count) {
        const long from = start + offset_ - margin_;
        std::vector<float> target(static_cast<std::size_t>(count + 2 * margin_), 0.0f);
        for (long i = 0; i < long(target.size()); ++i)
            if (from + i >= 0 && from + i < long(recording_.size()))
                target[i] = recording_[from + i];
        PhaseCorrelator correlator(nearFft_, target.data(), int(target.size()), 0, 2 * margin_);
        const Peak peak = correlator.Find(video_.data() + start, count, false);
        if (peak.confidence < kLocalConfidence)
            return std::nullopt;
        return MatchOf(start, count, from + peak.lag, peak.confidence);
    }

    std::optional<Match> Anywhere(long start, int count) {
        const Peak peak = whole_.Find(video_.data() + start, count);
        if (peak.confidence < kGlobalConfidence)
            return std::nullopt;
        return MatchOf(start, count, peak.lag, peak.confidence);
    }

    Match MatchOf(long start, int count, double recordingStart, double confidence) const {
        return Match{(start + count / 2.0) / rate_, (recordingStart + count / 2.0) / rate_, confidence};
    }

    const std::vector<float>& video_;
    const std::vector<float>& recording_;
    int rate_;
    int margin_;
    dsp::RealFft nearFft_;
    WholeRecording whole_;
    bool known_ = false;
    long offset_ = 0; // recording sample minus video sample, from the last chunk found
};
} // namespace

std::optional<std::vector<Match>> SearchCoarsely(const std::vector<float>& video,
                                                 const std::vector<float>& recording, int rate,
                                                 const ProgressSpan& progress) {
    std::vector<Match> found;
    const int chunk = static_cast<int>(kChunkSeconds * rate);
    if (recording.size() < std::size_t(chunk * kShortestChunkShare))
        return found;
    Tracker tracker(video, recording, rate, chunk);
    for (long start = 0; start + chunk * kShortestChunkShare <= double(video.size()); start += chunk) {
        if (!progress(double(start) / video.size()))
            return std::nullopt;
        const int count = static_cast<int>(std::min<long>(chunk, long(video.size()) - start));
        if (const std::optional<Match> match = tracker.Next(start, count))
            found.push_back(*match);
    }
    return found;
}

} // namespace align
