#include "cli/auto_points.h"

#include "align/align_text.h"
#include "align/event_points.h"
#include "platform/ui/prompts.h"
#include "sync/time_text.h"

#include <QString>

#include <cstdio>

namespace cli {
namespace {

QString Seconds(REFERENCE_TIME time) {
    return QString::fromStdString(avsync::TimeToText(time));
}

// The points, the drift and the jumps on standard output, where a script can read them
// apart from the messages.
void PrintAlignment(const align::Alignment& found, const QString& soundName) {
    QString text = QStringLiteral("Points found: %1 (video s, %2 s, confidence)\n")
                       .arg(found.points.size())
                       .arg(soundName);
    for (const align::ProposedPoint& point : found.points)
        text += QStringLiteral("  %1  %2  %3\n")
                    .arg(Seconds(point.video), Seconds(point.audio))
                    .arg(point.confidence, 0, 'f', 2);
    text += QStringLiteral("Drift: %1 ppm, offset: %2 s\n")
                .arg(align::DriftText(found.driftPpm), Seconds(found.offset));
    for (const align::Jump& jump : found.jumps)
        text += QStringLiteral("Jump: video %1 to %2 s, %3 %4 to %5 s\n")
                    .arg(Seconds(jump.videoFrom), Seconds(jump.videoTo), soundName,
                         Seconds(jump.recordingFrom), Seconds(jump.recordingTo));
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

bool FindAutoPoints(const std::string& videoPath, const std::string& soundPath,
                    avsync::SyncState& sync, FoundDrift& drift) {
    const bool separate = !soundPath.empty();
    align::Alignment found =
        separate ? align::FindPoints(videoPath, soundPath, nullptr)
                 : align::FindPointsFromEvents(videoPath, videoPath, align::EventSearch{}, nullptr);
    if (!found.matched) {
        ui::MessageBox(nullptr,
                       "No points found: " + align::RefusalText(found) + " Nothing was written.");
        return false;
    }
    align::KeepPointsInside(found, sync.videoDuration, sync.audioDuration);
    drift = {found.driftPpm, found.offset};
    PrintAlignment(found, separate ? QStringLiteral("separate sound") : QStringLiteral("sound"));
    sync.ClearPoints();
    for (const align::ProposedPoint& point : found.points) {
        if (!sync.AddPoint(avsync::SyncPoint{point.video, point.audio})) {
            ui::MessageBox(nullptr, QStringLiteral("More points were found than a list holds "
                                                   "(%1); the conversion was not started.")
                                        .arg(avsync::kMaxSyncPoints));
            return false;
        }
    }
    return true;
}

} // namespace cli
