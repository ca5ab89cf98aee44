// Finding points: "Find points automatically" compares the video's own sound with the separate
// sound, "Find points from events" pairs the claps and flashes of the picture and the sound in
// use. Either runs on a thread of its own, the proposals are shown, and the points the user
// keeps are added by the rule of Add point.
#include "align/align_text.h"
#include "align/event_points.h"
#include "app/find_points_progress.h"
#include "app/point_proposals_dialog.h"
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"
#include "syncview/sync_view_window.h"

void CVellumDlg::OnFindPoints() {
    if (!videoPlayer || !UsesSeparateSound())
        return;
    const std::string video = photoList[0].path;
    const std::string sound = musicList[0].path;
    FindAndProposePoints(IDM_FIND_POINTS, IDS_FIND_POINTS_COMPARING, true,
                         [video, sound](const std::function<bool(double)>& progress) {
                             return align::FindPoints(video, sound, progress);
                         });
}

void CVellumDlg::OnFindPointsFromEvents() {
    if (!videoPlayer)
        return;
    // The open sync view has found the events already.
    if (syncView_ && syncView_->Canvas()->EventsReady())
        return syncView_->Canvas()->FindPointsFromEvents();
    const std::string video = photoList[0].path;
    const std::string sound = musicList[0].path;
    // The sound's events are looked for around where the offset in force puts them.
    align::EventSearch search;
    search.offset = syncState.audioOffset;
    FindAndProposePoints(IDM_FIND_POINTS_FROM_EVENTS, IDS_EVENTS_LOOKING, false,
                         [video, sound, search](const std::function<bool(double)>& progress) {
                             return align::FindPointsFromEvents(video, sound, search, progress);
                         });
}

void CVellumDlg::FindAndProposePoints(int command, int doing, bool withJumps,
                                      const FindPointsProgress::Search& search) {
    FindPointsProgress progress(search, command, doing, this);
    const align::Alignment found = progress.Run();
    if (found.cancelled)
        return;
    if (!found.matched) {
        ui::MessageBox(this,
                       align::RefusalText(found) + ' ' +
                           Language().GetString(IDS_FIND_POINTS_NONE_ADDED),
                       FindPointsProgress::Caption(command));
        return;
    }
    ShowProposals(found, withJumps);
}

void CVellumDlg::ShowProposals(align::Alignment found, bool withJumps) {
    align::KeepPointsInside(found, syncState.videoDuration, syncState.audioDuration);
    const int soundColumn =
        UsesSeparateSound() ? IDS_COLUMN_FOUND_SOUND_TIME : IDS_COLUMN_FOUND_OWN_SOUND_TIME;
    PointProposalsDialog proposals(found, soundColumn, withJumps, this);
    if (proposals.exec() != QDialog::Accepted)
        return;
    for (const avsync::SyncPoint& point : proposals.Chosen()) {
        if (!syncState.AddPoint(point)) {
            RefuseFullPointList();
            break;
        }
    }
    RedrawPointList();
}
