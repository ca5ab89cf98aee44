#pragma once
// Ctrl-C (SIGINT) and SIGTERM while a conversion runs: the first one of either is handed to
// the event loop, which stops the conversion as the Stop button does; a second one ends the
// program at once, as without the watch.
#include <QObject>

#include <functional>

class QSocketNotifier;

namespace cli {

class InterruptWatch : public QObject {
  public:
    explicit InterruptWatch(std::function<void()> onInterrupt);
    // The signals end the program again.
    ~InterruptWatch() override;

  private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace cli
