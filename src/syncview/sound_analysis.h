#pragma once
// The analysis of a whole sound that the sync view needs, made once per file in the
// background: its waveform pyramid and its onsets, from one decoding pass at the sound's own
// rate. Start runs it on a thread of its own; the window's thread reads the progress while it
// runs and takes the result once Done says so. Destroying the analysis stops it.
#include "align/sound_onsets.h"
#include "syncview/background_job.h"
#include "syncview/peak_pyramid.h"

#include <memory>
#include <string>

namespace syncview {

struct SoundPicture {
    PeakPyramid peaks;
    std::vector<REFERENCE_TIME> onsets; // media time after the sound's start
    HRESULT status = S_OK;              // why it could not be read, when it could not
};

class SoundAnalysis {
  public:
    // Starts on the sound of `path`, stopping any analysis under way first.
    void Start(const std::string& path);
    // 0..1 while it runs.
    double Progress() const { return job_.Fraction(); }
    bool Done() const { return job_.Done(); }
    // The result, once done; null before.
    std::shared_ptr<const SoundPicture> Result() const { return job_.Done() ? result_ : nullptr; }

  private:
    std::shared_ptr<const SoundPicture> result_;
    BackgroundJob job_; // last: stopped before the result goes
};

// The same analysis on the calling thread: what the background thread runs. `progress` as in
// dsp::StreamMonoSound.
SoundPicture AnalyseSound(const std::string& path, const std::function<bool(double)>& progress);

} // namespace syncview
