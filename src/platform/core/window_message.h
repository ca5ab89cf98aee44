#pragma once
// Posted window messages: a message number with two parameters, delivered later on the
// receiver's thread. Streaming threads use this to talk to the user-interface thread.
#include <QEvent>

#include <cstdint>

class QObject;

namespace core {

constexpr unsigned WM_USER = 0x0400;

}

// Messages the program posts to its windows.
constexpr unsigned WM_KEYDOWN = 0x0100;            // wParam: the key, lParam: its modifiers
constexpr unsigned WM_COMMAND = 0x0111;            // wParam: the command number
constexpr unsigned WM_PLAYERTICK = core::WM_USER + 3;  // a player polled its position
constexpr unsigned WM_GRAPHNOTIFY = core::WM_USER + 13; // a graph queued an event

namespace core {

class WindowMessageEvent : public QEvent {
  public:
    static QEvent::Type EventType();
    WindowMessageEvent(unsigned message, std::intptr_t wParam, std::intptr_t lParam);
    unsigned message;
    std::intptr_t wParam;
    std::intptr_t lParam;
};

// Safe to call from any thread; the event is dropped if the receiver is gone by then.
void PostMessage(QObject* receiver, unsigned message, std::intptr_t wParam = 0,
                 std::intptr_t lParam = 0);

} // namespace core
