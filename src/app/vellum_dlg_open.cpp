// "Open Video": probe the file, make it the clip and the sound of the composition, open the
// two players on it and start from 0 with the synchronization state reset. A video dropped on
// the window or named on the command line opens the same way; a dropped sound or
// synchronization list is taken up as what it is.
#include "app/audio_file_request.h"
#include "app/clock_text.h"
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "media/probe.h"
#include "media/sound_only.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"
#include "sync/sync_list_file.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTableWidget>
#include <QTimer>

namespace {

// A synchronization list is an .ini file, as Load sync list offers it.
bool IsSyncListName(const QString& file) {
    return QFileInfo(file).suffix().compare(QLatin1String("ini"), Qt::CaseInsensitive) == 0;
}

// The wait cursor for the length of one operation.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void CVellumDlg::OnOpenVideo() {
    settings::Store& store = settings::Profile();
    ui::FileDialogRequest request;
    request.title = Language().GetString(IDS_MESSAGE_OPEN_FILE);
    request.filters = {{Language().GetString(IDS_FILTER_ANY_FILES), "*.*"},
                       {Language().GetString(IDS_FILTER_VIDEO_FILES),
                        "*.mpeg;*.mpg;*.avi;*.asf;*.wmv;*.dat;*.vob;*.ogm;*.divx;*.div;*.mkv"}};
    request.initialFolder = store.GetProfileString("Option", "LastPhotoFolder", "");
    request.mustExist = true;
    const std::optional<QString> chosen = ui::CurrentPrompts().OpenFileName(this, request);
    if (chosen && AllowDroppingUnsavedPoints())
        OpenVideoFile(*chosen);
}

void CVellumDlg::OpenVideoFile(const QString& file) {
    settings::Store& store = settings::Profile();
    const std::string path = file.toStdString();

    WaitCursor wait;
    // A file that cannot be opened leaves the current video, its clip and its points alone.
    media::ProbedVideo probed;
    if (const QString failure = media::ProbeVideo(path, probed); !failure.isEmpty()) {
        ui::MessageBox(this, failure, Language().GetString(IDS_MESSAGE_ERROR));
        return;
    }
    // The preview composes the video being replaced: it ends before its players close.
    if (previewRunning == 1)
        StopPreview();
    const QFileInfo measured(file);
    openedSize_ = measured.size();
    openedModified_ = measured.lastModified();
    photoList.Clear();
    musicList.Clear();
    syncState.syncCount = 0;
    nativeWidth = output.outputWidth = probed.width;
    nativeHeight = output.outputHeight = probed.height;
    output.sourceFrameRate = probed.frameRate;

    const REFERENCE_TIME wholeSeconds = probed.length / UNITS;
    transitionDefaults.defaultPhotoDuration = static_cast<int>(wholeSeconds);
    slideshow::PhotoEntry photo;
    photo.path = path;
    photo.duration = wholeSeconds * UNITS;
    photo.transitionType = slideshow::TransitionKindFor(transitionDefaults, 0, photo.transitionType);
    photo.transitionDuration = static_cast<REFERENCE_TIME>(transitionDefaults.defaultTransitionDuration) * UNITS;
    photoList.Append(photo);
    musicList.Append({path, probed.graphDuration});
    RefreshMusicList();
    store.WriteProfileString("Option", "LastPhotoFolder", QString::fromStdString(avsync::FolderOf(path)));

    musicStart = 0;
    musicEnd = photo.duration;
    SetDlgItemText(IDC_STATIC_TOTAL_DURATION, ClockText(0) + " / " + ClockText(musicEnd / UNITS));
    SetDlgItemText(IDC_STATIC_MUSIC_END, ClockText(musicEnd / UNITS));

    ClosePlayers();
    if (OpenPlayers(file)) {
        CuePlayers();
        // Both start from 0 a second later, without holding up the window meanwhile.
        const int generation = ++openGeneration_;
        QTimer::singleShot(1000, this, [this, generation] {
            if (generation == openGeneration_)
                StartPlayersFromZero();
        });
    }
    EnableWorkingSet();
    SetDlgItemText(IDC_STATIC_STATUS, StatusLine());
    if (output.frameRateIndex == 0)
        output.outputFrameRate = output.sourceFrameRate;
    // A stream the file lacks has no length: nothing of the previous video's stays.
    syncState.audioDuration = 0;
    syncState.videoDuration = 0;
    media::StreamDurations(this, path, syncState.videoDuration, syncState.audioDuration);
    syncState.ResetForNewVideo();
    ShowTimes();
    RedrawPointList();
}

bool CVellumDlg::CheckVideoUnchanged() {
    const QFileInfo now(QString::fromStdString(photoList[0].path));
    if (!now.exists() || (now.size() == openedSize_ && now.lastModified() == openedModified_))
        return true;
    ui::MessageBox(this, Language().GetString(IDS_MESSAGE_VIDEO_CHANGED).arg(now.filePath()),
                   Language().GetString(IDS_MESSAGE_ERROR));
    return false;
}

bool CVellumDlg::AcceptsDroppedVideo(const QMimeData* data) const {
    // Nothing opens while a conversion runs, as Open Video is then disabled; a list loads
    // only where Load sync list would.
    const QString file = DroppedFile(data);
    return converting == 0 && !file.isEmpty() &&
           (!IsSyncListName(file) || GetDlgItem(IDC_BUTTON_LOAD_SYNC_LIST)->isEnabled());
}

QString CVellumDlg::DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            return url.toLocalFile();
    }
    return {};
}

void CVellumDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (AcceptsDroppedVideo(event->mimeData()))
        event->acceptProposedAction();
}

void CVellumDlg::dragMoveEvent(QDragMoveEvent* event) {
    if (AcceptsDroppedVideo(event->mimeData()))
        event->acceptProposedAction();
}

void CVellumDlg::dropEvent(QDropEvent* event) {
    if (!AcceptsDroppedVideo(event->mimeData()))
        return;
    const QString file = DroppedFile(event->mimeData());
    event->acceptProposedAction();
    // Opening probes the file and asks and shows messages: not inside the drag source's event.
    QTimer::singleShot(0, this, [this, file] { OpenDroppedFile(file); });
}

void CVellumDlg::OpenDroppedFile(const QString& file) {
    if (IsSyncListName(file))
        return LoadSyncListFile(file);
    if (SeparateSoundAllowed() && media::HoldsSoundOnly(file.toStdString())) {
        const QString video = QString::fromStdString(photoList[0].path);
        const QString question = Language()
                                     .GetString(IDS_DROPPED_SOUND_QUESTION)
                                     .arg(QFileInfo(file).fileName(), QFileInfo(video).fileName());
        if (ui::MessageBox(this, question, Language().GetString(IDS_SEPARATE_SOUND_TITLE),
                           ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES)
            UseSeparateSoundFile(file);
        return;
    }
    // The points belong to the video open now; a drop is easily made by mistake.
    if (syncState.syncCount > 0 &&
        !AllowDroppingPoints(
            Language()
                .GetString(IDS_MESSAGE_OPEN_REPLACES_POINTS)
                .arg(QFileInfo(file).fileName(), QString::number(syncState.syncCount))))
        return;
    OpenVideoFile(file);
}

void CVellumDlg::RefreshMusicList() {
    auto* list = Item<QTableWidget>(IDC_LIST_MUSIC);
    list->setRowCount(static_cast<int>(musicList.Count()));
    for (std::size_t i = 0; i < musicList.Count(); ++i) {
        const int row = static_cast<int>(i);
        list->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(musicList[i].path)));
        list->setItem(row, 1, new QTableWidgetItem(QString::number(musicList[i].duration / UNITS)));
    }
}

void CVellumDlg::OnAddMusic() {
    const std::vector<QString> chosen =
        ui::CurrentPrompts().OpenFileNames(this, app::AudioFileRequest("Select Music Files..."));
    if (chosen.empty())
        return;
    QString lastAdded;
    for (const QString& file : chosen) {
        if (musicList.Count() >= slideshow::MusicList::kCapacity) {
            ui::MessageBox(this, Language()
                                     .GetString(IDS_MESSAGE_MUSIC_LIST_FULL)
                                     .arg(QString::number(slideshow::MusicList::kCapacity), file));
            break;
        }
        musicList.Append({file.toStdString(), media::GraphLength(file.toStdString())});
        lastAdded = file;
    }
    RefreshMusicList();
    if (!lastAdded.isEmpty())
        app::RememberAudioFolder(lastAdded);
}
