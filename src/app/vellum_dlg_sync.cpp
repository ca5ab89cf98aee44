// The main window's side of the synchronization state: the point list, the time boxes, and
// the commands that change them, with their questions and refusals.
#include "app/vellum_dlg.h"

#include "language/language.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"
#include "sync/change_sync_point_dialog.h"
#include "sync/composition_fault_text.h"
#include "sync/sync_list_file.h"
#include "sync/time_box.h"
#include "sync/time_text.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QTableWidget>

#include <algorithm>

namespace {

QString Text(REFERENCE_TIME time) { return QString::fromStdString(avsync::TimeToText(time)); }

QTableWidgetItem* CenteredItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

// A text from a file, short enough for a message whatever the file holds.
QString Quoted(const std::string& text) {
    constexpr int kShown = 40;
    const QString whole = QString::fromStdString(text);
    return whole.size() <= kShown ? whole : whole.left(kShown) + "...";
}

} // namespace

void CVellumDlg::RedrawPointList() {
    pointList_->clearContents();
    pointList_->setRowCount(syncState.syncCount);
    for (int i = 0; i < syncState.syncCount; ++i) {
        pointList_->setItem(i, 0, CenteredItem(Text(syncState.syncPoints[i].videoTime)));
        pointList_->setItem(i, 1, CenteredItem(Text(syncState.syncPoints[i].audioTime)));
    }
    NotePointsSources();
}

void CVellumDlg::ShowTimes() {
    SetDlgItemText(IDC_EDIT_VIDEO_DURATION, Text(syncState.videoDuration));
    SetDlgItemText(IDC_EDIT_AUDIO_DURATION, Text(syncState.audioDuration));
    SetDlgItemText(IDC_EDIT_VIDEO_START, Text(syncState.videoStart));
    SetDlgItemText(IDC_EDIT_VIDEO_END, Text(syncState.videoEnd));
    SetDlgItemText(IDC_EDIT_AUDIO_START, Text(syncState.audioStart));
    SetDlgItemText(IDC_EDIT_AUDIO_END, Text(syncState.audioEnd));
    SetDlgItemText(IDC_EDIT_OUTPUT_DURATION, Text(syncState.outputDuration));
}

namespace {

// The boxes the times are typed in, in reading order, with their labels.
struct TimeBox {
    int box;
    int label;
    REFERENCE_TIME avsync::EditableTimes::*time;
};
constexpr TimeBox kTimeBoxes[] = {
    {IDC_EDIT_VIDEO_START, IDC_STATIC_OUTPUT_VIDEO_START_TIME, &avsync::EditableTimes::videoStart},
    {IDC_EDIT_VIDEO_END, IDC_STATIC_OUTPUT_VIDEO_END_TIME, &avsync::EditableTimes::videoEnd},
    {IDC_EDIT_AUDIO_START, IDC_STATIC_OUTPUT_AUDIO_START_TIME, &avsync::EditableTimes::audioStart},
    {IDC_EDIT_AUDIO_END, IDC_STATIC_OUTPUT_AUDIO_END_TIME, &avsync::EditableTimes::audioEnd},
    {IDC_EDIT_OUTPUT_DURATION, IDC_STATIC_OUTPUT_DURATION, &avsync::EditableTimes::outputDuration},
};

// The five typed times, or nothing when a box holds no time (it has said so).
std::optional<avsync::EditableTimes> TypedTimes(CVellumDlg& dialog) {
    const avsync::EditableTimes stored = dialog.syncState.Times();
    avsync::EditableTimes typed;
    for (const TimeBox& box : kTimeBoxes) {
        const std::optional<REFERENCE_TIME> time =
            avsync::ReadTimeBox(dialog, box.box, box.label, stored.*box.time);
        if (!time)
            return std::nullopt;
        typed.*box.time = *time;
    }
    return typed;
}

} // namespace

bool CVellumDlg::ReadTimes() {
    const std::optional<avsync::EditableTimes> typed = TypedTimes(*this);
    if (typed)
        syncState.ApplyEditableTimes(*typed);
    return typed.has_value();
}

std::vector<int> CVellumDlg::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : pointList_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CVellumDlg::OnAddPoint() {
    if (!audioPlayer)
        return;
    if (!syncState.AddPoint(videoPlayer->currentPosition)) {
        RefuseFullPointList();
        return;
    }
    RedrawPointList();
}

void CVellumDlg::RefuseFullPointList() {
    ui::MessageBox(this,
                   Language().GetString(IDS_MESSAGE_POINT_LIST_FULL).arg(avsync::kMaxSyncPoints));
}

void CVellumDlg::OnDeletePoints() {
    const std::vector<int> rows = SelectedRows();
    if (syncState.syncCount == 0 || rows.empty()) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_SELECT_ITEM_IN_SYNC_LIST));
        return;
    }
    syncState.DeletePoints(rows);
    RedrawPointList();
}

void CVellumDlg::OnEditPoints() {
    const std::vector<int> rows = SelectedRows();
    if (syncState.syncCount == 0 || rows.empty()) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_SELECT_ITEM_IN_SYNC_LIST));
        return;
    }
    for (int i : rows) {
        CDialogChangeSyncPoint dialog(this);
        dialog.videoTime = syncState.syncPoints[i].videoTime;
        dialog.audioTime = syncState.syncPoints[i].audioTime;
        dialog.bounds = syncState.EditBounds(i);
        if (dialog.exec() != QDialog::Accepted)
            break;
        syncState.SetPoint(i, {dialog.videoTime, dialog.audioTime});
    }
    RedrawPointList();
}

void CVellumDlg::OnClearAll() {
    syncState.ClearPoints();
    RedrawPointList();
}

void CVellumDlg::RefuseUnmappable(int caption) {
    ui::MessageBox(this, Language().GetString(IDS_MESSAGE_NO_USABLE_RESULT),
                   Language().GetString(caption));
}

bool CVellumDlg::CheckComposable() {
    const std::optional<avsync::CompositionFault> fault = avsync::FindCompositionFault(syncState);
    if (!fault)
        return true;
    ui::MessageBox(this, CompositionFaultText(syncState, *fault),
                   Language().GetString(IDS_MESSAGE_ERROR));
    return false;
}

void CVellumDlg::OnCalculateStart() {
    const QString caption = Language().GetString(IDS_MESSAGE_NOT_GET_START_SYNC_POINT);
    if (syncState.syncCount == 0) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_ADD_SYNC_POINTS_TO_LIST), caption);
        return;
    }
    if (syncState.syncCount == 1 &&
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_GET_START_TIME_FROM_ONE_SYNC_POINT),
                       caption, ui::MB_YESNO) != ui::IDYES)
        return;
    // As Calculate end does, it works from every time typed, and keeps them.
    const std::optional<avsync::EditableTimes> typed = TypedTimes(*this);
    if (!typed)
        return;
    if (syncState.syncCount == 1) {
        syncState.ApplyEditableTimes(*typed);
        syncState.SetStartsToZero();
    } else if (!syncState.CalculateStart(*typed)) {
        RefuseUnmappable(IDS_MESSAGE_NOT_GET_START_SYNC_POINT);
        return;
    }
    ShowTimes();
}

void CVellumDlg::OnCalculateEnd() {
    const QString caption = Language().GetString(IDS_MESSAGE_NOT_GET_END_SYNC_POINT);
    if (syncState.syncCount == 0) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_ADD_SYNC_POINTS_TO_LIST), caption);
        return;
    }
    if (syncState.syncCount == 1 &&
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_GET_END_TIME_FROM_ONE_SYNC_POINT),
                       caption, ui::MB_YESNO) != ui::IDYES)
        return;
    const std::optional<avsync::EditableTimes> typed = TypedTimes(*this);
    if (!typed)
        return;
    if (!syncState.CalculateEnd(*typed)) {
        RefuseUnmappable(IDS_MESSAGE_NOT_GET_END_SYNC_POINT);
        return;
    }
    ShowTimes();
}

void CVellumDlg::OnSaveSyncList() {
    settings::Store& store = settings::Profile();
    ui::FileDialogRequest request;
    request.title = Language().GetString(IDS_MESSAGE_SAVE_SYNC_LIST_CAPTION);
    request.initialFolder = store.GetProfileString("Option", "LastSynclistFolder", ".");
    request.initialName = "*.*";
    request.filters = {{Language().GetString(IDS_FILTER_SYNC_LIST), "*.ini"}};
    const std::optional<QString> chosen = ui::CurrentPrompts().SaveFileName(this, request);
    if (!chosen)
        return;
    const std::string path = avsync::SyncListFileName(chosen->toStdString());
    const QString qpath = QString::fromStdString(path);
    store.WriteProfileString("Option", "LastSynclistFolder",
                             QString::fromStdString(avsync::FolderOf(path)));
    if (QFile(qpath).open(QIODevice::ReadOnly) &&
        ui::MessageBox(this, qpath + " " + Language().GetString(IDS_MESSAGE_FILE_EXIST),
                       Language().GetString(IDS_MESSAGE_WARNING),
                       ui::MB_YESNO | ui::MB_ICONEXCLAMATION) != ui::IDYES)
        return;
    // The new list replaces the old file whole, and only once it is completely written.
    const avsync::SyncListSources sources{photoList.Count() > 0 ? photoList[0].path : pointsVideo,
                                          pointsSound};
    if (!avsync::SaveSyncList(path, output.outputFileName.toStdString(), syncState.Points(),
                              sources)) {
        ui::MessageBox(this, "Failed to WritePrivateProfileString", qpath);
        return;
    }
    syncState.MarkPointsSaved();
}

bool CVellumDlg::AllowDroppingPoints(const QString& question) {
    return ui::MessageBox(this, question, Language().GetString(IDS_MESSAGE_WARNING),
                          ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES;
}

bool CVellumDlg::AllowDroppingUnsavedPoints() {
    return !syncState.HasUnsavedPoints() ||
           AllowDroppingPoints(Language().GetString(IDS_MESSAGE_DISCARD_CHANGED_POINTS));
}

void CVellumDlg::OnLoadSyncList() {
    settings::Store& store = settings::Profile();
    ui::FileDialogRequest request;
    request.title = Language().GetString(IDS_MESSAGE_LOAD_SYNC_LIST_CAPTION);
    request.initialFolder = store.GetProfileString("Option", "LastSynclistFolder", "");
    request.filters = {{Language().GetString(IDS_FILTER_SYNC_LIST), "*.ini;"}};
    request.mustExist = true;
    const std::optional<QString> chosen = ui::CurrentPrompts().OpenFileName(this, request);
    if (!chosen)
        return;
    store.WriteProfileString("Option", "LastSynclistFolder",
                             QString::fromStdString(avsync::FolderOf(chosen->toStdString())));
    LoadSyncListFile(*chosen);
}

void CVellumDlg::LoadSyncListFile(const QString& file) {
    const avsync::LoadedSyncList list = avsync::LoadSyncList(file.toStdString());
    switch (list.status) {
    case avsync::LoadedSyncList::Status::Unreadable:
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_SYNC_LIST_UNREADABLE).arg(file),
                       Language().GetString(IDS_MESSAGE_ERROR));
        return;
    case avsync::LoadedSyncList::Status::NotASyncList:
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_NOT_A_SYNC_LIST).arg(file),
                       Language().GetString(IDS_MESSAGE_ERROR));
        return;
    case avsync::LoadedSyncList::Status::TimeOutOfRange:
        ui::MessageBox(this,
                       Language()
                           .GetString(IDS_MESSAGE_SYNC_LIST_BAD_TIME)
                           .arg(file, QString::fromStdString(list.badKey), Quoted(list.badText)),
                       Language().GetString(IDS_MESSAGE_ERROR));
        return;
    case avsync::LoadedSyncList::Status::CountOutOfRange:
        ui::MessageBox(this,
                       Language()
                           .GetString(IDS_MESSAGE_SYNC_LIST_BAD_COUNT)
                           .arg(file, QString::number(list.declaredCount),
                                QString::number(avsync::kMaxSyncPoints)),
                       Language().GetString(IDS_MESSAGE_ERROR));
        return;
    case avsync::LoadedSyncList::Status::Loaded:
        break;
    }
    if (!AllowDroppingUnsavedPoints())
        return;
    syncState.ReplacePoints(list.points);
    // An older list does not say: its points are taken for the sound in use.
    pointsSound = list.sources.sound;
    RedrawPointList();
    SetDlgItemText(IDC_STATIC_STATUS, SoundStatusLine());
    const std::string inUse = musicList.Count() > 0 ? musicList[0].path : std::string();
    if (syncState.syncCount == 0 || pointsSound == inUse)
        return;
    ui::MessageBox(
        this,
        Language()
            .GetString(IDS_LOADED_POINTS_OTHER_SOUND)
            .arg(file, QString::fromStdString(pointsSound), QString::fromStdString(inUse)),
        Language().GetString(IDS_MESSAGE_WARNING));
}
