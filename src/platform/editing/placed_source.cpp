#include "platform/editing/placed_source.h"

#include <algorithm>

namespace editing {

std::vector<PlacedSource> PlaceSources(const Group& group) {
    std::vector<PlacedSource> placed;
    for (int t = 0; t < group.GetTrackCount(); ++t) {
        const Track* track = group.GetTrack(t);
        for (int s = 0; s < track->GetSourceCount(); ++s) {
            const Source* source = track->GetSource(s);
            if (source->GetStartStop().Length() <= 0)
                continue;
            placed.push_back({source->GetStartStop(), source->GetMediaTimes(),
                              source->GetMediaName(), source->GetStretchMode()});
        }
    }
    std::stable_sort(placed.begin(), placed.end(), [](const PlacedSource& a, const PlacedSource& b) {
        return a.timeline.start < b.timeline.start;
    });
    return placed;
}

std::vector<PlacedSource> JoinContinuingPieces(std::vector<PlacedSource> sources) {
    const auto ownSpeed = [](const PlacedSource& s) { return s.media.Length() == s.timeline.Length(); };
    std::vector<PlacedSource> joined;
    for (PlacedSource& source : sources) {
        PlacedSource* last = joined.empty() ? nullptr : &joined.back();
        if (last && last->path == source.path && last->stretchMode == source.stretchMode &&
            last->timeline.stop == source.timeline.start && last->media.stop == source.media.start &&
            ownSpeed(*last) && ownSpeed(source)) {
            last->timeline.stop = source.timeline.stop;
            last->media.stop = source.media.stop;
        } else {
            joined.push_back(std::move(source));
        }
    }
    return joined;
}

REFERENCE_TIME GroupLength(const std::vector<PlacedSource>& sources) {
    REFERENCE_TIME length = 0;
    for (const PlacedSource& source : sources)
        length = std::max(length, source.timeline.stop);
    return length;
}

const PlacedSource* SourceAt(const std::vector<PlacedSource>& sources, REFERENCE_TIME t) {
    for (const PlacedSource& source : sources) {
        if (source.timeline.start > t)
            break;
        if (t < source.timeline.stop)
            return &source;
    }
    return nullptr;
}

} // namespace editing
