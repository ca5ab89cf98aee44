// The picture and sound controls of a graph, answered by its renderers.
#include "platform/graph/filter_graph.h"
#include "platform/graph/render_controls.h"
#include "platform/graph/renderer.h"

namespace graph {
namespace {

// The first connected renderer among `filters` that plays the role, or null.
template <typename Role>
Role* FindConnected(const std::vector<std::shared_ptr<BaseFilter>>& filters) {
    for (const auto& filter : filters) {
        auto* renderer = dynamic_cast<Renderer*>(filter.get());
        auto* role = QueryFilterInterface<Role>(filter.get());
        if (renderer && role && renderer->Input()->IsConnected())
            return role;
    }
    return nullptr;
}

} // namespace

VideoWindowControl* FilterGraph::FindVideoWindow() const {
    return FindConnected<VideoWindowControl>(filters_);
}

VolumeControl* FilterGraph::FindVolume() const {
    return FindConnected<VolumeControl>(filters_);
}

HRESULT FilterGraph::put_Owner(QWidget* owner) {
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetOwner(owner);
    return S_OK;
}

HRESULT FilterGraph::get_Owner(QWidget** owner) {
    if (!owner)
        return E_POINTER;
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    *owner = renderer->Owner();
    return S_OK;
}

HRESULT FilterGraph::put_WindowStyle(long style) {
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetStyle(style);
    return S_OK;
}

HRESULT FilterGraph::get_WindowStyle(long* style) {
    if (!style)
        return E_POINTER;
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    *style = renderer->Style();
    return S_OK;
}

HRESULT FilterGraph::put_MessageDrain(QWidget* drain) {
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetDrain(drain);
    return S_OK;
}

HRESULT FilterGraph::put_Visible(long visible) {
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetVisible(visible != OAFALSE);
    return S_OK;
}

HRESULT FilterGraph::get_Visible(long* visible) {
    if (!visible)
        return E_POINTER;
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    *visible = renderer->Visible() ? OATRUE : OAFALSE;
    return S_OK;
}

HRESULT FilterGraph::SetWindowPosition(long left, long top, long width, long height) {
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetPlacement(QRect(left, top, width, height));
    return S_OK;
}

HRESULT FilterGraph::GetWindowPosition(long* left, long* top, long* width, long* height) {
    if (!left || !top || !width || !height)
        return E_POINTER;
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    QRect placement = renderer->Placement();
    if (placement.isEmpty())
        placement = QRect(QPoint(0, 0), renderer->VideoSize());
    *left = placement.left();
    *top = placement.top();
    *width = placement.width();
    *height = placement.height();
    return S_OK;
}

HRESULT FilterGraph::NotifyOwnerMessage(QWidget*, long, std::intptr_t, std::intptr_t) {
    // The owner's system messages (palette, display changes) reach the picture widget through
    // Qt itself; nothing needs forwarding.
    return FindVideoWindow() ? S_OK : E_NOINTERFACE;
}

HRESULT FilterGraph::GetVideoSize(long* width, long* height) {
    if (!width || !height)
        return E_POINTER;
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    const QSize size = renderer->VideoSize();
    *width = size.width();
    *height = size.height();
    return S_OK;
}

HRESULT FilterGraph::get_AvgTimePerFrame(double* seconds) {
    if (!seconds)
        return E_POINTER;
    VideoWindowControl* renderer = FindVideoWindow();
    if (!renderer)
        return E_NOINTERFACE;
    *seconds = static_cast<double>(renderer->AvgTimePerFrame()) / UNITS;
    return S_OK;
}

HRESULT FilterGraph::put_Volume(long volume) {
    VolumeControl* renderer = FindVolume();
    if (!renderer)
        return E_NOINTERFACE;
    if (volume > 0 || volume < -10000)
        return E_INVALIDARG;
    renderer->SetVolume(volume);
    return S_OK;
}

HRESULT FilterGraph::get_Volume(long* volume) {
    if (!volume)
        return E_POINTER;
    VolumeControl* renderer = FindVolume();
    if (!renderer)
        return E_NOINTERFACE;
    *volume = renderer->Volume();
    return S_OK;
}

} // namespace graph
