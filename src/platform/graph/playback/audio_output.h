#pragma once
// Sound output through the system sound server. A QAudioSink lives on a thread of its own
// with an event loop; a timer there moves buffered bytes into the sink and samples how much
// has actually been heard, which is what the clock follows. The streaming thread writes
// into the buffer and blocks while it is full.
// Owned by its audio renderer.
#include "platform/core/reftime.h"
#include "platform/graph/playback/sound_clock.h"
#include "platform/graph/playback/sound_output.h"

#include <QAudioFormat>
#include <QByteArray>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QAudioSink;
class QIODevice;
class QObject;
class QThread;
class QTimer;

namespace graph {

class AudioOutput final : public SoundOutput {
  public:
    AudioOutput();
    // Lets whatever still keeps to the clock go on with the system clock.
    ~AudioOutput() override;

    // Opens the default output, suspended. False when the system has no sound device; the
    // first such failure in the program says so on the console.
    bool Open(const QAudioFormat& format) override;
    bool Write(const char* data, qint64 bytes, const std::function<bool()>& interrupted) override;
    // Once the end is heard, the clock goes on with system time until the output plays again,
    // so a longer picture plays to its end.
    void SetEnded() override;
    void Play() override;
    void Pause() override;
    void Discard() override;
    void SetVolume(double volume) override;
    // Moves with the time heard, continuous across Discard.
    std::shared_ptr<const ReferenceClock> Clock() const override { return clock_; }

  private:
    void RunOnAudioThread(const std::function<void()>& work);
    void Feed();
    void Sample();

    // Audio thread objects: created and used there, deleted there through the thread's end.
    // sink_ is set and cleared only by work that the user-interface thread waits for
    // (RunOnAudioThread), so that thread may test it without a lock.
    QThread* thread_ = nullptr;
    QObject* context_ = nullptr;
    QAudioSink* sink_ = nullptr;
    QIODevice* device_ = nullptr;
    QTimer* timer_ = nullptr;
    qint64 bytesPerSecond_ = 0;
    qint64 capacity_ = 0;
    qint64 sinkBufferBytes_ = 0;
    bool playing_ = false;         // audio thread
    bool free_ = false;            // audio thread: the end was heard, the clock runs free
    REFERENCE_TIME heardBase_ = 0; // audio thread: time heard by sinks reset before

    // Under mutex_: pending_ (written by the streaming thread, drained by the audio thread)
    // and the end flag (written by the streaming thread, cleared by the audio thread).
    mutable std::mutex mutex_;
    std::condition_variable drained_;
    QByteArray pending_;
    qint64 writtenBytes_ = 0; // bytes handed to the current sink
    bool ended_ = false;
    // Told by the audio thread and by the destructor; locks itself. Shared with every graph
    // that keeps to it.
    const std::shared_ptr<SoundClock> clock_ = std::make_shared<SoundClock>();
};

} // namespace graph
