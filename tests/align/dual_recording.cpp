#include "align/dual_recording.h"

#include "align/scene_sound.h"
#include "align/sinc_reading.h"
#include "align/tool_run.h"
#include "support/test_environment.h"

#include <cmath>
#include <map>
#include <random>

namespace aligntest {

namespace {

constexpr double kSceneSeconds = 200;
constexpr double kVideoSeconds = 185;
constexpr double kOffset = 4.32172;
constexpr double kDriftPpm = 80;
constexpr double kPauseSeconds = 2.5;
// The pause begins at the first instant from here where there is sound on both of its sides,
// at both of its ends: in a silence the sound cannot tell where the recorder stopped.
constexpr double kPauseNear = 96.0;
constexpr double kSoundAroundSeconds = 0.1;
constexpr double kSoundFrameSeconds = 0.02;
constexpr double kSoundLevel = 0.02;
constexpr unsigned kSceneSeed = 2024;
constexpr unsigned kUnrelatedSeed = 777;

double Level(const std::vector<float>& scene, double from, double seconds) {
    double power = 0;
    const long first = long(from * kSceneRate), count = long(seconds * kSceneRate);
    for (long i = first; i < first + count; ++i)
        power += double(scene[i]) * scene[i];
    return std::sqrt(power / count);
}

// Whether every short frame within kSoundAroundSeconds of `edge` holds sound.
bool SoundAround(const std::vector<float>& scene, double edge) {
    for (double from = edge - kSoundAroundSeconds; from < edge + kSoundAroundSeconds - 1e-9;
         from += kSoundFrameSeconds)
        if (Level(scene, from, kSoundFrameSeconds) < kSoundLevel)
            return false;
    return true;
}

double PauseInSound(const std::vector<float>& scene) {
    for (double t = kPauseNear;; t += 0.01)
        if (SoundAround(scene, t) && SoundAround(scene, t + kPauseSeconds))
            return t;
}

const std::vector<float>& Scene() {
    static const std::vector<float> scene = MakeScene(kSceneSeconds, kSceneSeed);
    return scene;
}

// Echoes of a room and a muffled microphone, by the ffmpeg command's filters.
std::vector<float> Muffled(const std::vector<float>& camera, const QString& folder) {
    const QString raw = folder + "/camera_clean.f32";
    WriteFloats(raw, camera);
    return FloatsFrom(RunTool(
        "ffmpeg", {"-v", "error", "-f", "f32le", "-ar", QString::number(kCameraRate), "-ac", "1", "-i", raw,
                   "-af",
                   "aecho=1:0.8:23|41|67|97|131:0.45|0.35|0.3|0.22|0.15,"
                   "lowpass=f=7000,areverse,lowpass=f=7000,areverse",
                   "-f", "f32le", "-"}));
}

// Noise as loud as the sound (0 dB signal-to-noise ratio), then scaled to fit 16 bits.
void AddNoise(std::vector<float>* sound) {
    double power = 0;
    for (float s : *sound)
        power += double(s) * s;
    std::mt19937 random(99);
    std::normal_distribution<double> noise(0, std::sqrt(power / sound->size()));
    float peak = 0;
    for (float& s : *sound) {
        s += float(noise(random));
        peak = std::max(peak, std::abs(s));
    }
    for (float& s : *sound)
        s *= 0.9f / peak;
}

std::string WriteVideoFile(const std::vector<float>& sound, const QString& name) {
    const QString folder = testsupport::TemporaryFolder();
    const QString raw = folder + "/" + name + ".f32", path = folder + "/" + name + ".mkv";
    WriteFloats(raw, sound);
    RunTool("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                       QString("color=c=gray:s=160x120:r=10:d=%1").arg(kVideoSeconds), "-f", "f32le", "-ar",
                       QString::number(kCameraRate), "-ac", "1", "-i", raw, "-c:v", "libx264", "-preset",
                       "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "pcm_s16le", "-shortest", path});
    return path.toStdString();
}

DualRecording Make(bool paused) {
    DualRecording made;
    made.videoSeconds = kVideoSeconds;
    made.offset = kOffset;
    made.driftPpm = kDriftPpm;
    made.pauseSeconds = paused ? kPauseSeconds : 0;
    const std::vector<float>& scene = Scene();
    made.pauseScene = PauseInSound(scene);
    std::vector<float> recorder = scene;
    if (paused)
        recorder.erase(recorder.begin() + std::lround(made.pauseScene * kSceneRate),
                       recorder.begin() + std::lround((made.pauseScene + kPauseSeconds) * kSceneRate));
    const QString name = paused ? "paused" : "steady";
    made.recorderPath = WriteRecorderFile(recorder, "recorder_" + name);
    // The camera heard the whole scene either way.
    static const std::string video = [] {
        std::vector<float> sound =
            Muffled(HeardByCamera(Scene(), kOffset, kDriftPpm, kVideoSeconds),
                    testsupport::TemporaryFolder());
        AddNoise(&sound);
        return WriteVideoFile(sound, "camera");
    }();
    made.videoPath = video;
    return made;
}

} // namespace

std::vector<float> HeardByCamera(const std::vector<float>& scene, double offset, double driftPpm,
                                 double seconds) {
    const double step = double(kSceneRate) / kCameraRate * (1 + driftPpm * 1e-6);
    return ReadWithSinc(scene, offset * kSceneRate, step, long(seconds * kCameraRate), 1 / step);
}

std::string WriteRecorderFile(const std::vector<float>& sound, const QString& name) {
    const QString folder = testsupport::TemporaryFolder();
    const QString raw = folder + "/" + name + ".f32", path = folder + "/" + name + ".wav";
    WriteFloats(raw, sound);
    RunTool("ffmpeg", {"-v", "error", "-y", "-f", "f32le", "-ar", QString::number(kSceneRate),
                       "-ac", "1", "-i", raw, "-ac", "2", "-c:a", "pcm_s16le", path});
    return path.toStdString();
}

double DualRecording::PauseVideoFrom() const {
    return (pauseScene - offset) / (1 + driftPpm * 1e-6);
}

double DualRecording::PauseVideoTo() const {
    return (pauseScene + pauseSeconds - offset) / (1 + driftPpm * 1e-6);
}

double DualRecording::RecordingAt(double video) const {
    const double scene = offset + video * (1 + driftPpm * 1e-6);
    return scene < pauseScene ? scene : scene - pauseSeconds;
}

const DualRecording& MakeDualRecording(bool paused) {
    static std::map<bool, DualRecording> made;
    auto found = made.find(paused);
    if (found == made.end())
        found = made.emplace(paused, Make(paused)).first;
    return found->second;
}

const std::string& UnrelatedRecording() {
    static const std::string path = WriteRecorderFile(MakeScene(kSceneSeconds, kUnrelatedSeed), "unrelated");
    return path;
}

} // namespace aligntest
