#include "support/sound_capture.h"

#include "support/media_fixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
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
