#pragma once
// Short interface sounds, played without waiting. Tests replace the player to count plays.
#include <QUrl>

#include <memory>

namespace ui {

class Sounds {
  public:
    virtual ~Sounds() = default;
    // Plays the sound asynchronously; silently nothing when it or the device is unavailable.
    virtual void Play(const QUrl& sound) = 0;
};

Sounds& CurrentSounds();
std::unique_ptr<Sounds> InstallSounds(std::unique_ptr<Sounds> sounds);

} // namespace ui
