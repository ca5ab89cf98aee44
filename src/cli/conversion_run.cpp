#include "cli/conversion_run.h"

#include "cli/interrupt_watch.h"
#include "platform/core/window_message.h"
#include "platform/graph/event_queue.h"
#include "platform/ui/prompts.h"

#include <QEventLoop>
#include <QTimer>

namespace cli {
namespace {
constexpr int kProgressPeriodMs = 250;
}

ConversionRun::ConversionRun(render::Conversion& conversion) : conversion_(conversion) {}

RunEnd ConversionRun::Wait(const std::function<void(REFERENCE_TIME)>& progress) {
    QEventLoop loop;
    RunEnd end = RunEnd::Failed;
    finish_ = [&](RunEnd how) {
        end = how;
        loop.exit();
    };
    const InterruptWatch interrupts([this] {
        if (finish_)
            finish_(RunEnd::Stopped);
    });
    QTimer timer;
    timer.setInterval(kProgressPeriodMs);
    connect(&timer, &QTimer::timeout, this, [&] { progress(conversion_.WrittenTime()); });
    timer.start();
    // An event that arrived before the loop started is read first.
    QTimer::singleShot(0, this, [this] { ReadEvents(); });
    loop.exec();
    finish_ = nullptr;
    return end;
}

bool ConversionRun::event(QEvent* event) {
    if (event->type() != core::WindowMessageEvent::EventType())
        return QObject::event(event);
    if (static_cast<core::WindowMessageEvent*>(event)->message == WM_GRAPHNOTIFY)
        ReadEvents();
    return true;
}

void ConversionRun::ReadEvents() {
    long code = 0;
    std::intptr_t param1 = 0;
    std::intptr_t param2 = 0;
    while (finish_ && conversion_.pEvent &&
           SUCCEEDED(conversion_.pEvent->GetEvent(&code, &param1, &param2, 0))) {
        conversion_.pEvent->FreeEventParams(code, param1, param2);
        if (code == graph::EC_COMPLETE) {
            finish_(RunEnd::Completed);
            return;
        }
        if (code == graph::EC_ERRORABORT) {
            failureReason_ = render::FailureReason(conversion_, static_cast<HRESULT>(param1));
            finish_(RunEnd::Failed);
            return;
        }
    }
}

} // namespace cli
