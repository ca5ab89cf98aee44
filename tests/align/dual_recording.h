#pragma once
// Dual-system material with a known map: a recorder's file (48 kHz WAV) and a camera's video
// (160×120 picture, 44.1 kHz sound) of the same scene. The camera's clock runs slow of the
// recorder's by a known drift, it started after the recorder, and its sound is poor: an
// echoing room, a 7 kHz low-pass (applied forwards and backwards, so it delays nothing) and
// noise as loud as the sound. The recorder may have been paused for a while: the camera
// then holds sound that the recording lacks. Made on first use in the test program.
#include <QString>

#include <string>
#include <vector>

namespace aligntest {

constexpr int kCameraRate = 44100;

struct DualRecording {
    std::string videoPath;
    std::string recorderPath;
    double videoSeconds = 0;
    double offset = 0;       // recorder seconds at video time 0
    double driftPpm = 0;     // recorder seconds per video second, less one, in millionths
    double pauseSeconds = 0; // 0 without a pause
    double pauseScene = 0;   // where in the scene the recorder paused (recorder seconds)

    // The video times between which the recorder was paused (equal without a pause).
    double PauseVideoFrom() const;
    double PauseVideoTo() const;
    // Recorder seconds at a video time outside the pause.
    double RecordingAt(double video) const;
};

// The camera's clean sound: `seconds` of the scene (at kSceneRate) read at the camera's rate
// and clock through a windowed-sinc kernel, so every sample lies exactly where the map
// (recorder = offset + video × (1 + driftPpm / 1e6)) says.
std::vector<float> HeardByCamera(const std::vector<float>& scene, double offset, double driftPpm,
                                 double seconds);
// A recorder's file: `sound` (one channel at kSceneRate) as 16-bit stereo WAV in the test's
// folder, named `name`.wav.
std::string WriteRecorderFile(const std::vector<float>& sound, const QString& name);

// With or without a pause of the recorder.
const DualRecording& MakeDualRecording(bool paused);
// A recorder's file of another scene, as long as MakeDualRecording's.
const std::string& UnrelatedRecording();

} // namespace aligntest
