// "Find points automatically": the video's own sound is compared with the separate sound on
// a thread of its own, the proposals are shown, and the points the user keeps are added by
// the rule of Add point.
#include "align/align_text.h"
#include "app/find_points_progress.h"
#include "app/point_proposals_dialog.h"
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"

void CVellumDlg::OnFindPoints() {
    if (!videoPlayer || !UsesSeparateSound())
        return;
    FindPointsProgress progress(photoList[0].path, musicList[0].path, this);
    align::Alignment found = progress.Run();
    if (found.cancelled)
        return;
    if (!found.matched) {
        ui::MessageBox(this,
                       align::RefusalText(found) + ' ' +
                           Language().GetString(IDS_FIND_POINTS_NONE_ADDED),
                       FindPointsProgress::Caption());
        return;
    }
    align::KeepPointsInside(found, syncState.videoDuration, syncState.audioDuration);
    PointProposalsDialog proposals(found, this);
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
