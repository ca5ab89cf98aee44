#include "sync/composition_fault_text.h"

#include "sync/time_text.h"

namespace {

using Kind = avsync::CompositionFault::Kind;

QString Seconds(REFERENCE_TIME time) {
    return QString::fromStdString(avsync::TimeToText(time)) + " s";
}

QString EndBeforeStart(const char* what, REFERENCE_TIME start, REFERENCE_TIME end) {
    return QStringLiteral("The %1 end time (%2) is earlier than the %1 start time (%3). Correct "
                          "the times and try again.")
        .arg(QString::fromLatin1(what), Seconds(end), Seconds(start));
}

QString Reason(const avsync::SyncState& state, const avsync::CompositionFault& fault) {
    // Rows are counted from 1, so the point before this one is shown in row fault.point.
    auto earlierThanBefore = [&](const char* column, REFERENCE_TIME before) {
        return QStringLiteral("its %1 time is earlier than that of the point in row %2 (%3)")
            .arg(QString::fromLatin1(column))
            .arg(fault.point)
            .arg(Seconds(before));
    };
    switch (fault.kind) {
    case Kind::VideoOutsideStartAndEnd:
        return QStringLiteral("its video time lies outside the video start and end times "
                              "(%1 to %2)")
            .arg(Seconds(state.videoStart), Seconds(state.videoEnd));
    case Kind::VideoBeforePrevious:
        return earlierThanBefore("video", state.syncPoints[fault.point - 1].videoTime);
    case Kind::AudioOutsideSound:
        return QStringLiteral("its audio time lies outside the sound, which runs from 0 to %1")
            .arg(Seconds(state.audioDuration));
    case Kind::AudioOutsideStartAndEnd:
        return QStringLiteral("its audio time lies outside the audio start and end times "
                              "(%1 to %2)")
            .arg(Seconds(state.audioStart), Seconds(state.audioEnd));
    case Kind::AudioBeforePrevious:
        return earlierThanBefore("audio", state.syncPoints[fault.point - 1].audioTime);
    case Kind::VideoEndBeforeStart:
    case Kind::AudioEndBeforeStart:
    case Kind::NothingBetween:
    case Kind::VideoEndPastVideo:
        break;
    }
    return {};
}

} // namespace

QString CompositionFaultText(const avsync::SyncState& state,
                             const avsync::CompositionFault& fault) {
    if (fault.kind == Kind::VideoEndBeforeStart)
        return EndBeforeStart("video", state.videoStart, state.videoEnd);
    if (fault.kind == Kind::AudioEndBeforeStart)
        return EndBeforeStart("audio", state.audioStart, state.audioEnd);
    if (fault.kind == Kind::NothingBetween)
        return QStringLiteral("The video start and end times are both %1: there is nothing to "
                              "convert. Correct the times and try again.")
            .arg(Seconds(state.videoStart));
    if (fault.kind == Kind::VideoEndPastVideo)
        return QStringLiteral("The video end time (%1) lies after the end of the video (%2): the "
                              "picture keeps its own rate, so there is nothing to show after it. "
                              "Correct the end time and try again.")
            .arg(Seconds(state.videoEnd), Seconds(state.videoDuration));
    const avsync::SyncPoint& point = state.syncPoints[fault.point];
    return QStringLiteral("The point in row %1 of the synchronization list (video %2, audio %3) "
                          "cannot be composed: %4. From the start times through the points to the "
                          "end times, both the video and the audio times must run forward. Edit "
                          "or delete the point, or correct the start and end times, and try again.")
        .arg(fault.point + 1)
        .arg(Seconds(point.videoTime), Seconds(point.audioTime), Reason(state, fault));
}
