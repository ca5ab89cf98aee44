#include "support/sound_capture.h"

#include "support/media_fixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace testsupport {

QString TestSoundSink() {
    if (!std::getenv("PULSE_SERVER"))
        return {};
    const char* sink = std::getenv("QUILLET_TEST_SINK");
    return sink ? QString(sink) : QStringLiteral("ci");
}

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

SoundCapture::SoundCapture(const QString& sink) {
    QObject::connect(&parec_, &QProcess::readyReadStandardOutput, [this] { Read(); });
    parec_.start("parec", {"-d", sink + ".monitor", "--latency-msec=10",
                           QString("--rate=%1").arg(kClipSampleRate), "--channels=2",
                           "--format=s16le", "--raw"});
}

SoundCapture::~SoundCapture() {
    parec_.kill();
    parec_.waitForFinished();
}

bool SoundCapture::WaitUntilStarted() {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000 && (!Started() || timer.elapsed() < 500))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return Started();
}

double SoundCapture::TimeOf(long frame) const {
    return start_ + double(frame) / kClipSampleRate;
}

long SoundCapture::FrameAt(double time) const {
    return std::lround((time - start_) * kClipSampleRate);
}

std::vector<SoundCapture::Stretch> SoundCapture::SoundingStretches(long from, long to) const {
    // Silence is near zero on both channels; the clips' tones pass through that band within a
    // sample.
    constexpr int kQuiet = 16;
    constexpr long kGap = kClipSampleRate / 2000;
    std::vector<Stretch> stretches;
    long begin = -1;      // of the stretch under way
    long quietSince = -1; // of the quiet frames that end it so far
    to = std::min(to, Frames());
    for (long frame = std::max(from, 0L); frame < to; ++frame) {
        if (std::abs(samples_[frame * 2]) > kQuiet || std::abs(samples_[frame * 2 + 1]) > kQuiet) {
            if (begin < 0)
                begin = frame;
            quietSince = -1;
            continue;
        }
        if (quietSince < 0)
            quietSince = frame;
        if (begin >= 0 && frame + 1 - quietSince >= kGap) {
            stretches.push_back({begin, quietSince});
            begin = -1;
        }
    }
    if (begin >= 0)
        stretches.push_back({begin, quietSince >= 0 ? quietSince : to});
    return stretches;
}

long SoundCapture::SoundingFrames(long from, long to) const {
    long frames = 0;
    for (const Stretch& stretch : SoundingStretches(from, to))
        frames += stretch.end - stretch.begin;
    return frames;
}

void SoundCapture::Read() {
    const double now = SteadySeconds();
    pending_.append(parec_.readAllStandardOutput());
    const qsizetype whole = pending_.size() / 4 * 4;
    const std::size_t before = samples_.size();
    samples_.resize(before + whole / 2);
    std::memcpy(samples_.data() + before, pending_.constData(), whole);
    pending_.remove(0, whole);
    start_ = std::min(start_, now - double(Frames()) / kClipSampleRate);
}

} // namespace testsupport
