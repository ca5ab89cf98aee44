#pragma once
// The main window: opens a video, drives the two players, keeps the synchronization points
// and the times, and starts preview and conversion. Controls are addressed by their numbers.
#include "app/find_points_progress.h"
#include "options/output_settings.h"
#include "platform/editing/render_engine.h"
#include "platform/ui/dialog.h"
#include "preview/vcd_core.h"
#include "render/build_timeline.h"
#include "render/output_graph.h"
#include "slideshow/slideshow_lists.h"
#include "sync/sync_state.h"
#include "syncview/sync_view_host.h"

#include <QDateTime>
#include <QPixmap>
#include <QTimer>

#include <memory>

namespace syncview {
class SyncViewWindow;
}

class QMimeData;
class QTableWidget;
class QMenu;

class CVellumDlg : public ui::Dialog, public syncview::SyncViewHost {
    Q_OBJECT
  public:
    explicit CVellumDlg(QWidget* parent = nullptr);
    ~CVellumDlg() override;

    // The state the window owns.
    avsync::SyncState syncState;
    slideshow::PhotoList photoList;
    slideshow::MusicList musicList;
    slideshow::TransitionDefaults transitionDefaults;
    REFERENCE_TIME musicStart = 0;
    REFERENCE_TIME musicEnd = 0;
    OutputSettings output;
    int nativeWidth = 0;
    int nativeHeight = 0;
    int converting = 0;
    int previewRunning = 0;
    int elapsedSeconds = 0;

    // The players: picture only and sound only on the opened video, and the composed result
    // while the preview runs.
    std::unique_ptr<preview::CVcdCore> videoPlayer;
    std::unique_ptr<preview::CVcdCore> audioPlayer;
    std::unique_ptr<preview::CVcdCore> resultPlayer;
    int seekBarPosition = 0;
    int previewBarPosition = 0;

    // The composition both preview and conversion build afresh, and its layout choice
    // (1: one piece over the whole span, 0: pieces cut at the points).
    render::Composition composition;
    int singleSpan = 1;
    // The times the composition was last built from: the read times with the video start on a
    // frame (see render::ComposedTimes).
    avsync::SyncState composedTimes;
    std::unique_ptr<editing::RenderEngine> previewEngine;

    // The compressor objects the output graph uses when the settings ask for them; they keep
    // their settings for the whole run. The running conversion, while there is one.
    std::shared_ptr<graph::BaseFilter> videoCompressor;
    std::shared_ptr<graph::BaseFilter> audioCompressor;
    render::Conversion conversion;

    // Timer ids and periods.
    static constexpr int kConversionClockTimer = 1112;
    static constexpr int kPreviewBarTimer = 1212;
    QTimer* Timer(int id) const;

    // Opens a video as Open Video does with the file its dialog chose.
    void OpenVideoFile(const QString& file);

    // The popup menu currently shown on the window, if any.
    QMenu* PopupMenu() const { return popupMenu_; }

    // Whether the sound in use (musicList entry 0) is a recording other than the video's own.
    bool UsesSeparateSound() const;
    // The video and the sound the listed points were made with; empty while the list is empty.
    std::string pointsVideo;
    std::string pointsSound;

    // Enabling sets: the working controls off with their texts cleared, or back on.
    void DisableAndClear();
    void EnableWorkingSet();

    // Synchronization state shown in and read from the window.
    void RedrawPointList();
    void ShowTimes();
    // Takes the typed times; false, with none taken, when a box holds no time (it has said so).
    bool ReadTimes();

    void OnTimer(int id);
    void reject() override;

    // The sync view, while it is open.
    syncview::SyncViewWindow* SyncView() const { return syncView_.get(); }
    // What the sync view asks of its host.
    std::string VideoPath() const override;
    std::string SoundPath() const override;
    REFERENCE_TIME VideoPosition() const override;
    REFERENCE_TIME AudioPosition() const override;
    const avsync::SyncState& Sync() const override;
    void SeekTo(REFERENCE_TIME video) override;
    void SetAudioOffset(REFERENCE_TIME offset) override;
    void AddPointHere() override;
    void ProposePoints(const align::Alignment& found) override;

  protected:
    void OnCommand(int id) override;
    void OnMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void CreateControls();
    void SetUpIconButtons();
    void OnInitDialog();
    // The output file and size, or "Original size" until a video has been probed.
    QString StatusLine() const;
    void OnOutputSettings();

    // Opening a video and the transport
    void OnOpenVideo();
    bool AcceptsDroppedVideo(const QMimeData* data) const;
    // The first existing local file the drop carries, or "".
    static QString DroppedFile(const QMimeData* data);
    // A dropped file: a synchronization list loads, a sound without picture is offered as the
    // separate sound while a video is open, anything else opens as a video.
    void OpenDroppedFile(const QString& file);
    void OnAddMusic();
    void RefreshMusicList();

    // The sound source
    // Whether a separate sound may be chosen now: a video is open and nothing plays it out.
    bool SeparateSoundAllowed() const;
    void OnOpenSeparateSound();
    // Makes `file` the separate sound as Open separate sound does with its dialog's choice.
    void UseSeparateSoundFile(const QString& file);
    void OnUseVideoSound();
    // Makes `file`, whose sound lasts `length`, the sound played and composed. False, with the
    // sound in use kept, when the sound player cannot open it (it has said why).
    bool SwitchSound(const QString& file, REFERENCE_TIME length);
    // Before another sound replaces the one in use: with points, whether to clear them (made
    // with the other sound, they would place it wrongly). True when they are to be cleared.
    bool ClearPointsForAnotherSound(const QString& file);
    // The video open and the sound in use become the ones the points were made with, once
    // there are points.
    void NotePointsSources();
    // The status line naming the separate sound, when one is in use, and the sound the points
    // were made with when that is another.
    QString SoundStatusLine() const;
    void EnableSoundCommands(QMenu* menu) const;
    void OnFindPoints();
    void OnFindPointsFromEvents();
    // Runs `search` with its progress dialog, shows what it found and adds the points kept.
    void FindAndProposePoints(int command, int doing, bool withJumps,
                              const FindPointsProgress::Search& search);
    // Shows the points found and adds those the user keeps.
    void ShowProposals(align::Alignment found, bool withJumps);
    void OnSyncView();
    void CloseSyncView();
    // Whether the opened video is still the file that was measured when it was opened; if
    // not, says so. A composition of a file cut or replaced since would hold what the file
    // no longer has. A file that is gone is left to the timeline, which asks where it went.
    bool CheckVideoUnchanged();
    bool OpenPlayers(const QString& path);
    void StartPlayersFromZero();
    // Moves a player's window beside the main window and the other picture windows, or where
    // it hides fewest of the main window's controls.
    void MoveClearOfWindows(preview::CVcdCore& player);
    // Both players ready to start at once, then started together on the sound's clock.
    void CuePlayers();
    void PlayPlayers();
    void CancelPendingStart();
    void ClosePlayers();
    void OnClosePlayers();
    void OnTransport(int id);
    // Clicks the transport button `id` if it is enabled, as its keyboard letter does.
    void PressTransportButton(int id);
    // A key a picture window passed on (it uses only Escape).
    void OnPictureKey(int key, int modifiers);
    void OnAudioOffset(int id);
    void ShowAudioOffset();
    void OnSeekBarReleased();
    void OnPlayerTick();

    // The composed preview
    // Reads the times, checks the points and builds the timeline that Preview and Convert
    // play or write; false (having said why) when it cannot.
    bool ComposeTimeline();
    void OnPreview();
    void CheckOutputFrameRate();
    void StartPreview();
    void StopPreview();
    void OnPreviewBarReleased();

    // Conversion
    void ChooseCompressors();
    void OnConvert();
    bool ConfirmReplacingOutput();
    // Sets the copy of the source picture up, when it is chosen; false after saying why the
    // picture cannot be copied.
    bool ChoosePictureCopy(render::OutputParts& parts);
    // Ends the run with its summary; a run that failed (`failure`) says that what it wrote was
    // removed, so no incomplete file passes for the video; one the user `stopped` says where
    // it stopped, the file keeping what was written. Returns that line.
    QString FinishConversion(HRESULT failure = S_OK, bool stopped = false);
    void OnConversionEvents();
    void ShowProgress();

    // Points and times
    void OnAddPoint();
    void RefuseFullPointList();
    void OnDeletePoints();
    void OnEditPoints();
    void OnClearAll();
    void OnCalculateStart();
    void OnCalculateEnd();
    void OnSaveSyncList();
    void OnLoadSyncList();
    // Loads `file` as Load sync list does with its dialog's choice.
    void LoadSyncListFile(const QString& file);
    // Whether the user lets an action that drops the points go ahead: asks `question`
    // (Yes/No) and answers Yes.
    bool AllowDroppingPoints(const QString& question);
    // Open Video, Load sync list and Exit: true without asking unless points changed since
    // they were last saved or loaded.
    bool AllowDroppingUnsavedPoints();
    std::vector<int> SelectedRows() const;
    // The times gave no usable result; the caption names the calculation.
    void RefuseUnmappable(int caption);
    // Whether the composition can be built from the points and the times read; if not, says
    // why, naming the first point it cannot take. Preview and Convert ask before they build.
    bool CheckComposable();

    // Shell, About, close
    void ShowLanguageMenu(const QPoint& point);
    void OnMenuCommand(int command);
    void OnAbout();
    void OnHelp();
    void OnUpdate();
    void OnMusicMark(int id);
    bool CloseAllowed();
    void ReleaseOnClose();
    void RunUpdateReminder();

    std::unique_ptr<syncview::SyncViewWindow> syncView_;
    QTableWidget* pointList_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QPixmap background_;
    QTimer* conversionClock_ = nullptr;
    // The output rate before a conversion chose one that keeps every frame of an uneven picture.
    double rateBeforeKeepingFrames_ = 0;
    QTimer* previewBar_ = nullptr;
    // Counts the opened videos, so a delayed start never touches the players of a later one.
    int openGeneration_ = 0;
    // The opened video's size and last change when it was measured.
    qint64 openedSize_ = -1;
    QDateTime openedModified_;
};
