// The main window's controls, each under its number, laid out in groups: the file buttons,
// the players' transport, the synchronization points, the times, preview and convert.
#include "app/vellum_app.h"
#include "app/vellum_dlg.h"
#include "controls/bitmap_slider.h"
#include "controls/button_st.h"
#include "controls/status_label.h"
#include "resources/resource.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

void CVellumDlg::CreateControls() {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(8, 8, 8, 6);
    page->setSpacing(6);

    // File and program buttons, in the group frame of the top row.
    auto* topFrame = new QGroupBox(this);
    auto* top = new QHBoxLayout(topFrame);
    top->setContentsMargins(6, 4, 6, 4);
    for (auto [id, text] : {std::pair{IDC_BUTTON_ADD_VIDEO, "Open Video"},
                            {IDC_BUTTON_OUTPUT_SETTINGS, "Options"},
                            {IDC_BUTTON_HELP, "&Help"},
                            {IDC_BUTTON_ABOUT, "About"},
                            {IDC_BUTTON_HOMEPAGE, "Update"},
                            {IDC_BUTTON_EXIT, "Exit"}})
        top->addWidget(Register(id, new CButtonST(text, topFrame)));
    page->addWidget(topFrame);

    // Transport: position read-out, seek bar, play controls and the skips.
    auto* play = Register(IDC_STATIC_GROUP_PLAY_CONTROL, new QGroupBox("Play control", this));
    auto* playGrid = new QGridLayout(play);
    playGrid->setContentsMargins(6, 4, 6, 4);
    playGrid->setVerticalSpacing(4);
    auto* positions = new QHBoxLayout;
    // The read-outs carry their own labels ("Video: 1.9", "Offset: +0.300").
    for (int id : {IDC_EDIT_VIDEO_POSITION, IDC_EDIT_AUDIO_POSITION, IDC_EDIT_AUDIO_OFFSET}) {
        auto* edit = Register(id, new QLineEdit(play));
        edit->setReadOnly(true);
        edit->setMaximumWidth(140);
        positions->addWidget(edit);
    }
    positions->addStretch();
    positions->addWidget(Register(IDC_STATIC_TOTAL_DURATION, new QLabel(play)));
    playGrid->addLayout(positions, 0, 0);
    playGrid->addWidget(Register(IDC_SLIDER_POSITION, new CBitmapSlider(SliderDraggingFlag(), play)),
                        1, 0);
    auto* transport = new QHBoxLayout;
    for (auto [id, text] : {std::pair{IDC_BUTTON_PLAY, "Play"},
                            {IDC_BUTTON_PAUSE, "Pause"},
                            {IDC_BUTTON_STOP, "Stop"}}) {
        auto* button = Register(id, new QPushButton(text, play));
        button->setFixedWidth(72);
        transport->addWidget(button);
    }
    transport->addWidget(Register(IDC_BUTTON_JUMP_BACKWARD, new QPushButton("Skip backward (&q)", play)));
    transport->addWidget(Register(IDC_BUTTON_JUMP_FORWARD, new QPushButton("Skip forward (&w)", play)));
    playGrid->addLayout(transport, 2, 0);
    auto* audioSkips = new QHBoxLayout;
    for (auto [id, text] : {std::pair{IDC_BUTTON_AUDIO_JUMP_BACKWARD, "Audio skip backward (&p)"},
                            {IDC_BUTTON_AUDIO_VIDEO_RESTORE, "Original audio (&o)"},
                            {IDC_BUTTON_AUDIO_JUMP_FORWARD, "Audio skip forward (&i)"}})
        audioSkips->addWidget(Register(id, new QPushButton(text, play)));
    playGrid->addLayout(audioSkips, 3, 0);
    page->addWidget(play);

    // Synchronization points on the left, the times on the right.
    auto* middle = new QHBoxLayout;
    auto* points = new QVBoxLayout;
    points->addWidget(Register(IDC_STATIC_SYNC_POINT_LIST, new QLabel("Synchronization point list", this)));
    points->addWidget(Register(IDC_BUTTON_ADD_SYNC_POINT,
                               new QPushButton("Add a synchronization point to the list", this)));
    pointList_ = Register(IDC_LIST_SYNC_POINTS, new QTableWidget(0, 2, this));
    pointList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    pointList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    pointList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pointList_->setShowGrid(true);
    pointList_->verticalHeader()->hide();
    pointList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pointList_, &QWidget::customContextMenuRequested, this, [this] { OnEditPoints(); });
    points->addWidget(pointList_, 1);
    auto* listButtons = new QGridLayout;
    listButtons->addWidget(Register(IDC_BUTTON_EDIT_SYNC_POINT, new QPushButton("Edit", this)), 0, 0);
    listButtons->addWidget(Register(IDC_BUTTON_DELETE_SYNC_POINT, new QPushButton("Delete", this)), 0, 1);
    listButtons->addWidget(Register(IDC_BUTTON_CLEAR_ALL_SYNC_POINTS, new QPushButton("Clear all", this)), 0, 2);
    listButtons->addWidget(Register(IDC_BUTTON_LOAD_SYNC_LIST, new QPushButton("Load sync list", this)), 1, 0, 1, 2);
    listButtons->addWidget(Register(IDC_BUTTON_SAVE_SYNC_LIST, new QPushButton("Save sync list", this)), 1, 2);
    points->addLayout(listButtons);
    middle->addLayout(points, 3);

    auto* times = new QGridLayout;
    int row = 0;
    auto addTime = [&](int labelId, const char* label, int editId, bool readOnly) {
        times->addWidget(Register(labelId, new QLabel(label, this)), row, 0);
        auto* edit = Register(editId, new QLineEdit(this));
        edit->setReadOnly(readOnly);
        times->addWidget(edit, row++, 1);
    };
    addTime(IDC_STATIC_VIDEO_DURATION, "Video duration", IDC_EDIT_VIDEO_DURATION, true);
    addTime(IDC_STATIC_AUDIO_DURATION, "Audio duration", IDC_EDIT_AUDIO_DURATION, true);
    addTime(IDC_STATIC_OUTPUT_VIDEO_START_TIME, "Video start time", IDC_EDIT_VIDEO_START, false);
    addTime(IDC_STATIC_OUTPUT_VIDEO_END_TIME, "Video end time", IDC_EDIT_VIDEO_END, false);
    addTime(IDC_STATIC_OUTPUT_AUDIO_START_TIME, "Audio start time", IDC_EDIT_AUDIO_START, false);
    addTime(IDC_STATIC_OUTPUT_AUDIO_END_TIME, "Audio end time", IDC_EDIT_AUDIO_END, false);
    addTime(IDC_STATIC_OUTPUT_DURATION, "Output Duration", IDC_EDIT_OUTPUT_DURATION, false);
    addTime(IDC_STATIC_PREVIEW_START, "start time", IDC_EDIT_PREVIEW_START, false);
    times->addWidget(Register(IDC_BUTTON_CALCULATE_START_SYNC, new QPushButton("Calculate start", this)), row, 0);
    times->addWidget(Register(IDC_BUTTON_CALCULATE_END_SYNC, new QPushButton("Calculate end", this)), row++, 1);
    times->setRowStretch(row, 1);
    middle->addLayout(times, 2);
    page->addLayout(middle, 1);

    // Preview with its bar, then Convert.
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Register(IDC_BUTTON_PREVIEW_VIDEO, new CButtonST("Preview", this)));
    bottom->addWidget(Register(IDC_SLIDER_PREVIEW, new CBitmapSlider(SliderDraggingFlag(), this)), 1);
    bottom->addWidget(Register(IDC_BUTTON_CONVERT, new CButtonST("Convert", this)));
    page->addLayout(bottom);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(Register(IDC_STATIC_STATUS, new CStatusLabel(this)), 1);
    auto* progress = Register(IDC_PROGRESS_CONVERSION, new QProgressBar(this));
    progress->setRange(0, 1000);
    progress->setFixedWidth(200);
    progress->hide(); // shown while a conversion runs
    statusRow->addWidget(progress);
    page->addLayout(statusRow);

    // Controls of the template that nothing shows: the music marks, the players' close
    // command, and the slideshow remnants.
    Register(IDC_BUTTON_START_TIME, new QPushButton("Start Time", this));
    Register(IDC_BUTTON_END_TIME, new QPushButton("End Time", this));
    Register(IDC_STATIC_MUSIC_START, new QLabel("00:00:00", this));
    Register(IDC_STATIC_MUSIC_END, new QLabel("00:00:00", this));
    Register(IDC_BUTTON_CLOSE_PLAYERS, new QPushButton("Close", this));
    Register(IDC_BUTTON_ADD_MUSIC, new CButtonST("Add Music", this));
    Register(IDC_BUTTON_TRANSITION, new CButtonST("Transition", this));
    for (int id : {IDC_BUTTON_DELETE_ITEM, IDC_BUTTON_DELETE_ALL, IDC_BUTTON_MOVE_UP,
                   IDC_BUTTON_MOVE_DOWN, IDC_BUTTON_ITEM_PROPERTIES})
        Register(id, new CButtonST(QString(), this));
    Register(IDC_LIST_PHOTO, new QTableWidget(0, 4, this));
    Register(IDC_LIST_MUSIC, new QTableWidget(0, 2, this));
    Register(IDC_STATIC_PICTURE, new QLabel(this));
}
