#include "cli/source_video.h"

#include "cli/auto_points.h"
#include "cli/stderr_prompts.h"
#include "language/language.h"
#include "media/probe.h"
#include "media/sound_only.h"
#include "platform/ui/prompts.h"
#include "render/composed_times.h"
#include "resources/resource.h"
#include "sync/composition_fault_text.h"
#include "sync/sync_list_file.h"
#include "sync/time_text.h"

#include <QFileInfo>

namespace cli {
namespace {

void Say(const QString& text) {
    ui::MessageBox(nullptr, text);
}

QString Seconds(REFERENCE_TIME time) {
    return QString::fromStdString(avsync::TimeToText(time));
}

// The points of a list, used with `sound`; a list that says it was made with another sound is
// used as it is, saying so.
bool LoadPoints(const QString& file, const std::string& sound, avsync::SyncState& sync) {
    const avsync::LoadedSyncList list = avsync::LoadSyncList(file.toStdString());
    switch (list.status) {
    case avsync::LoadedSyncList::Status::Loaded:
        sync.ReplacePoints(list.points);
        if (!list.points.empty() && !list.sources.sound.empty() && list.sources.sound != sound)
            Say(QStringLiteral("The points of %1 were made with the sound of %2, not with %3, "
                               "the sound used; they are used as they are.")
                    .arg(file, QString::fromStdString(list.sources.sound),
                         QString::fromStdString(sound)));
        return true;
    case avsync::LoadedSyncList::Status::Unreadable:
        Say("Can not read the synchronization list file " + file + ".");
        return false;
    case avsync::LoadedSyncList::Status::NotASyncList:
        Say("The file " + file +
            " is not a synchronization list: it has no [FILENAME] section "
            "whose TOTAL_SYNC_POINTS gives the number of points.");
        return false;
    case avsync::LoadedSyncList::Status::CountOutOfRange:
        Say(QStringLiteral("The synchronization list file %1 declares %2 points "
                           "(TOTAL_SYNC_POINTS), but a list holds 0 to %3 points.")
                .arg(file, QString::number(list.declaredCount),
                     QString::number(avsync::kMaxSyncPoints)));
        return false;
    case avsync::LoadedSyncList::Status::TimeOutOfRange:
        Say(QStringLiteral("The synchronization list file %1 holds %2=%3, which is not a time.")
                .arg(file, QString::fromStdString(list.badKey),
                     QString::fromStdString(list.badText)));
        return false;
    }
    return false;
}

// Calculate start, then Calculate end, on the times as they stand, as the main window's two
// buttons do one after the other.
bool Calculate(avsync::SyncState& sync) {
    if (sync.syncCount == 0) {
        Say("--calculate needs at least one point, and the synchronization list has none.");
        return false;
    }
    const bool computed =
        sync.syncCount == 1 ? (sync.SetStartsToZero(), true) : sync.CalculateStart(sync.Times());
    if (computed && sync.CalculateEnd({sync.videoStart, sync.videoEnd, sync.audioStart,
                                       sync.audioEnd, sync.outputDuration}))
        return true;
    Say("The points give no usable start or end times: two of them share the same video time "
        "or audio time, or the result lies beyond the range of times.");
    return false;
}

// The separate recording as the composition's sound, all of it used.
bool UseSeparateSound(const QString& file, SourceVideo& source) {
    const std::string path = file.toStdString();
    const REFERENCE_TIME length = media::SoundLength(path);
    if (length <= 0) {
        Say("Can not use " + file + " as the separate sound: " +
            (QFileInfo::exists(file) ? "it holds no sound that can be played."
                                     : "it does not exist."));
        return false;
    }
    source.musicList.Append({path, media::GraphLength(path)});
    source.sync.audioDuration = length;
    return true;
}

// The times composed; the output lasts the span, as the picture keeps its rate.
void PrintTimes(const avsync::SyncState& sync) {
    PrintMessage(QStringLiteral("%1 points; video %2 to %3 s, audio %4 to %5 s, output %6 s.")
                     .arg(sync.syncCount)
                     .arg(Seconds(sync.videoStart), Seconds(sync.videoEnd),
                          Seconds(sync.audioStart), Seconds(sync.audioEnd),
                          Seconds(sync.videoEnd - sync.videoStart)));
}

void ApplyGivenTimes(const ConvertOptions& options, avsync::SyncState& sync) {
    sync.videoStart = options.videoStart.value_or(sync.videoStart);
    sync.videoEnd = options.videoEnd.value_or(sync.videoEnd);
    sync.audioStart = options.audioStart.value_or(sync.audioStart);
    sync.audioEnd = options.audioEnd.value_or(sync.audioEnd);
}

} // namespace

bool OpenSource(const ConvertOptions& options, const slideshow::TransitionDefaults& transitions,
                SourceVideo& source) {
    const QFileInfo input(options.input);
    if (!input.isFile() || !input.isReadable()) {
        Say("Can not read the input file " + options.input + ": " +
            (input.exists() ? "it is no readable file." : "it does not exist."));
        return false;
    }
    const std::string path = options.input.toStdString();
    media::ProbedVideo probed;
    if (const QString failure = media::ProbeVideo(path, probed); !failure.isEmpty()) {
        // The window's advice names its pop-up menu; here the option does that.
        Say(media::HoldsSoundOnly(path)
                ? QStringLiteral("The file %1 holds sound but no picture. Give a video file as "
                                 "the input; a separate recording of its sound is given with "
                                 "--separate-sound FILE.")
                      .arg(options.input)
                : failure);
        return false;
    }
    source.width = probed.width;
    source.height = probed.height;
    source.frameRate = probed.frameRate;

    slideshow::PhotoEntry photo;
    photo.path = path;
    photo.duration = probed.length / UNITS * UNITS;
    photo.transitionType = slideshow::TransitionKindFor(transitions, 0, photo.transitionType);
    photo.transitionDuration =
        static_cast<REFERENCE_TIME>(transitions.defaultTransitionDuration) * UNITS;
    source.photoList.Append(photo);
    avsync::SyncState& sync = source.sync;
    // The file is read once for both lengths; its own sound's is kept only when used.
    REFERENCE_TIME ownSound = sync.audioDuration;
    media::StreamDurations(nullptr, path, sync.videoDuration, ownSound);
    if (options.separateSound.isEmpty()) {
        source.musicList.Append({path, probed.graphDuration});
        sync.audioDuration = ownSound;
    } else if (!UseSeparateSound(options.separateSound, source)) {
        return false;
    }
    sync.ResetForNewVideo();
    if (!options.syncList.isEmpty() &&
        !LoadPoints(options.syncList, source.musicList[0].path, sync))
        return false;
    if (options.autoPoints) {
        FoundDrift drift;
        if (!FindAutoPoints(path, options.separateSound.toStdString(), sync, drift))
            return false;
        source.drift = drift;
    }
    ApplyGivenTimes(options, sync);
    if ((options.calculate || options.autoPoints) && !Calculate(sync))
        return false;
    if (const auto fault = avsync::FindCompositionFault(sync)) {
        PrintTimes(sync);
        Say(CompositionFaultText(sync, *fault));
        return false;
    }
    sync = render::ComposedTimes(sync, path);
    PrintTimes(sync);
    return true;
}

} // namespace cli
