#include "platform/ui/sounds.h"

#include <QCoreApplication>
#include <QHash>
#include <QSoundEffect>

namespace ui {
namespace {

class EffectSounds : public Sounds {
  public:
    void Play(const QUrl& sound) override {
        if (sound.isEmpty())
            return;
        QSoundEffect*& effect = effects_[sound];
        if (!effect) {
            // Owned by the application, so the effects go before the sound system does.
            effect = new QSoundEffect(QCoreApplication::instance());
            effect->setSource(sound);
        }
        // A sound still playing is not restarted: hovering across buttons quickly stays quiet.
        if (!effect->isPlaying())
            effect->play();
    }
  private:
    QHash<QUrl, QSoundEffect*> effects_;
};

std::unique_ptr<Sounds>& Slot() {
    static std::unique_ptr<Sounds> sounds;
    return sounds;
}

} // namespace

Sounds& CurrentSounds() {
    if (!Slot())
        Slot() = std::make_unique<EffectSounds>();
    return *Slot();
}

std::unique_ptr<Sounds> InstallSounds(std::unique_ptr<Sounds> sounds) {
    std::unique_ptr<Sounds> previous = std::move(Slot());
    Slot() = std::move(sounds);
    return previous;
}

} // namespace ui
