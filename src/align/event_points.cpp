#include "align/event_points.h"

#include "align/line_fit.h"
#include "align/picture_events.h"
#include "align/progress_span.h"
#include "align/sound_onsets.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace align {

namespace {
// Few candidates are right when the file is full of cuts and sounds: enough pairs are tried
// that the right line is found even then.
constexpr int kEventTrials = 20000;
// A file's own sound can run off much further than two clocks do: a picture sped up from
// film to PAL runs 4.3 % fast.
constexpr double kMaxEventDriftPpm = 50000;

double Seconds(REFERENCE_TIME t) {
    return double(t) / UNITS;
}
REFERENCE_TIME Time(double seconds) {
    return std::llround(seconds * UNITS);
}

// The event of `times` nearest `t` within `reach`.
std::optional<REFERENCE_TIME> Nearest(const std::vector<REFERENCE_TIME>& times, REFERENCE_TIME t,
                                      REFERENCE_TIME reach) {
    const auto after = std::lower_bound(times.begin(), times.end(), t);
    std::optional<REFERENCE_TIME> best;
    if (after != times.end() && *after - t <= reach)
        best = *after;
    if (after != times.begin() && t - *(after - 1) <= reach &&
        (!best || t - *(after - 1) < *best - t))
        best = *(after - 1);
    return best;
}

// One member per picture event: the pair nearest the line.
std::vector<int> OnePerPictureEvent(const std::vector<Match>& matches,
                                    const std::vector<int>& members, const Line& line) {
    std::map<double, int> best;
    for (int i : members) {
        const auto [place, added] = best.emplace(matches[i].video, i);
        const auto away = [&](int k) {
            return std::abs(matches[k].recording - line.At(matches[k].video));
        };
        if (!added && away(i) < away(place->second))
            place->second = i;
    }
    std::vector<int> kept;
    for (const auto& [video, i] : best)
        kept.push_back(i);
    return kept;
}
} // namespace

Alignment PointsFromEvents(const std::vector<REFERENCE_TIME>& picture,
                           const std::vector<REFERENCE_TIME>& sound, const EventSearch& search) {
    if (picture.empty())
        return Refused(Refusal::NoPictureEvents);
    if (sound.empty())
        return Refused(Refusal::NoSoundEvents);
    std::vector<Match> matches;
    for (REFERENCE_TIME v : picture) {
        const auto from =
            std::lower_bound(sound.begin(), sound.end(), v + search.offset - search.reach);
        for (auto a = from; a != sound.end() && *a <= v + search.offset + search.reach; ++a)
            matches.push_back({Seconds(v), Seconds(*a), 1.0});
    }
    std::vector<int> all(matches.size());
    for (int i = 0; i < int(all.size()); ++i)
        all[i] = i;
    const double tolerance = Seconds(search.frameDuration);
    const std::optional<Consensus> consensus =
        FindConsensus(matches, all, tolerance, kEventTrials, kMaxEventDriftPpm);
    if (!consensus)
        return Refused(Refusal::EventsDisagree);
    const std::vector<int> members =
        OnePerPictureEvent(matches, consensus->members, consensus->fit.line);
    const std::optional<LineFit> fit = FitLine(matches, members);
    if (!fit)
        return Refused(Refusal::EventsDisagree);

    Alignment found;
    found.matched = true;
    // How many of the events that could pair did: the share of the rarer side.
    const double agreement =
        std::min(1.0, double(members.size()) / double(std::min(picture.size(), sound.size())));
    for (const int i : {members.front(), members.back()}) {
        const double video = matches[i].video;
        found.points.push_back({Time(video), Time(fit->line.At(video)), agreement});
    }
    const Line& line = fit->line;
    found.driftPpm = (line.slope - 1) * 1e6;
    found.offset = Time(line.intercept);
    found.segments.push_back(
        {found.points.front().video, found.points.back().video, found.driftPpm, found.offset});
    return found;
}

std::optional<ProposedPoint> SnapToEvents(const std::vector<REFERENCE_TIME>& picture,
                                          const std::vector<REFERENCE_TIME>& sound,
                                          REFERENCE_TIME video, const EventSearch& search) {
    const std::optional<REFERENCE_TIME> frame = Nearest(picture, video, search.reach);
    if (!frame)
        return std::nullopt;
    const std::optional<REFERENCE_TIME> onset =
        Nearest(sound, *frame + search.offset, search.reach);
    if (!onset)
        return std::nullopt;
    return ProposedPoint{*frame, *onset, 1.0};
}

Alignment FindPointsFromEvents(const std::string& videoPath, const std::string& soundPath,
                               EventSearch search,
                               const std::function<bool(double fraction)>& progress) {
    std::vector<REFERENCE_TIME> picture, sound;
    REFERENCE_TIME frameDuration = 0;
    HRESULT hr =
        FindPictureEvents(videoPath, ProgressSpan(progress, 0, 0.6), &picture, &frameDuration);
    if (hr == E_ABORT)
        return Cancelled();
    if (FAILED(hr))
        return Refused(Refusal::VideoUnreadable, core::StatusText(hr));
    hr = FindSoundOnsets(soundPath, ProgressSpan(progress, 0.6, 1.0), &sound);
    if (hr == E_ABORT)
        return Cancelled();
    if (FAILED(hr)) {
        const bool own = soundPath == videoPath;
        if (hr == VFW_E_NOT_FOUND)
            return Refused(own ? Refusal::VideoHasNoSound : Refusal::RecordingHasNoSound);
        return Refused(own ? Refusal::VideoUnreadable : Refusal::RecordingUnreadable,
                       core::StatusText(hr));
    }
    if (frameDuration > 0)
        search.frameDuration = frameDuration;
    return PointsFromEvents(picture, sound, search);
}

} // namespace align
