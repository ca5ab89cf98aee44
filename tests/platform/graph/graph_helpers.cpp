#include "graph_helpers.h"

#include "platform/core/window_message.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace graphtest {

using namespace graph;

PinCounts CountPins(const BaseFilter* filter) {
    PinCounts counts;
    for (const Pin* pin : filter->Pins())
        (pin->Direction() == PinDirection::Input ? counts.in : counts.out)++;
    return counts;
}

std::vector<BaseFilter*> FiltersNamed(FilterGraph& graph, const std::string& name) {
    std::vector<BaseFilter*> found;
    for (BaseFilter* filter : graph.EnumFilters()) {
        if (filter->Name() == name)
            found.push_back(filter);
    }
    return found;
}

BaseFilter* FindSourceFilter(FilterGraph& graph) {
    for (BaseFilter* filter : graph.EnumFilters()) {
        const PinCounts counts = CountPins(filter);
        if (counts.in == 0 && counts.out > 0)
            return filter;
    }
    return nullptr;
}

HRESULT RemoveDownstream(FilterGraph& graph, Pin* pin) {
    Pin* peer = pin->ConnectedTo();
    if (!peer || peer->Direction() != PinDirection::Input)
        return S_OK;
    BaseFilter* downstream = peer->Filter();
    for (Pin* out : downstream->Pins()) {
        if (out->Direction() == PinDirection::Output && out->ConnectedTo())
            RemoveDownstream(graph, out);
    }
    graph.Disconnect(peer);
    graph.Disconnect(pin);
    return graph.RemoveFilter(downstream);
}

void RemoveBranches(FilterGraph& graph, MajorType major, bool keep) {
    BaseFilter* source = FindSourceFilter(graph);
    BaseFilter* splitter = source->FindPin(PinDirection::Output, 0)->ConnectedTo()->Filter();
    for (int i = 0; Pin* pin = splitter->FindPin(PinDirection::Output, i); ++i) {
        MediaType type;
        if (FAILED(pin->ConnectionMediaType(&type)))
            break;
        if ((type.Major() == major) != keep)
            RemoveDownstream(graph, pin);
    }
}

bool MessageCounter::event(QEvent* event) {
    if (event->type() != core::WindowMessageEvent::EventType())
        return QObject::event(event);
    if (static_cast<core::WindowMessageEvent*>(event)->message == message_)
        ++count;
    return true;
}

bool WaitForEvent(FilterGraph& graph, long code, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        long got = 0;
        std::intptr_t p1 = 0, p2 = 0;
        while (SUCCEEDED(graph.GetEvent(&got, &p1, &p2, 0))) {
            graph.FreeEventParams(got, p1, p2);
            if (got == code)
                return true;
        }
    }
    return false;
}

} // namespace graphtest
