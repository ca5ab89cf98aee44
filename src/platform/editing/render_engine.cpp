#include "platform/editing/render_engine.h"

#include "platform/editing/audio_group_stream.h"
#include "platform/editing/video_group_stream.h"

namespace editing {

HRESULT CreateGroupStream(const Group& group, std::unique_ptr<GroupStream>* out) {
    const AM_MEDIA_TYPE& type = group.GetMediaType();
    std::vector<PlacedSource> sources = PlaceSources(group);
    if (type.majortype == MEDIATYPE_Video) {
        const auto* info = std::get_if<VIDEOINFOHEADER>(&type.format);
        if (!info)
            return E_INVALIDARG;
        std::unique_ptr<VideoGroupStream> video;
        const HRESULT hr = VideoGroupStream::Create(std::move(sources), info->bmiHeader.biWidth,
                                                    info->bmiHeader.biHeight, group.GetOutputFPS(),
                                                    group.GetFollowSourceFrameTimes(), &video);
        *out = std::move(video);
        return hr;
    }
    if (type.majortype == MEDIATYPE_Audio) {
        std::unique_ptr<AudioGroupStream> audio;
        const HRESULT hr =
            AudioGroupStream::Create(std::move(sources), group.GetKeepPitch(), &audio);
        *out = std::move(audio);
        return hr;
    }
    return E_INVALIDARG;
}

RenderEngine::~RenderEngine() {
    ScrapIt();
}

HRESULT RenderEngine::SetTimelineObject(Timeline* timeline) {
    if (!timeline)
        return E_POINTER;
    timeline_ = timeline;
    return S_OK;
}

HRESULT RenderEngine::GetTimelineObject(Timeline** timeline) const {
    if (!timeline)
        return E_POINTER;
    *timeline = timeline_;
    return timeline_ ? S_OK : S_FALSE;
}

HRESULT RenderEngine::SetDynamicReconnectLevel(long) {
    return S_OK;
}

HRESULT RenderEngine::ConnectFrontEnd() {
    if (!timeline_)
        return E_UNEXPECTED;
    ScrapIt();
    std::vector<std::unique_ptr<GroupStream>> streams;
    for (int i = 0; i < timeline_->GetGroupCount(); ++i) {
        std::unique_ptr<GroupStream> stream;
        const HRESULT hr = CreateGroupStream(*timeline_->GetGroup(i), &stream);
        if (FAILED(hr))
            return hr;
        streams.push_back(std::move(stream));
    }
    auto frontEnd = std::make_unique<TimelineFrontEnd>(std::move(streams));
    frontEnd_ = frontEnd.get();
    graph_ = std::make_unique<graph::FilterGraph>();
    return graph_->AddFilter(std::move(frontEnd));
}

HRESULT RenderEngine::RenderOutputPins() {
    if (!graph_)
        return E_UNEXPECTED;
    for (int i = 0; graph::Pin* pin = frontEnd_->GroupPin(i); ++i) {
        if (pin->IsConnected())
            continue;
        const HRESULT hr = graph_->Render(pin);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT RenderEngine::GetFilterGraph(graph::FilterGraph** graph) const {
    if (!graph)
        return E_POINTER;
    *graph = graph_.get();
    return graph_ ? S_OK : E_UNEXPECTED;
}

HRESULT RenderEngine::GetGroupOutputPin(long group, graph::Pin** pin) const {
    if (!pin)
        return E_POINTER;
    *pin = frontEnd_ ? frontEnd_->GroupPin(static_cast<int>(group)) : nullptr;
    return *pin ? S_OK : E_INVALIDARG;
}

HRESULT RenderEngine::ComposeInBackground() {
    if (!frontEnd_)
        return E_UNEXPECTED;
    frontEnd_->ComposeInBackground();
    return S_OK;
}

HRESULT RenderEngine::ScrapIt() {
    if (graph_) {
        graph_->Stop();
        graph_.reset();
    }
    frontEnd_ = nullptr;
    return S_OK;
}

} // namespace editing
