#include "cli/interrupt_watch.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace cli {

namespace {

constexpr int kWatched[] = {SIGINT, SIGTERM};
// A signal handler may only write to a pipe; the event loop reads the other end.
int wakeUp[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakeUp[1], &byte, 1);
}

void Handle(void (*handler)(int), int flags) {
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    for (int signal : kWatched)
        sigaction(signal, &action, nullptr);
}

} // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt) {
    if (wakeUp[0] < 0 && pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this, onInterrupt] {
        char byte = 0;
        while (read(wakeUp[0], &byte, 1) == 1) {
        }
        Handle(SIG_DFL, 0);
        notifier_->setEnabled(false);
        onInterrupt();
    });
    // The handler gives way to the default at once, so a second signal ends the program
    // even while the loop is busy.
    Handle(OnSignal, SA_RESTART | SA_RESETHAND);
}

InterruptWatch::~InterruptWatch() {
    Handle(SIG_DFL, 0);
}

} // namespace cli
