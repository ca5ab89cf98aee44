#include "align/align_text.h"

#include "language/language.h"
#include "resources/resource.h"

#include <cmath>

namespace align {

QString RefusalText(const Alignment& found) {
    const QString detail = QString::fromStdString(found.detail);
    switch (found.refusal) {
    case Refusal::VideoHasNoSound:
        return Language().GetString(IDS_FIND_POINTS_VIDEO_NO_SOUND);
    case Refusal::VideoUnreadable:
        return Language().GetString(IDS_FIND_POINTS_VIDEO_UNREADABLE).arg(detail);
    case Refusal::RecordingHasNoSound:
        return Language().GetString(IDS_FIND_POINTS_SOUND_NO_SOUND);
    case Refusal::RecordingUnreadable:
        return Language().GetString(IDS_FIND_POINTS_SOUND_UNREADABLE).arg(detail);
    case Refusal::VideoSilent:
        return Language().GetString(IDS_FIND_POINTS_VIDEO_SILENT);
    case Refusal::RecordingSilent:
        return Language().GetString(IDS_FIND_POINTS_SOUND_SILENT);
    case Refusal::NoPictureEvents:
        return Language().GetString(IDS_EVENTS_NONE_IN_PICTURE);
    case Refusal::NoSoundEvents:
        return Language().GetString(IDS_EVENTS_NONE_IN_SOUND);
    case Refusal::EventsDisagree:
        return Language().GetString(IDS_EVENTS_DISAGREE);
    case Refusal::NoMatch:
    case Refusal::None:
        break;
    }
    return Language().GetString(IDS_FIND_POINTS_NO_MATCH);
}

QString DriftText(double ppm) {
    // Rounded first: what rounds to zero loses its sign with the + 0.0.
    const double shown = std::round(ppm * 100) / 100 + 0.0;
    return QString::number(shown, 'f', 2);
}

} // namespace align
