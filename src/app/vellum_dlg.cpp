#include "app/vellum_dlg.h"
#include "syncview/sync_view_window.h"

#include "app/clock_text.h"
#include "app/vellum_app.h"
#include "controls/bitmap_slider.h"
#include "controls/button_st.h"
#include "language/language.h"
#include "options/output_extension.h"
#include "platform/core/window_message.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "resources/art.h"
#include "resources/resource.h"
#include "sync/time_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QShortcut>
#include <QSysInfo>
#include <QTableWidget>

#include <cstdlib>
#include <ctime>

namespace {

struct IconButton {
    int id;
    int icon;
    int tooltipString; // 0: the fixed text below
    const char* tooltip;
};

// Icons and tool tips of the owner-drawn buttons; numbered tool tips are translated.
constexpr IconButton kIconButtons[] = {
    {IDC_BUTTON_ADD_VIDEO, IDI_OPEN_VIDEO, IDS_MESSAGE_OPEN_FILE, nullptr},
    {IDC_BUTTON_ADD_MUSIC, IDI_OPEN_VIDEO, 0, "Add background music to list"},
    {IDC_BUTTON_TRANSITION, IDI_TRANSITION, 0, "Customize photo and transition options"},
    {IDC_BUTTON_OUTPUT_SETTINGS, IDI_OPTIONS, IDS_MESSAGE_OPTIONS, nullptr},
    {IDC_BUTTON_PREVIEW_VIDEO, IDI_PREVIEW, IDS_TOOLTIP_PREVIEW, nullptr},
    {IDC_BUTTON_CONVERT, IDR_MAINFRAME, IDS_MESSAGE_CONVERT, nullptr},
    {IDC_BUTTON_HELP, IDI_HELP, IDS_TOOLTIP_HELP, nullptr},
    {IDC_BUTTON_MOVE_UP, IDI_MOVE_UP, 0, "Move item up"},
    {IDC_BUTTON_MOVE_DOWN, IDI_MOVE_DOWN, 0, "Move item down"},
    {IDC_BUTTON_DELETE_ITEM, IDI_DELETE_ITEM, 0, "Delete selected item"},
    {IDC_BUTTON_DELETE_ALL, IDI_DELETE_ALL, 0, "Delete all items"},
    {IDC_BUTTON_ITEM_PROPERTIES, IDI_ITEM_PROPERTIES, 0, "Change selected item's properties"},
    {IDC_BUTTON_HOMEPAGE, IDI_HOMEPAGE, IDS_TOOLTIP_HOMEPAGE, nullptr},
    {IDC_BUTTON_ABOUT, IDI_ABOUT, IDS_TOOLTIP_ABOUT, nullptr},
    {IDC_BUTTON_EXIT, IDI_EXIT, IDS_TOOLTIP_EXIT, nullptr},
};

// The working controls that are off until a video is open.
constexpr int kWorkingSet[] = {
    IDC_BUTTON_CONVERT, IDC_SLIDER_POSITION, IDC_BUTTON_PLAY, IDC_BUTTON_PAUSE, IDC_BUTTON_STOP,
    IDC_BUTTON_START_TIME, IDC_BUTTON_END_TIME, IDC_STATIC_MUSIC_END, IDC_STATIC_MUSIC_START,
    IDC_BUTTON_JUMP_BACKWARD, IDC_BUTTON_JUMP_FORWARD, IDC_BUTTON_AUDIO_JUMP_FORWARD,
    IDC_BUTTON_AUDIO_VIDEO_RESTORE, IDC_BUTTON_AUDIO_JUMP_BACKWARD, IDC_BUTTON_ADD_SYNC_POINT,
    IDC_BUTTON_DELETE_SYNC_POINT, IDC_BUTTON_CALCULATE_START_SYNC, IDC_BUTTON_CALCULATE_END_SYNC,
    IDC_BUTTON_EDIT_SYNC_POINT, IDC_BUTTON_CLEAR_ALL_SYNC_POINTS, IDC_BUTTON_SAVE_SYNC_LIST,
    IDC_BUTTON_LOAD_SYNC_LIST, IDC_BUTTON_PREVIEW_VIDEO, IDC_SLIDER_PREVIEW,
    IDC_EDIT_VIDEO_START, IDC_EDIT_VIDEO_END, IDC_EDIT_AUDIO_START, IDC_EDIT_AUDIO_END};

// The transport's keyboard letters and the buttons they press.
constexpr std::pair<Qt::Key, int> kTransportKeys[] = {{Qt::Key_W, IDC_BUTTON_JUMP_FORWARD},
                                                      {Qt::Key_Q, IDC_BUTTON_JUMP_BACKWARD},
                                                      {Qt::Key_I, IDC_BUTTON_AUDIO_JUMP_FORWARD},
                                                      {Qt::Key_O, IDC_BUTTON_AUDIO_VIDEO_RESTORE},
                                                      {Qt::Key_P, IDC_BUTTON_AUDIO_JUMP_BACKWARD}};

// Texts emptied with the working set.
constexpr int kClearedTexts[] = {IDC_EDIT_VIDEO_POSITION, IDC_EDIT_AUDIO_POSITION,
                                 IDC_EDIT_VIDEO_DURATION, IDC_EDIT_AUDIO_DURATION,
                                 IDC_EDIT_VIDEO_START,    IDC_EDIT_VIDEO_END,
                                 IDC_EDIT_AUDIO_START,    IDC_EDIT_AUDIO_END};

} // namespace

CVellumDlg::CVellumDlg(QWidget* parent) : ui::Dialog(parent) {
    setWindowTitle(QStringLiteral("Quillet"));
    // Step 1 of the set-up: the background, then the controls.
    background_ = resources::LoadBitmap(IDB_BACKGROUND);
    CreateControls();
    conversionClock_ = new QTimer(this);
    conversionClock_->setInterval(1000);
    connect(conversionClock_, &QTimer::timeout, this, [this] { OnTimer(kConversionClockTimer); });
    previewBar_ = new QTimer(this);
    previewBar_->setInterval(2000);
    connect(previewBar_, &QTimer::timeout, this, [this] { OnTimer(kPreviewBarTimer); });
    // F1, the desktop's help key, does what the Help button does.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { OnHelp(); });
    // The transport's letters work on their own, as in any dialog, except while typing in a
    // box (a text box takes its letters first).
    for (auto [key, id] : kTransportKeys) {
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
                [this, id] { PressTransportButton(id); });
    }
    connect(new QShortcut(QKeySequence(Qt::Key_V), this), &QShortcut::activated, this,
            [this] { OnSyncView(); });
    connect(Item<CBitmapSlider>(IDC_SLIDER_POSITION), &CBitmapSlider::releasedCapture, this,
            [this] { OnSeekBarReleased(); });
    connect(Item<CBitmapSlider>(IDC_SLIDER_PREVIEW), &CBitmapSlider::releasedCapture, this,
            [this] { OnPreviewBarReleased(); });
    // A main window: it can be minimized during a long conversion.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(575, 580);
    // A video file dropped from the file manager opens as Open Video would, wherever it
    // lands: the text boxes leave drops to the window.
    setAcceptDrops(true);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setAcceptDrops(false);
    OnInitDialog();
}

CVellumDlg::~CVellumDlg() {
    // The composed preview's player goes before the graph it plays.
    if (previewRunning == 1)
        StopPreview();
    ClosePlayers();
}

QTimer* CVellumDlg::Timer(int id) const {
    return id == kConversionClockTimer ? conversionClock_
           : id == kPreviewBarTimer    ? previewBar_
                                       : nullptr;
}

void CVellumDlg::OnInitDialog() {
    settings::Store& store = settings::Profile();
    // The window has no system menu of its own here; "About" is on the popup menu and button.
    setWindowIcon(resources::LoadIcon(IDR_MAINFRAME));
    if (QSysInfo::kernelVersion().isEmpty())
        ui::MessageBox(this, "Can get Windows Version", "Error");
    output.outputFormat = store.GetProfileInt("Settings", "nOuptputFormat", 1);

    ChooseCompressors();

    for (auto [id, columns] : {std::pair{IDC_LIST_PHOTO, QStringList{"Photo File Name", "Duration(s)", "Transition", "Duration(s)"}},
                               {IDC_LIST_MUSIC, QStringList{"Music File Name", "Duration(s)"}}}) {
        auto* list = Item<QTableWidget>(id);
        list->setHorizontalHeaderLabels(columns);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setShowGrid(true);
        list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
        const int widths[] = {134, 80, 160, 80};
        for (int c = 0; c < columns.size(); ++c)
            list->setColumnWidth(c, widths[c]);
    }

    transitionDefaults = slideshow::ReadTransitionDefaults(store);
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    QString outputName = store.GetProfileString("Settings", "OutputName", QString());
    if (outputName.isEmpty()) {
        QString failure;
        outputName = DefaultOutputName(failure);
        if (!failure.isEmpty())
            ui::MessageBox(this, failure, "Error");
    }
    output.outputFileName = options::ApplyFormatExtension(outputName, output.outputFormat,
                                                          StoredMuxerExtensions(store));
    output.outputWidth = store.GetProfileInt("Settings", "OutputWidth", 0);
    output.outputHeight = store.GetProfileInt("Settings", "OutputHigh", 0);

    SetDlgItemText(IDC_STATIC_STATUS, StatusLine());
    SetUpIconButtons();

    for (int id : {IDC_LIST_MUSIC, IDC_LIST_PHOTO, IDC_BUTTON_MOVE_UP, IDC_BUTTON_MOVE_DOWN,
                   IDC_BUTTON_DELETE_ITEM, IDC_BUTTON_DELETE_ALL, IDC_BUTTON_ITEM_PROPERTIES,
                   IDC_BUTTON_TRANSITION, IDC_BUTTON_ADD_MUSIC, IDC_STATIC_PICTURE})
        ShowDlgItem(id, false);
    auto* position = Item<CBitmapSlider>(IDC_SLIDER_POSITION);
    position->setRange(0, 600);
    position->setValue(0);
    SetDlgItemText(IDC_STATIC_MUSIC_START, "00:00:00");
    SetDlgItemText(IDC_STATIC_MUSIC_END, "00:00:00");
    DisableAndClear();
    ShowDlgItem(IDC_BUTTON_CLOSE_PLAYERS, false);

    ReadFrameRateAndBitrates(store, output);

    for (int id : {IDC_BUTTON_START_TIME, IDC_BUTTON_END_TIME, IDC_STATIC_MUSIC_START,
                   IDC_STATIC_MUSIC_END})
        ShowDlgItem(id, false);
    syncState.skipForwardSeconds = store.GetProfileInt("Settings", "SkipForward", 20);
    syncState.skipBackwardSeconds = store.GetProfileInt("Settings", "SkipBackward", 10);

    pointList_->setHorizontalHeaderLabels({Language().GetDialogTextOrString(IDS_COLUMN_VIDEO_TIME),
                                           Language().GetDialogTextOrString(IDS_COLUMN_AUDIO_TIME)});
    for (int c = 0; c < 2; ++c)
        pointList_->setColumnWidth(c, 118);
    pointList_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    syncState.syncCount = 0;
    SetDlgItemText(IDC_EDIT_PREVIEW_START, "0");
    auto* previewBar = Item<CBitmapSlider>(IDC_SLIDER_PREVIEW);
    previewBar->setRange(0, 600);
    previewBar->setValue(0);
    for (int id : {IDC_STATIC_PREVIEW_START, IDC_EDIT_PREVIEW_START, IDC_STATIC_OUTPUT_DURATION,
                   IDC_EDIT_OUTPUT_DURATION, IDC_STATIC_SYNC_POINT_LIST})
        ShowDlgItem(id, false);

    syncState.audioSkipForwardSeconds = avsync::TextToDouble(
        store.GetProfileString("Settings", "mf_audio_skip_forward", "0.3").toStdString());
    syncState.audioSkipBackwardSeconds = avsync::TextToDouble(
        store.GetProfileString("Settings", "mf_audio_skip_backward", "0.3").toStdString());

    Language().TranslateDialog(this, IDD_PROGRAM_CAPTION);
}

void CVellumDlg::SetUpIconButtons() {
    for (const IconButton& b : kIconButtons) {
        auto* button = Item<CButtonST>(b.id);
        if (!button)
            continue;
        button->SetIcon(resources::LoadIcon(b.icon));
        button->SetSound(resources::SoundUrl(IDR_HOVER_SOUND));
        button->SetFlat(true);
        button->SetBtnCursor(resources::LoadCursor(IDC_HAND_CURSOR));
        button->SetTooltipText(b.tooltipString ? Language().GetString(b.tooltipString)
                                               : QString::fromUtf8(b.tooltip));
    }
}

void CVellumDlg::DisableAndClear() {
    for (int id : kWorkingSet)
        EnableDlgItem(id, false);
    for (int id : kClearedTexts)
        SetDlgItemText(id, QString());
}

void CVellumDlg::EnableWorkingSet() {
    for (int id : kWorkingSet)
        EnableDlgItem(id, true);
}

void CVellumDlg::OnCommand(int id) {
    switch (id) {
    case IDC_BUTTON_ADD_VIDEO:
        return OnOpenVideo();
    case IDC_BUTTON_ADD_MUSIC:
        return OnAddMusic();
    case IDC_BUTTON_OUTPUT_SETTINGS:
        return OnOutputSettings();
    case IDC_BUTTON_PLAY:
    case IDC_BUTTON_PAUSE:
    case IDC_BUTTON_STOP:
    case IDC_BUTTON_JUMP_FORWARD:
    case IDC_BUTTON_JUMP_BACKWARD:
        return OnTransport(id);
    case IDC_BUTTON_AUDIO_JUMP_FORWARD:
    case IDC_BUTTON_AUDIO_VIDEO_RESTORE:
    case IDC_BUTTON_AUDIO_JUMP_BACKWARD:
        return OnAudioOffset(id);
    case IDC_BUTTON_CLOSE_PLAYERS:
        return OnClosePlayers();
    case IDC_BUTTON_PREVIEW_VIDEO:
        return OnPreview();
    case IDC_BUTTON_CONVERT:
        return OnConvert();
    case IDC_BUTTON_ADD_SYNC_POINT:
        return OnAddPoint();
    case IDC_BUTTON_DELETE_SYNC_POINT:
        return OnDeletePoints();
    case IDC_BUTTON_EDIT_SYNC_POINT:
        return OnEditPoints();
    case IDC_BUTTON_CLEAR_ALL_SYNC_POINTS:
        return OnClearAll();
    case IDC_BUTTON_CALCULATE_START_SYNC:
        return OnCalculateStart();
    case IDC_BUTTON_CALCULATE_END_SYNC:
        return OnCalculateEnd();
    case IDC_BUTTON_SAVE_SYNC_LIST:
        return OnSaveSyncList();
    case IDC_BUTTON_LOAD_SYNC_LIST:
        return OnLoadSyncList();
    case IDC_BUTTON_START_TIME:
    case IDC_BUTTON_END_TIME:
        return OnMusicMark(id);
    case IDC_BUTTON_ABOUT:
        return OnAbout();
    case IDC_BUTTON_HELP:
        return OnHelp();
    case IDC_BUTTON_HOMEPAGE:
        return OnUpdate();
    case IDC_BUTTON_EXIT:
        close();
        return;
    default:
        return;
    }
}

void CVellumDlg::OnMusicMark(int id) {
    if (!videoPlayer)
        return;
    REFERENCE_TIME& mark = (id == IDC_BUTTON_START_TIME) ? musicStart : musicEnd;
    mark = videoPlayer->currentPosition;
    SetDlgItemText(id == IDC_BUTTON_START_TIME ? IDC_STATIC_MUSIC_START : IDC_STATIC_MUSIC_END,
                   ClockText(mark / UNITS));
}

void CVellumDlg::OnMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    if (message == WM_PLAYERTICK)
        OnPlayerTick();
    else if (message == WM_GRAPHNOTIFY)
        OnConversionEvents();
    else if (message == WM_KEYDOWN)
        OnPictureKey(static_cast<int>(wParam), static_cast<int>(lParam));
}

void CVellumDlg::PressTransportButton(int id) {
    if (auto* button = Item<QAbstractButton>(id); button && button->isEnabled())
        button->click();
}

void CVellumDlg::OnPictureKey(int key, int modifiers) {
    // As the letters pressed here, they wait while another dialog is in front of this window.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modifiers != Qt::NoModifier || (modal && modal != this))
        return;
    for (auto [letter, id] : kTransportKeys) {
        if (letter == key)
            PressTransportButton(id);
    }
}

void CVellumDlg::OnTimer(int id) {
    if (id == kConversionClockTimer) {
        ++elapsedSeconds;
        SetDlgItemText(
            IDC_STATIC_STATUS,
            Language().GetString(IDS_MESSAGE_PLEASE_WAIT).arg(ClockText(elapsedSeconds)));
        ShowProgress();
    } else if (id == kPreviewBarTimer) {
        if (!resultPlayer || *SliderDraggingFlag() != 0)
            return;
        const REFERENCE_TIME stop = resultPlayer->stopPosition;
        previewBarPosition =
            stop == 0 ? 0
                      : static_cast<int>(static_cast<double>(resultPlayer->currentPosition) /
                                         static_cast<double>(stop) * 600);
        Item<CBitmapSlider>(IDC_SLIDER_PREVIEW)->setValue(previewBarPosition);
    }
}

void CVellumDlg::paintEvent(QPaintEvent* event) {
    // The tiled background from the top-left corner, under every control.
    // A screen of another density (the window moved, the scale changed) gets its own tile.
    if (!qFuzzyCompare(background_.devicePixelRatio(), devicePixelRatioF()))
        background_ = resources::LoadBitmap(IDB_BACKGROUND, devicePixelRatioF());
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), background_);
    ui::Dialog::paintEvent(event);
}
