#pragma once
// Where an audio renderer sends its interleaved 16-bit sound, and the clock it then keeps.
// AudioOutput is the system's sound server; a test can put its own recorder here.
// Owned by its audio renderer: written on the streaming thread, started, paused and stopped
// on the user-interface thread.
#include "platform/graph/clock.h"

#include <QAudioFormat>

#include <functional>
#include <memory>

namespace graph {

class SoundOutput {
  public:
    virtual ~SoundOutput() = default;

    // False when there is nothing to play on; the renderer then runs silently.
    // User-interface thread.
    virtual bool Open(const QAudioFormat& format) = 0;
    // Appends sound; may block while full, giving up (false) as soon as `interrupted` says
    // so. Streaming thread.
    virtual bool Write(const char* data, qint64 bytes,
                       const std::function<bool()>& interrupted) = 0;
    // The stream has ended: once everything is heard the clock moves on freely. Streaming
    // thread; cleared by Discard.
    virtual void SetEnded() = 0;
    // User-interface thread.
    virtual void Play() = 0;
    virtual void Pause() = 0;
    // Drops everything not heard yet.
    virtual void Discard() = 0;
    // 0.0 to 1.0.
    virtual void SetVolume(double volume) = 0;
    // The time of the sound played, for the renderer's graph and any graph that keeps in step
    // with it; it outlives the output in whoever still holds it. Any thread.
    virtual std::shared_ptr<const ReferenceClock> Clock() const = 0;
};

} // namespace graph
