#include "build_timeline.h"

#include "platform/ui/prompts.h"
#include "render/timeline_builder.h"

namespace render {

Composition::Composition(TimelineFactory createTimeline)
    : createTimeline_(std::move(createTimeline)) {
    if (!createTimeline_) {
        createTimeline_ = [](std::unique_ptr<editing::Timeline>& timeline) {
            timeline = std::make_unique<editing::Timeline>();
            return S_OK;
        };
    }
}

HRESULT Composition::BuildTimeline(const CompositionInputs& in) {
    timeline_.reset();
    std::unique_ptr<editing::Timeline> timeline;
    HRESULT hr = createTimeline_(timeline);
    if (FAILED(hr) || !timeline) {
        ui::MessageBox(nullptr, "Could not create timeline", "Error", ui::MB_OK);
        return FAILED(hr) ? hr : E_POINTER;
    }
    timeline_ = std::move(timeline);

    photoListTotal_ = 0;
    for (std::size_t i = 0; i < in.photoList.Count(); ++i)
        photoListTotal_ += in.photoList[i].duration;

    TimelineBuilder builder(*timeline_, in, photoListTotal_);
    if (in.photoList.Count() > 0)
        builder.AddVideoGroup();
    if (in.musicList.Count() > 0)
        builder.AddAudioGroup();

    // A file that has moved since it was opened can be found again before rendering starts.
    timeline_->ValidateSourceNames(editing::SFN_VALIDATEF_CHECK | editing::SFN_VALIDATEF_POPUP |
                                   editing::SFN_VALIDATEF_REPLACE);
    return S_OK;
}

} // namespace render
