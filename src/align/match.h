#pragma once
// One stretch of the video's sound found in the recording: where its middle lies in each, in
// seconds, and how clearly it was found (a peak-to-sidelobe ratio).
namespace align {

struct Match {
    double video = 0;
    double recording = 0;
    double confidence = 0;
};

} // namespace align
