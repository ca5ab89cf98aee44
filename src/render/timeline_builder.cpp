#include "timeline_builder.h"

#include "platform/ui/prompts.h"
#include "render/group_media_types.h"
#include "render/transition_kinds.h"
#include "sync/recording_jumps.h"

#include <algorithm>
#include <vector>

namespace render {

using editing::TimeSpan;

namespace {
// Both layouts ask for transitions of no length.
constexpr REFERENCE_TIME kTransitionLength = 0;

HRESULT Fail(HRESULT hr, const char* message) {
    ui::MessageBox(nullptr, message);
    return hr;
}

// One piece of the segmented layout: the picture between two neighbouring boundaries (the
// video start, the points' video times, the video end) keeps its length on the timeline, and
// the sound between the matching audio boundaries is fitted to it.
struct Segment {
    TimeSpan timeline;
    TimeSpan video;
    TimeSpan audio;
    bool betweenPoints = false; // not bounded by a start or end time
};

std::vector<Segment> SegmentsAtPoints(const avsync::SyncState& sync) {
    const int n = std::clamp(sync.syncCount, 0, avsync::kMaxSyncPoints);
    std::vector<Segment> segments;
    REFERENCE_TIME at = 0;
    for (int i = 0; i <= n; ++i) {
        Segment s;
        s.video.start = i == 0 ? sync.videoStart : sync.syncPoints[i - 1].videoTime;
        s.video.stop = i == n ? sync.videoEnd : sync.syncPoints[i].videoTime;
        s.audio.start = i == 0 ? sync.audioStart : sync.syncPoints[i - 1].audioTime;
        s.audio.stop = i == n ? sync.audioEnd : sync.syncPoints[i].audioTime;
        s.timeline = {at, at + s.video.Length()};
        s.betweenPoints = i > 0 && i < n;
        at = s.timeline.stop;
        segments.push_back(s);
    }
    return segments;
}
} // namespace

TimelineBuilder::TimelineBuilder(editing::Timeline& timeline, const CompositionInputs& in,
                                 REFERENCE_TIME photoListTotal)
    : timeline_(timeline), in_(in), photoListTotal_(photoListTotal) {}

HRESULT TimelineBuilder::AddVideoGroup() {
    std::unique_ptr<editing::Group> node;
    HRESULT hr = timeline_.CreateEmptyNode(node);
    if (FAILED(hr))
        return Fail(hr, "Could not create empty node");
    hr = node->SetMediaType(VideoGroupMediaType(in_.output.outputWidth, in_.output.outputHeight));
    if (FAILED(hr))
        return Fail(hr, "Could not pVideoGroup->SetMediaType(&mtGroup)");
    hr = node->SetOutputFPS(in_.output.outputFrameRate);
    if (FAILED(hr))
        return Fail(hr, "Could not SetOutputFPS");
    editing::Group& group = *node;
    hr = timeline_.AddGroup(std::move(node));
    if (FAILED(hr))
        return Fail(hr, "Could not add video group");

    const avsync::SyncState& sync = in_.sync;
    if (in_.singleSpan) {
        for (std::size_t i = 0; i < in_.photoList.Count(); ++i)
            AddVideoSource(group, in_.photoList[i].path, {0, sync.outputDuration},
                           {sync.videoStart, sync.videoEnd}, kTransitionLength,
                           static_cast<int>(i));
        return S_OK;
    }
    const std::vector<Segment> segments = SegmentsAtPoints(sync);
    for (std::size_t i = 0; i < segments.size(); ++i)
        AddVideoSource(group, in_.photoList[0].path, segments[i].timeline, segments[i].video,
                       kTransitionLength, static_cast<int>(i));
    return S_OK;
}

HRESULT TimelineBuilder::AddAudioGroup() {
    std::unique_ptr<editing::Group> node;
    HRESULT hr = timeline_.CreateEmptyNode(node);
    if (FAILED(hr))
        return Fail(hr, "Could not create pAudioGroupObj");
    hr = node->SetMediaType(AudioGroupMediaType());
    if (FAILED(hr))
        return Fail(hr, "Could not set AudioGroupType");
    node->SetKeepPitch(in_.output.keepPitch != 0);
    editing::Group& group = *node;
    hr = timeline_.AddGroup(std::move(node));
    if (FAILED(hr))
        return Fail(hr, "Could not add audio group");

    const avsync::SyncState& sync = in_.sync;
    const std::string& path = in_.musicList[0].path;
    if (in_.singleSpan) {
        AddAudioSource(group, path, {0, sync.outputDuration}, {sync.audioStart, sync.audioEnd});
        return S_OK;
    }
    for (const Segment& segment : SegmentsAtPoints(sync)) {
        // Nothing plays where the recording jumped between two points: the group is silent
        // there.
        if (!segment.betweenPoints ||
            !avsync::IsRecordingJump(segment.video.Length(), segment.audio.Length()))
            AddAudioSource(group, path, segment.timeline, segment.audio);
    }
    return S_OK;
}

HRESULT TimelineBuilder::AddVideoSource(editing::Group& group, const std::string& path,
                                        TimeSpan timeline, TimeSpan media,
                                        REFERENCE_TIME transitionLength, int transitionIndex) {
    std::unique_ptr<editing::Track> trackNode;
    HRESULT hr = timeline_.CreateEmptyNode(trackNode);
    if (FAILED(hr))
        return Fail(hr, "Could not create empty track");
    editing::Track& track = *trackNode;
    hr = group.VTrackInsBefore(std::move(trackNode), -1);
    if (FAILED(hr))
        return Fail(hr, "Could not insert track");

    std::unique_ptr<editing::Source> source;
    hr = timeline_.CreateEmptyNode(source);
    if (FAILED(hr))
        return Fail(hr, "Could not create the timeline source");
    // All four settings are made before any failure is reported.
    const HRESULT settings[] = {
        source->SetStartStop(timeline.start, timeline.stop),
        source->SetMediaTimes(media.start, media.stop),
        source->SetMediaName(path),
        source->SetStretchMode(in_.output.stretchMode),
    };
    for (HRESULT result : settings) {
        if (FAILED(result))
            return Fail(result, "Could not configure media source");
    }
    hr = track.SrcAdd(std::move(source));
    if (FAILED(hr))
        return Fail(hr, "Could not add source to track");

    if (timeline.Length() - transitionLength < 0) {
        ui::MessageBox(nullptr, "Transition time should be less than");
        return S_OK; // the source stays, without a transition
    }
    AddTransition(track, std::max<REFERENCE_TIME>(timeline.start, 0),
                  std::min(timeline.start + transitionLength, photoListTotal_), transitionIndex);
    return S_OK;
}

HRESULT TimelineBuilder::AddAudioSource(editing::Group& group, const std::string& path,
                                        TimeSpan timeline, TimeSpan media) {
    std::unique_ptr<editing::Track> trackNode;
    HRESULT hr = timeline_.CreateEmptyNode(trackNode);
    if (FAILED(hr))
        return Fail(hr, "Could not create pTrack3Obj");
    editing::Track& track = *trackNode;
    hr = group.VTrackInsBefore(std::move(trackNode), -1);
    if (FAILED(hr))
        return Fail(hr, "Could not insert pTrack3Obj");

    std::unique_ptr<editing::Source> source;
    hr = timeline_.CreateEmptyNode(source);
    if (FAILED(hr))
        return Fail(hr, "Could not create the pSource3Obj");
    source->SetStartStop(timeline.start, timeline.stop);
    hr = source->SetMediaTimes(media.start, media.stop);
    if (FAILED(hr))
        return Fail(hr, "Could not set audio start and eng time!");
    hr = source->SetMediaName(path);
    if (FAILED(hr))
        return Fail(hr, "Could not configure pSource3Src");
    hr = track.SrcAdd(std::move(source));
    if (FAILED(hr))
        return Fail(hr, "Could not add pSource3Obj to track");
    return S_OK;
}

HRESULT TimelineBuilder::AddTransition(editing::Track& track, REFERENCE_TIME start,
                                       REFERENCE_TIME stop, int index) {
    const bool listed = index >= 0 && static_cast<std::size_t>(index) < in_.photoList.Count();
    const auto kind = TransitionClassOfKind(listed ? in_.photoList[index].transitionType : 0);
    if (!kind)
        return S_OK;

    std::unique_ptr<editing::Transition> node;
    HRESULT hr = timeline_.CreateEmptyNode(node);
    if (FAILED(hr))
        return Fail(hr, "Could not CreateEmptyNode TIMELINE_MAJOR_TYPE_TRANSITION");
    hr = node->SetSubObjectGUID(kind->clsid);
    if (FAILED(hr))
        return Fail(hr, "Could not SetSubObjectGUID");
    hr = node->SetStartStop(start, stop);
    if (FAILED(hr))
        return Fail(hr, "Could not SetStartStop(TLTranStart, TLTranStop);");
    editing::Transition& transition = *node;
    hr = track.TransAdd(std::move(node));
    if (FAILED(hr))
        return Fail(hr, "Could not TransAdd(pTransObj)");
    if (!kind->maskNum)
        return S_OK;

    auto setter = std::make_unique<editing::PropertySetter>();
    hr = setter->AddProp("MaskNum", {{*kind->maskNum, 0, editing::DEXTERF_JUMP}});
    if (SUCCEEDED(hr))
        hr = transition.SetPropertySetter(std::move(setter));
    if (FAILED(hr))
        return Fail(hr, "Could not SetPropertySetter");
    return S_OK;
}

} // namespace render
