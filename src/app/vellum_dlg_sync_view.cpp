// The sync view, opened from the pop-up menu or with V: the main window is its host, handing it
// the files in use, the players and the synchronization state.
#include "app/vellum_dlg.h"
#include "syncview/sync_view_window.h"

void CVellumDlg::OnSyncView() {
    if (!videoPlayer)
        return;
    if (!syncView_)
        syncView_ = std::make_unique<syncview::SyncViewWindow>(*this, this);
    syncView_->show();
    syncView_->raise();
    syncView_->activateWindow();
}

void CVellumDlg::CloseSyncView() {
    syncView_.reset();
}

std::string CVellumDlg::VideoPath() const {
    return photoList.Count() > 0 ? photoList[0].path : std::string();
}

std::string CVellumDlg::SoundPath() const {
    return musicList.Count() > 0 ? musicList[0].path : std::string();
}

REFERENCE_TIME CVellumDlg::VideoPosition() const {
    return videoPlayer ? videoPlayer->currentPosition : 0;
}

REFERENCE_TIME CVellumDlg::AudioPosition() const {
    return audioPlayer ? audioPlayer->currentPosition : 0;
}

const avsync::SyncState& CVellumDlg::Sync() const {
    return syncState;
}

void CVellumDlg::SeekTo(REFERENCE_TIME video) {
    if (!videoPlayer)
        return;
    CancelPendingStart();
    videoPlayer->SeekTo(video);
    videoPlayer->PollPosition();
    if (audioPlayer)
        audioPlayer->SeekTo(video + syncState.audioOffset);
}

void CVellumDlg::SetAudioOffset(REFERENCE_TIME offset) {
    syncState.audioOffset = offset;
    // The sound goes the offset from where the picture is now.
    if (videoPlayer && audioPlayer) {
        videoPlayer->PollPosition();
        audioPlayer->SeekTo(videoPlayer->currentPosition + offset);
    }
    ShowAudioOffset();
}

void CVellumDlg::AddPointHere() {
    OnAddPoint();
}

void CVellumDlg::ProposePoints(const align::Alignment& found) {
    ShowProposals(found, false);
}
