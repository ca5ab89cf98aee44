// The picture and sound controls of a graph, answered by its renderers.
#include "platform/graph/filter_graph.h"
#include "platform/graph/playback/audio_renderer.h"
#include "platform/graph/playback/video_renderer.h"

namespace graph {

VideoRenderer* FilterGraph::FindVideoRenderer() const {
    for (const auto& filter : filters_) {
        auto* renderer = dynamic_cast<VideoRenderer*>(filter.get());
        if (renderer && renderer->Input()->IsConnected())
            return renderer;
    }
    return nullptr;
}

AudioRenderer* FilterGraph::FindAudioRenderer() const {
    for (const auto& filter : filters_) {
        auto* renderer = dynamic_cast<AudioRenderer*>(filter.get());
        if (renderer && renderer->Input()->IsConnected())
            return renderer;
    }
    return nullptr;
}

HRESULT FilterGraph::put_Owner(QWidget* owner) {
    VideoRenderer* renderer = FindVideoRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetOwner(owner);
    return S_OK;
}

HRESULT FilterGraph::get_Owner(QWidget** owner) {
    if (!owner)
        return E_POINTER;
    VideoRenderer* renderer = FindVideoRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    *owner = renderer->Owner();
    return S_OK;
}

HRESULT FilterGraph::put_WindowStyle(long style) {
    VideoRenderer* renderer = FindVideoRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetStyle(style);
    return S_OK;
}

HRESULT FilterGraph::get_WindowStyle(long* style) {
    if (!style)
        return E_POINTER;
    VideoRenderer* renderer = FindVideoRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    *style = renderer->Style();
    return S_OK;
}

HRESULT FilterGraph::put_MessageDrain(QWidget* drain) {
    VideoRenderer* renderer = FindVideoRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetDrain(drain);
    return S_OK;
}

HRESULT FilterGraph::put_Visible(long visible) {
    VideoRenderer* renderer = FindVideoRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetVisible(visible != OAFALSE);
    return S_OK;
}

HRESULT FilterGraph::get_Visible(long* visible) {
    if (!visible)
        return E_POINTER;
    VideoRenderer* renderer = FindVideoRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    *visible = renderer->Visible() ? OATRUE : OAFALSE;
    return S_OK;
}

HRESULT FilterGraph::SetWindowPosition(long left, long top, long width, long height) {
    VideoRenderer* renderer = FindVideoRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetPlacement(QRect(left, top, width, height));
    return S_OK;
}

HRESULT FilterGraph::GetWindowPosition(long* left, long* top, long* width, long* height) {
    if (!left || !top || !width || !height)
        return E_POINTER;
    VideoRenderer* renderer = FindVideoRenderer();
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
    return FindVideoRenderer() ? S_OK : E_NOINTERFACE;
}

HRESULT FilterGraph::GetVideoSize(long* width, long* height) {
    if (!width || !height)
        return E_POINTER;
    VideoRenderer* renderer = FindVideoRenderer();
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
    VideoRenderer* renderer = FindVideoRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    *seconds = static_cast<double>(renderer->AvgTimePerFrame()) / UNITS;
    return S_OK;
}

HRESULT FilterGraph::put_Volume(long volume) {
    AudioRenderer* renderer = FindAudioRenderer();
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
    AudioRenderer* renderer = FindAudioRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    *volume = renderer->Volume();
    return S_OK;
}

} // namespace graph
