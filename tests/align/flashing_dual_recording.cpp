#include "align/flashing_dual_recording.h"

#include "align/dual_recording.h"
#include "align/scene_sound.h"
#include "align/tool_run.h"
#include "support/test_environment.h"

#include <QStringList>

#include <cmath>

namespace aligntest {
namespace {

constexpr double kSceneSeconds = 66;
constexpr double kVideoSeconds = 60;
constexpr int kFps = 25;
constexpr double kOffset = 3.21077;
constexpr double kDriftPpm = 150;
constexpr double kFlashesNear[] = {6.3, 19.1, 33.7, 47.2, 58.0};
constexpr unsigned kSceneSeed = 4242;
constexpr unsigned kUnrelatedSeed = 999;
// The scene stays below the level at which a click is recognised (0.35 of full scale);
// the clicks stand well above it.
constexpr float kSceneGain = 0.5f;
constexpr float kClickLevel = 0.8f;

std::vector<float> QuietScene(unsigned seed) {
    std::vector<float> scene = MakeScene(kSceneSeconds, seed);
    for (float& sample : scene)
        sample *= kSceneGain;
    return scene;
}

// A millisecond of click starting on the whole sample nearest to `seconds`.
void AddClick(std::vector<float>& sound, double seconds) {
    const long first = std::lround(seconds * kSceneRate);
    for (long i = first; i < first + kSceneRate / 1000; ++i)
        sound[static_cast<std::size_t>(i)] = kClickLevel;
}

std::string WriteVideo(const std::vector<float>& sound, const QStringList& flashFrames) {
    const QString folder = testsupport::TemporaryFolder();
    const QString raw = folder + "/flashing_camera.f32", path = folder + "/flashing_camera.mkv";
    WriteFloats(raw, sound);
    const QString picture =
        QString("color=c=black:s=160x120:r=%1:d=%2,drawbox=c=white:t=fill:enable='%3'")
            .arg(kFps)
            .arg(kVideoSeconds)
            .arg(flashFrames.join('+'));
    const QString soundRate = QString::number(kCameraRate), keyFrames = QString::number(kFps);
    RunTool("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", picture, "-f", "f32le", "-ar",
                       soundRate, "-ac", "1", "-i", raw, "-c:v", "libx264", "-preset", "ultrafast",
                       "-g", keyFrames, "-pix_fmt", "yuv420p", "-c:a", "pcm_s16le", "-shortest",
                       path});
    return path.toStdString();
}

FlashingDualRecording Make() {
    FlashingDualRecording made;
    made.fps = kFps;
    made.videoSeconds = kVideoSeconds;
    made.offset = kOffset;
    made.driftPpm = kDriftPpm;
    made.clickRounding = 0.5 / kSceneRate;
    const std::vector<float> scene = QuietScene(kSceneSeed);
    std::vector<float> recorder = scene;
    QStringList flashFrames;
    for (double near : kFlashesNear) {
        const long frame = std::lround(near * kFps);
        flashFrames << QString("eq(n,%1)").arg(frame);
        made.flashTimes.push_back(double(frame) / kFps);
        AddClick(recorder, made.RecordingAt(made.flashTimes.back()));
    }
    made.recorderPath = WriteRecorderFile(recorder, "flashing_recorder");
    made.videoPath =
        WriteVideo(HeardByCamera(scene, kOffset, kDriftPpm, kVideoSeconds), flashFrames);
    return made;
}

} // namespace

double FlashingDualRecording::RecordingAt(double video) const {
    return offset + video * (1 + driftPpm * 1e-6);
}

const FlashingDualRecording& MakeFlashingDualRecording() {
    static const FlashingDualRecording made = Make();
    return made;
}

const std::string& UnrelatedShortRecording() {
    static const std::string path =
        WriteRecorderFile(QuietScene(kUnrelatedSeed), "unrelated_short");
    return path;
}

} // namespace aligntest
