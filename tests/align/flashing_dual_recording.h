#pragma once
// Dual-system material whose use can be measured in a converted file: the camera's video
// flashes white on the frames where the scene has a click, its own sound is the scene heard
// on the camera's drifting clock without the clicks, and only the recorder's file holds the
// clicks. A file composed with the recorder's sound has every click on its flash only when
// the points map the recorder onto the picture. One minute long; made on first use.
#include <string>
#include <vector>

namespace aligntest {

struct FlashingDualRecording {
    std::string videoPath;    // Matroska: H.264 picture at `fps`, 16-bit sound at 44.1 kHz
    std::string recorderPath; // WAV, 48 kHz
    int fps = 0;
    double videoSeconds = 0;
    double offset = 0;              // recorder seconds at video time 0
    double driftPpm = 0;            // recorder seconds per video second, less one, in millionths
    std::vector<double> flashTimes; // video seconds of the white frames
    // How far a click may lie from RecordingAt(its flash): it starts on a whole sample.
    double clickRounding = 0;

    // Recorder seconds at a video time.
    double RecordingAt(double video) const;
};

const FlashingDualRecording& MakeFlashingDualRecording();
// A recorder's file of another scene, as long as the recording above.
const std::string& UnrelatedShortRecording();

} // namespace aligntest
