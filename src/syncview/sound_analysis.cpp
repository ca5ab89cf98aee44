#include "syncview/sound_analysis.h"

#include "platform/dsp/mono_sound.h"

#include <optional>

namespace syncview {

SoundPicture AnalyseSound(const std::string& path, const std::function<bool(double)>& progress) {
    SoundPicture picture;
    std::optional<align::OnsetDetector> detector;
    picture.status = dsp::StreamMonoSound(path, 0, progress,
                                          [&](int rate, const float* samples, std::size_t count) {
                                              if (!detector) {
                                                  detector.emplace(rate);
                                                  picture.peaks = PeakPyramid(rate);
                                              }
                                              picture.peaks.Add(samples, count);
                                              detector->Feed(samples, count);
                                          });
    picture.peaks.Finish();
    if (SUCCEEDED(picture.status) && detector) {
        detector->Finish();
        picture.onsets = detector->OnsetTimes();
    }
    return picture;
}

void SoundAnalysis::Start(const std::string& path) {
    job_.Stop();
    result_.reset();
    job_.Start([this, path](const BackgroundJob::Progress& progress) {
        result_ = std::make_shared<const SoundPicture>(AnalyseSound(path, progress));
    });
}

} // namespace syncview
