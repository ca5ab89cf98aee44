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

SoundAnalysis::~SoundAnalysis() {
    Stop();
}

void SoundAnalysis::Start(const std::string& path) {
    Stop();
    stop_ = false;
    done_ = false;
    progress_ = 0;
    result_.reset();
    thread_ = std::thread([this, path] {
        auto picture = std::make_shared<SoundPicture>(AnalyseSound(path, [this](double fraction) {
            progress_ = fraction;
            return !stop_.load();
        }));
        result_ = std::move(picture);
        done_ = true;
    });
}

void SoundAnalysis::Stop() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

} // namespace syncview
