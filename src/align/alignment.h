#pragma once
// Finding synchronization points automatically: a camera records the picture with its own
// sound, locked to the picture; a separate recorder records better sound of the same scene.
// The two clocks run at slightly different rates (tens to hundreds of parts per million) and
// the recorder may have been paused. FindPoints compares the video's own sound with the
// separate recording and proposes points (video time, recording time) through which the
// recording lines up with the picture.
//
// How it works, briefly: both sounds are brought to one channel at one analysis rate; long
// stretches of the video's sound are looked for in the whole recording at a coarse rate, then
// windows of a few seconds are matched near where the coarse search put them, by phase-weighted
// cross-correlation refined to a fraction of a sample, each with a confidence. A consensus fit
// keeps the windows that agree on a straight line (recording time against video time) and
// ignores the others; a new line begins only where the recording jumps, and the edges of
// the jump are located on the sound itself. The points are read from the fitted lines, never
// from single windows.
//
// The map of one segment is recording = offset + video × (1 + driftPpm / 1e6), all times in
// 100-ns units after each file's start. A pause of the recorder shows as a stretch of video
// with nothing in the recording (videoFrom < videoTo, recording about the same on both sides);
// a pause of the camera as a jump of the recording at one video instant.
//
// Threads: FindPoints is pure computation over the two files and shares nothing, so it may run
// on any thread, several at once. It reports progress on the calling thread through the
// callback, which may also cancel it.
#include "platform/core/reftime.h"

#include <functional>
#include <string>
#include <vector>

namespace align {

struct ProposedPoint {
    REFERENCE_TIME video = 0;
    REFERENCE_TIME audio = 0; // in the separate recording
    // 0..1: how well the fitted map is known at this instant (its estimated error against
    // a tenth of a millisecond) and how much of the sound around it agrees with the map.
    double confidence = 0;
};

// A stretch of video whose sound the recording follows without a break.
struct Segment {
    REFERENCE_TIME videoFrom = 0;
    REFERENCE_TIME videoTo = 0;
    double driftPpm = 0;
    REFERENCE_TIME offset = 0; // recording time at video time 0 on this segment's line
};

// Where one segment ends and the next begins: the last video instant (and its recording time)
// of the one before, and the first of the one after.
struct Jump {
    REFERENCE_TIME videoFrom = 0;
    REFERENCE_TIME videoTo = 0;
    REFERENCE_TIME recordingFrom = 0;
    REFERENCE_TIME recordingTo = 0;
};

// Why a search that was not cancelled found no match.
enum class Refusal {
    None,
    VideoHasNoSound,
    VideoUnreadable,
    RecordingHasNoSound,
    RecordingUnreadable,
    VideoSilent,
    RecordingSilent,
    NoMatch,
    // Points from the file's own events: the picture, or the sound, holds none, or no two
    // pairs of them agree on one map.
    NoPictureEvents,
    NoSoundEvents,
    EventsDisagree,
};

struct Alignment {
    bool matched = false;
    bool cancelled = false;
    Refusal refusal = Refusal::None;
    // The reading failure's own words, for the Unreadable refusals.
    std::string detail;
    std::vector<ProposedPoint> points; // in video order; none unless matched
    std::vector<Segment> segments;     // in video order
    std::vector<Jump> jumps;           // between consecutive segments
    double driftPpm = 0;               // the clocks' difference, fitted over all segments
    REFERENCE_TIME offset = 0;         // the first segment's offset
};

// A search that found nothing, and why (with the reading failure's own words, if any); and one
// that was cancelled.
Alignment Refused(Refusal refusal, std::string detail = {});
Alignment Cancelled();

// Keeps the points where they can be composed: a point past the last picture (a video's
// sound often runs a little longer) moves back onto it along the fitted line; one before the
// start or outside the recording (`soundLength`) is left out.
void KeepPointsInside(Alignment& found, REFERENCE_TIME videoLength, REFERENCE_TIME soundLength);

// Compares the sound of the video at `videoPath` with the recording at `soundPath`.
// `progress` is told the fraction done (0..1) now and then; returning false cancels, and the
// result then has `cancelled` set and no points. A file that cannot be read, a file without
// sound or with a silent one, and recordings that do not match come back with `matched` false
// and the refusal.
Alignment FindPoints(const std::string& videoPath, const std::string& soundPath,
                     const std::function<bool(double fraction)>& progress);

} // namespace align
