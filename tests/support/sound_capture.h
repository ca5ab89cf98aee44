#pragma once
// Records what the test sound server plays (its null sink's monitor, through the parec
// command) and keeps, for every block read, when it arrived: the earliest arrival relative
// to the block's place in the recording tells when recording began.
#include <QByteArray>
#include <QProcess>
#include <QString>

#include <cstdint>
#include <vector>

namespace testsupport {

// The sink the test script starts, or empty when the tests run without a sound server.
QString TestSoundSink();
// Seconds on a steady clock, for setting recorded sound against other events.
double SteadySeconds();

class SoundCapture {
  public:
    // Interleaved 16-bit stereo at kClipSampleRate.
    explicit SoundCapture(const QString& sink);
    ~SoundCapture();
    SoundCapture(const SoundCapture&) = delete;
    SoundCapture& operator=(const SoundCapture&) = delete;

    // Spins the event loop until the recording has run for a moment; false when nothing came.
    bool WaitUntilStarted();
    bool Started() const { return !samples_.empty(); }
    const std::vector<std::int16_t>& Samples() const { return samples_; }
    // Sample frames recorded so far.
    long Frames() const { return static_cast<long>(samples_.size() / 2); }
    // When sample frame `frame` of the recording was played, in SteadySeconds().
    double TimeOf(long frame) const;
    // The sample frame played at `time` (SteadySeconds()); it may lie beyond Frames() yet.
    long FrameAt(double time) const;

    // Sample frames [begin, end) of the recording.
    struct Stretch {
        long begin;
        long end;
    };
    // The stretches of frames [from, to) that hold sound, parted by half a millisecond or more
    // of silence: what the server plays while a stream has nothing for it.
    std::vector<Stretch> SoundingStretches(long from, long to) const;
    // Sample frames of [from, to) that hold sound: how much of a stream the device played,
    // whatever held it up in between.
    long SoundingFrames(long from, long to) const;

  private:
    void Read();

    QProcess parec_;
    QByteArray pending_;
    std::vector<std::int16_t> samples_;
    double start_ = 1e300;
};

} // namespace testsupport
