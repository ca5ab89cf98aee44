#include "platform/core/window_message.h"

#include <QCoreApplication>

namespace core {

QEvent::Type WindowMessageEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowMessageEvent::WindowMessageEvent(unsigned message_, std::intptr_t wParam_,
                                       std::intptr_t lParam_)
    : QEvent(EventType()), message(message_), wParam(wParam_), lParam(lParam_) {}

void PostMessage(QObject* receiver, unsigned message, std::intptr_t wParam,
                 std::intptr_t lParam) {
    QCoreApplication::postEvent(receiver, new WindowMessageEvent(message, wParam, lParam));
}

} // namespace core
