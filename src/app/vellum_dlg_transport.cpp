// The main window's transport: the two source players that play the same video, one for the
// picture and one for the sound, moved together with the sound shifted by the audio offset.
#include "app/vellum_app.h"
#include "app/vellum_dlg.h"
#include "controls/bitmap_slider.h"
#include "language/language.h"
#include "platform/settings/store.h"
#include "preview/preview_window.h"
#include "preview/vcd_core.h"
#include "resources/resource.h"

namespace {

REFERENCE_TIME StepOf(double seconds) { return static_cast<REFERENCE_TIME>(seconds * 10'000'000.0); }

// A read-out: the language's label text with the time in seconds put in.
QString ReadOut(int label, const char* format, REFERENCE_TIME time) {
    return Language().GetString(label).arg(
        QString::asprintf(format, static_cast<double>(time) / 10'000'000.0));
}

QString OffsetText(REFERENCE_TIME offset) {
    return ReadOut(IDS_READOUT_OFFSET, "%+.3f", offset);
}

} // namespace

bool CVellumDlg::OpenPlayers(const QString& path) {
    syncState.audioOffset = 0;
    // Kept in the settings for older set-ups; the players always start in a window.
    settings::Profile().GetProfileInt("Setup", "g_bFullscreen", 0);
    videoPlayer = std::make_unique<preview::CVcdCore>(this, preview::VideoOnly);
    audioPlayer = std::make_unique<preview::CVcdCore>(this, preview::AudioOnly);
    videoPlayer->fileName = path.toStdString();
    bool opened = videoPlayer->OpenFile();
    if (opened) {
        audioPlayer->fileName = path.toStdString();
        opened = audioPlayer->OpenFile();
    }
    if (!opened) {
        ClosePlayers();
        return false;
    }
    // The picture waits whenever the sound is held up, so the two stay the offset apart.
    videoPlayer->KeepTimeWith(*audioPlayer);
    MoveClearOfWindows(*videoPlayer);
    ShowAudioOffset();
    return true;
}

void CVellumDlg::MoveClearOfWindows(preview::CVcdCore& player) {
    std::vector<QRect> shown{frameGeometry()};
    for (const preview::CVcdCore* other : {videoPlayer.get(), resultPlayer.get()}) {
        if (other && other != &player && other->m_hWnd && other->m_hWnd->isVisible())
            shown.push_back(other->m_hWnd->frameGeometry());
    }
    player.MoveClearOf(shown, ControlRects());
}

void CVellumDlg::StartPlayersFromZero() {
    if (!videoPlayer || !audioPlayer)
        return;
    videoPlayer->SeekTo(0);
    audioPlayer->SeekTo(0);
    PlayPlayers();
}

void CVellumDlg::CuePlayers() {
    // The sound first: from the moment its device is open its clock stands still until it
    // plays, so the picture, which keeps time by that clock, cannot run ahead meanwhile.
    for (preview::CVcdCore* player : {audioPlayer.get(), videoPlayer.get()}) {
        if (player)
            player->Cue();
    }
}

void CVellumDlg::PlayPlayers() {
    CuePlayers();
    // The picture starts on the sound's standing clock, and the sound then moves it.
    for (preview::CVcdCore* player : {videoPlayer.get(), audioPlayer.get()}) {
        if (player)
            player->Play();
    }
}

void CVellumDlg::ClosePlayers() {
    CancelPendingStart();
    // The view shows the video being closed.
    CloseSyncView();
    for (std::unique_ptr<preview::CVcdCore>* player : {&videoPlayer, &audioPlayer}) {
        if (!*player)
            continue;
        if ((*player)->playState != preview::Init)
            (*player)->Close();
        player->reset();
    }
    seekBarPosition = 0;
    Item<CBitmapSlider>(IDC_SLIDER_POSITION)->setValue(0);
    ShowAudioOffset();
    update();
}

void CVellumDlg::OnClosePlayers() {
    ClosePlayers();
    photoList.Clear();
    musicStart = 0;
    musicEnd = 0;
    SetDlgItemText(IDC_STATIC_MUSIC_START, "00:00:00");
    SetDlgItemText(IDC_STATIC_MUSIC_END, "00:00:00");
    SetDlgItemText(IDC_STATIC_TOTAL_DURATION, "");
    DisableAndClear();
    ShowTimes();
    // The points stay on show; they can still be saved.
    EnableDlgItem(IDC_BUTTON_SAVE_SYNC_LIST, syncState.syncCount > 0);
}

void CVellumDlg::CancelPendingStart() {
    ++openGeneration_;
}

void CVellumDlg::OnTransport(int id) {
    // The user has taken over: the start from 0 that follows an open does not come any more.
    CancelPendingStart();
    if (id == IDC_BUTTON_STOP) {
        syncState.audioOffset = 0;
        ShowAudioOffset();
    }
    if (!videoPlayer)
        return;
    if (id == IDC_BUTTON_PLAY)
        return PlayPlayers();
    for (preview::CVcdCore* player : {videoPlayer.get(), audioPlayer.get()}) {
        if (!player)
            continue;
        switch (id) {
        case IDC_BUTTON_PAUSE:
            player->Pause();
            break;
        case IDC_BUTTON_STOP:
            player->Stop();
            break;
        case IDC_BUTTON_JUMP_FORWARD:
            player->SkipSeconds(syncState.skipForwardSeconds);
            break;
        case IDC_BUTTON_JUMP_BACKWARD:
            player->SkipSeconds(-syncState.skipBackwardSeconds);
            break;
        default:
            break;
        }
    }
}

void CVellumDlg::OnAudioOffset(int id) {
    CancelPendingStart();
    // The sound goes the offset from where the picture is now, not where the last poll saw it.
    if (audioPlayer)
        videoPlayer->PollPosition();
    switch (id) {
    case IDC_BUTTON_AUDIO_JUMP_FORWARD:
        syncState.audioOffset += StepOf(syncState.audioSkipForwardSeconds);
        if (audioPlayer) {
            const REFERENCE_TIME v = videoPlayer->currentPosition;
            videoPlayer->SeekTo(v);
            audioPlayer->SeekTo(v + syncState.audioOffset);
        }
        break;
    case IDC_BUTTON_AUDIO_VIDEO_RESTORE:
        return SetAudioOffset(0);
    case IDC_BUTTON_AUDIO_JUMP_BACKWARD:
        return SetAudioOffset(syncState.audioOffset - StepOf(syncState.audioSkipBackwardSeconds));
    default:
        return;
    }
    ShowAudioOffset();
}

void CVellumDlg::ShowAudioOffset() {
    // The offset shifts the sound player; with no players there is nothing it applies to.
    SetDlgItemText(IDC_EDIT_AUDIO_OFFSET,
                   videoPlayer ? OffsetText(syncState.audioOffset) : QString());
}

void CVellumDlg::OnSeekBarReleased() {
    CancelPendingStart();
    seekBarPosition = Item<CBitmapSlider>(IDC_SLIDER_POSITION)->value();
    if (!videoPlayer || videoPlayer->stopPosition == 0)
        return;
    const auto target = static_cast<REFERENCE_TIME>(
        (seekBarPosition / 600.0) * static_cast<double>(videoPlayer->stopPosition));
    SeekTo(target);
}

void CVellumDlg::OnPlayerTick() {
    if (*SliderDraggingFlag() != 0)
        return;
    if (!videoPlayer) {
        SetDlgItemText(IDC_STATIC_TOTAL_DURATION, "");
        return;
    }
    const REFERENCE_TIME a = videoPlayer->currentPosition;
    const REFERENCE_TIME b = videoPlayer->stopPosition;
    SetDlgItemText(IDC_STATIC_TOTAL_DURATION, ReadOut(IDS_READOUT_TOTAL_DURATION, "%.7f", b));
    if (audioPlayer) {
        SetDlgItemText(IDC_EDIT_VIDEO_POSITION, ReadOut(IDS_READOUT_VIDEO, "%.1f", a));
        // A video without sound has no sound position; saying so also explains a silent preview.
        SetDlgItemText(IDC_EDIT_AUDIO_POSITION,
                       syncState.audioDuration > 0
                           ? ReadOut(IDS_READOUT_AUDIO, "%.1f", audioPlayer->currentPosition)
                           : Language().GetString(IDS_READOUT_NO_AUDIO));
    }
    seekBarPosition = b != 0 ? static_cast<int>(static_cast<double>(a) / static_cast<double>(b) * 600) : 0;
    Item<CBitmapSlider>(IDC_SLIDER_POSITION)->setValue(seekBarPosition);
}
