#include "platform/graph/playback/audio_output.h"

#include <QAudioSink>
#include <QMediaDevices>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>

namespace graph {

namespace {
constexpr int kFeedPeriodMs = 5;
// Sound kept in our buffer and in the sink's; small, so a seek is heard at once.
constexpr int kBufferMs = 250;
constexpr int kSinkBufferMs = 100;

void SaySilentOnce() {
    static std::once_flag said;
    std::call_once(said, [] {
        std::fprintf(stderr, "No sound device: sound plays silently on the system clock.\n");
    });
}
} // namespace

AudioOutput::AudioOutput() = default;

AudioOutput::~AudioOutput() {
    clock_->RunFree();
    if (!thread_)
        return;
    RunOnAudioThread([this] {
        delete timer_;
        delete sink_;
        sink_ = nullptr;
    });
    thread_->quit();
    thread_->wait();
    // The thread is over, so nothing can be delivered to the context any more.
    delete context_;
    delete thread_;
}

void AudioOutput::RunOnAudioThread(const std::function<void()>& work) {
    QMetaObject::invokeMethod(context_, work, Qt::BlockingQueuedConnection);
}

bool AudioOutput::Open(const QAudioFormat& format) {
    if (sink_)
        return true;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        SaySilentOnce();
        return false;
    }
    if (!thread_) {
        thread_ = new QThread;
        thread_->setObjectName("audio output");
        context_ = new QObject;
        context_->moveToThread(thread_);
        thread_->start();
    }
    bytesPerSecond_ = format.bytesForDuration(1'000'000);
    capacity_ = format.bytesForDuration(kBufferMs * 1000);
    bool opened = false;
    RunOnAudioThread([&] {
        auto* sink = new QAudioSink(device, format);
        sinkBufferBytes_ = format.bytesForDuration(kSinkBufferMs * 1000);
        sink->setBufferSize(sinkBufferBytes_);
        device_ = sink->start();
        // Without a working device the sink stays stopped with an error and never signals.
        if (!device_ || sink->state() == QAudio::StoppedState || sink->error() != QAudio::NoError) {
            delete sink;
            return;
        }
        sink->suspend();
        sink_ = sink;
        // A device to wait for: nothing is heard until it plays.
        clock_->Hold();
        timer_ = new QTimer(context_);
        QObject::connect(timer_, &QTimer::timeout, context_, [this] { Feed(); });
        timer_->start(kFeedPeriodMs);
        opened = true;
    });
    if (!opened)
        SaySilentOnce();
    return opened;
}

bool AudioOutput::Write(const char* data, qint64 bytes, const std::function<bool()>& interrupted) {
    while (bytes > 0) {
        // Asked without our lock held: the callback takes the renderer's.
        if (interrupted())
            return false;
        std::unique_lock lock(mutex_);
        const qint64 n = std::min(capacity_ - pending_.size(), bytes);
        if (n <= 0) {
            drained_.wait_for(lock, std::chrono::milliseconds(kFeedPeriodMs));
            continue;
        }
        pending_.append(data, n);
        data += n;
        bytes -= n;
    }
    return true;
}

void AudioOutput::SetEnded() {
    std::lock_guard lock(mutex_);
    ended_ = true;
}

// Audio thread: moves what fits into the sink, then samples what has been heard.
void AudioOutput::Feed() {
    if (!sink_)
        return;
    {
        // A suspended sink takes nothing; the bytes wait here until it plays.
        std::lock_guard lock(mutex_);
        const qint64 n = std::min<qint64>(sink_->bytesFree(), pending_.size());
        if (n > 0) {
            const qint64 written = device_->write(pending_.constData(), n);
            if (written > 0) {
                pending_.remove(0, written);
                writtenBytes_ += written;
                drained_.notify_all();
            }
        }
    }
    Sample();
}

void AudioOutput::Sample() {
    const REFERENCE_TIME processed = sink_->processedUSecs() * 10;
    bool allHeard = false;
    {
        std::lock_guard lock(mutex_);
        const REFERENCE_TIME written = writtenBytes_ * UNITS / std::max<qint64>(bytesPerSecond_, 1);
        allHeard = ended_ && pending_.isEmpty() && processed >= written - UNITS / 1000;
    }
    clock_->Heard(heardBase_ + processed, playing_ && sink_->state() == QAudio::ActiveState);
    if (playing_ && allHeard && !free_) {
        free_ = true;
        clock_->RunFree();
    }
}

void AudioOutput::Play() {
    if (!sink_)
        return;
    RunOnAudioThread([this] {
        playing_ = true;
        free_ = false;
        clock_->Follow();
        sink_->resume();
        Sample();
    });
}

void AudioOutput::Pause() {
    if (!sink_)
        return;
    RunOnAudioThread([this] {
        playing_ = false;
        sink_->suspend();
        Sample();
        // After the end the sound is not waited for: a longer picture plays on.
        if (!free_)
            clock_->Hold();
    });
}

void AudioOutput::Discard() {
    if (!sink_)
        return;
    RunOnAudioThread([this] {
        const REFERENCE_TIME processed = sink_->processedUSecs() * 10;
        heardBase_ += processed;
        // Resetting the sink drops what the sound server holds; a new stream starts at 0.
        sink_->reset();
        // Asked for again each time: a restarted sink otherwise asks for what the server
        // granted last time, which the server shrinks at every start, until a stream of a
        // millisecond or two starves between feeds and plays at a fraction of its speed.
        sink_->setBufferSize(sinkBufferBytes_);
        device_ = sink_->start();
        if (!playing_)
            sink_->suspend();
        {
            std::lock_guard lock(mutex_);
            pending_.clear();
            writtenBytes_ = 0;
            ended_ = false;
            drained_.notify_all();
        }
        Sample();
    });
}

void AudioOutput::SetVolume(double volume) {
    if (!sink_)
        return;
    RunOnAudioThread([this, volume] { sink_->setVolume(volume); });
}

} // namespace graph
