#include "syncview/sync_view_window.h"

#include "language/language.h"
#include "resources/resource.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace syncview {

namespace {
QPushButton* Button(int text, QHBoxLayout* row) {
    auto* button = new QPushButton(Language().GetString(text));
    button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(button);
    return button;
}
} // namespace

SyncViewWindow::SyncViewWindow(SyncViewHost& host, QWidget* owner)
    : QWidget(owner, Qt::Window), host_(host) {
    setWindowTitle(Language().GetString(IDS_SYNC_VIEW_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    QPushButton* back = Button(IDS_SYNC_VIEW_FRAME_BACK, buttons);
    QPushButton* forward = Button(IDS_SYNC_VIEW_FRAME_FORWARD, buttons);
    QPushButton* zoomIn = Button(IDS_SYNC_VIEW_ZOOM_IN, buttons);
    QPushButton* zoomOut = Button(IDS_SYNC_VIEW_ZOOM_OUT, buttons);
    QPushButton* whole = Button(IDS_SYNC_VIEW_WHOLE, buttons);
    buttons->addStretch();
    addPoint_ = Button(IDS_SYNC_VIEW_ADD_POINT_HERE, buttons);
    snap_ = Button(IDS_SYNC_VIEW_SNAP, buttons);
    findPoints_ = new QPushButton(Language().GetCommandText(IDM_FIND_POINTS_FROM_EVENTS));
    findPoints_->setFocusPolicy(Qt::NoFocus);
    buttons->addWidget(findPoints_);
    layout->addLayout(buttons);

    canvas_ = new SyncViewCanvas(host, this);
    layout->addWidget(canvas_, 1);
    auto* texts = new QHBoxLayout;
    offset_ = new QLabel;
    progress_ = new QLabel;
    texts->addWidget(offset_);
    texts->addStretch();
    texts->addWidget(progress_);
    layout->addLayout(texts);
    auto* keys = new QLabel(SyncViewCanvas::KeyHelp());
    keys->setWordWrap(true);
    layout->addWidget(keys);

    connect(back, &QPushButton::clicked, canvas_, [this] { canvas_->StepFrame(-1); });
    connect(forward, &QPushButton::clicked, canvas_, [this] { canvas_->StepFrame(1); });
    connect(zoomIn, &QPushButton::clicked, canvas_, [this] { canvas_->ZoomBy(2); });
    connect(zoomOut, &QPushButton::clicked, canvas_, [this] { canvas_->ZoomBy(0.5); });
    connect(whole, &QPushButton::clicked, canvas_, &SyncViewCanvas::ZoomToAll);
    connect(addPoint_, &QPushButton::clicked, this, [this] {
        host_.AddPointHere();
        canvas_->update();
    });
    connect(snap_, &QPushButton::clicked, canvas_, &SyncViewCanvas::Snap);
    connect(findPoints_, &QPushButton::clicked, canvas_, &SyncViewCanvas::FindPointsFromEvents);
    connect(canvas_, &SyncViewCanvas::Changed, this, &SyncViewWindow::Refresh);
    resize(1000, 380);
    canvas_->Analyse();
    canvas_->setFocus();
    Refresh();
}

void SyncViewWindow::Refresh() {
    offset_->setText(canvas_->OffsetText());
    const double progress = canvas_->AnalysisProgress();
    progress_->setText(
        progress < 1
            ? Language().GetString(IDS_SYNC_VIEW_ANALYSING).arg(std::lround(progress * 100))
            : QString());
    snap_->setEnabled(canvas_->EventsReady());
    findPoints_->setEnabled(canvas_->EventsReady());
}

} // namespace syncview
