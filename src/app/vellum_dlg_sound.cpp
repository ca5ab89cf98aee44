// The main window's sound source: the video's own sound, or a separate recording of the same
// scene chosen from the pop-up menu. Whichever it is, it is musicList entry 0, so the sound
// player plays it and Preview and Convert compose it.
#include "app/audio_file_request.h"
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "media/probe.h"
#include "platform/ui/prompts.h"
#include "resources/menus.h"
#include "resources/resource.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

bool CVellumDlg::UsesSeparateSound() const {
    return photoList.Count() > 0 && musicList.Count() > 0 && musicList[0].path != photoList[0].path;
}

bool CVellumDlg::SeparateSoundAllowed() const {
    return videoPlayer && photoList.Count() > 0 && converting == 0 && previewRunning == 0;
}

void CVellumDlg::OnOpenSeparateSound() {
    if (!videoPlayer || photoList.Count() == 0)
        return;
    const std::optional<QString> chosen = ui::CurrentPrompts().OpenFileName(
        this, app::AudioFileRequest(Language().GetString(IDS_SEPARATE_SOUND_TITLE)));
    if (!chosen)
        return;
    app::RememberAudioFolder(*chosen);
    UseSeparateSoundFile(*chosen);
}

void CVellumDlg::UseSeparateSoundFile(const QString& file) {
    const REFERENCE_TIME length = media::SoundLength(file.toStdString());
    if (length <= 0) {
        ui::MessageBox(this, Language().GetString(IDS_SEPARATE_SOUND_NOT_PLAYABLE).arg(file),
                       Language().GetString(IDS_MESSAGE_ERROR));
        return;
    }
    const bool clear = ClearPointsForAnotherSound(file);
    if (SwitchSound(file, length) && clear)
        OnClearAll();
}

void CVellumDlg::OnUseVideoSound() {
    if (!videoPlayer || !UsesSeparateSound())
        return;
    const QString video = QString::fromStdString(photoList[0].path);
    const bool clear = ClearPointsForAnotherSound(video);
    if (SwitchSound(video, media::SoundLength(video.toStdString())) && clear)
        OnClearAll();
}

bool CVellumDlg::ClearPointsForAnotherSound(const QString& file) {
    const QFileInfo made(QString::fromStdString(pointsSound));
    // Points made with this very sound are right for it.
    if (syncState.syncCount == 0 || made.canonicalFilePath() == QFileInfo(file).canonicalFilePath())
        return false;
    return ui::MessageBox(this,
                          Language()
                              .GetString(IDS_SEPARATE_SOUND_CLEAR_POINTS)
                              .arg(made.fileName(), QFileInfo(file).fileName()),
                          Language().GetString(IDS_MESSAGE_WARNING),
                          ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES;
}

void CVellumDlg::NotePointsSources() {
    if (syncState.syncCount > 0) {
        if (pointsSound.empty() && musicList.Count() > 0)
            pointsSound = musicList[0].path; // the sound in use: nothing new to show
        // Kept for a list saved once the video is closed.
        if (photoList.Count() > 0)
            pointsVideo = photoList[0].path;
        return;
    }
    // The line may name the sound of points that are gone.
    const bool named = !pointsSound.empty();
    pointsSound.clear();
    pointsVideo.clear();
    if (named && photoList.Count() > 0)
        SetDlgItemText(IDC_STATIC_STATUS, SoundStatusLine());
}

bool CVellumDlg::SwitchSound(const QString& file, REFERENCE_TIME length) {
    const std::string path = file.toStdString();
    // The new player is opened before the old one goes: a file it cannot play (it says why)
    // leaves the sound in use playing.
    auto player = std::make_unique<preview::CVcdCore>(this, preview::AudioOnly);
    player->fileName = path;
    if (!player->OpenFile())
        return false;
    // The picture waits for the new sound, which starts where the picture stands, as both
    // start after a pause.
    const bool playing = videoPlayer->playState == preview::Running;
    videoPlayer->Pause();
    if (audioPlayer && audioPlayer->playState != preview::Init)
        audioPlayer->Close();
    audioPlayer = std::move(player);
    videoPlayer->KeepTimeWith(*audioPlayer);
    // A nudge made against the other sound means nothing for this one.
    syncState.audioOffset = 0;
    ShowAudioOffset();
    videoPlayer->PollPosition();
    audioPlayer->SeekTo(videoPlayer->currentPosition + syncState.audioOffset);
    if (playing)
        PlayPlayers();
    else
        audioPlayer->Cue();

    musicList[0] = {path, media::GraphLength(path)};
    RefreshMusicList();
    syncState.UseSound(length);
    ShowTimes();
    SetDlgItemText(IDC_STATIC_STATUS, SoundStatusLine());
    return true;
}

QString CVellumDlg::SoundStatusLine() const {
    const auto name = [](const std::string& path) {
        return QFileInfo(QString::fromStdString(path)).fileName();
    };
    QString line = StatusLine();
    const QString gap = QStringLiteral("     ");
    if (UsesSeparateSound())
        line += gap + Language().GetString(IDS_STATUS_SOUND).arg(name(musicList[0].path));
    if (!pointsSound.empty() && musicList.Count() > 0 && pointsSound != musicList[0].path)
        line += gap + Language().GetString(IDS_STATUS_POINTS_MADE_WITH).arg(name(pointsSound));
    return line;
}

void CVellumDlg::EnableSoundCommands(QMenu* menu) const {
    const bool videoOpen = SeparateSoundAllowed();
    for (auto [command, enabled] : {std::pair{IDM_OPEN_SEPARATE_SOUND, videoOpen},
                                    {IDM_USE_VIDEO_SOUND, videoOpen && UsesSeparateSound()},
                                    {IDM_FIND_POINTS, videoOpen && UsesSeparateSound()},
                                    {IDM_FIND_POINTS_FROM_EVENTS, videoOpen},
                                    {IDM_SYNC_VIEW, videoOpen}}) {
        if (QAction* action = resources::FindCommand(menu, command))
            action->setEnabled(enabled);
    }
}
