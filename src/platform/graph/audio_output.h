#pragma once
// Sound output through the system sound server. A QAudioSink lives on a thread of its own
// with an event loop; a timer there moves buffered bytes into the sink and samples how much
// has actually been heard, which is what the clock reports. The streaming thread writes
// into the buffer and blocks while it is full.
#include "platform/core/reftime.h"
#include "platform/graph/sound_output.h"

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
    ~AudioOutput() override;

    // Opens the default output, suspended. False when the system has no sound device; the
    // first such failure in the program says so on the console.
    bool Open(const QAudioFormat& format) override;
    bool Write(const char* data, qint64 bytes, const std::function<bool()>& interrupted) override;
    // After the end, the clock goes on with system time so a longer picture plays to its end.
    void SetEnded() override;
    void Play() override;
    void Pause() override;
    void Discard() override;
    void SetVolume(double volume) override;
    // Time heard since Open, continuous across Discard. Any thread.
    REFERENCE_TIME Now() const override;

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
    REFERENCE_TIME heardBase_ = 0; // audio thread: time heard by sinks reset before

    // Under mutex_: pending_ (written by the streaming thread, drained by the audio thread),
    // the clock sample and the end flag (written by the audio thread / streaming thread).
    mutable std::mutex mutex_;
    std::condition_variable drained_;
    QByteArray pending_;
    qint64 writtenBytes_ = 0; // bytes handed to the current sink
    bool ended_ = false;
    REFERENCE_TIME heard_ = 0;     // time heard at the last sample
    REFERENCE_TIME sampledAt_ = 0; // system time of the last sample
    bool extrapolate_ = false;     // playing: time moves on between samples
    bool free_ = false;            // ended and all heard: time moves on freely
    mutable REFERENCE_TIME lastNow_ = 0;
    SystemClock system_;
};

} // namespace graph
