#include "syncview/sync_view_canvas.h"

#include "align/align_text.h"
#include "align/event_points.h"
#include "language/language.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"
#include "syncview/sync_view_layout.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace syncview {

using namespace layout;

namespace {
constexpr double kWheelFactor = 1.25;
constexpr int kDragStart = 3; // pixels before a press counts as a drag
constexpr int kPollMs = 50;
} // namespace

SyncViewCanvas::SyncViewCanvas(SyncViewHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setMinimumHeight(kMinimumHeight);
    setMinimumWidth(400);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    connect(&poll_, &QTimer::timeout, this, &SyncViewCanvas::Poll);
    poll_.start(kPollMs);
}

SyncViewCanvas::~SyncViewCanvas() = default;

void SyncViewCanvas::Analyse() {
    const std::string video = host_.VideoPath();
    const std::string sound = host_.SoundPath();
    if (video == analysedVideo_ && sound == analysedSound_)
        return;
    if (video != analysedVideo_)
        pictureAnalysis_.Start(video);
    if (sound != analysedSound_)
        soundAnalysis_.Start(sound);
    analysedVideo_ = video;
    analysedSound_ = sound;
    // The reader calls from its own thread; the repaint is queued to this one.
    detail_ = std::make_unique<DetailReader>(video, sound, kThumbnailHeight, [this] {
        QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    });
    ZoomToAll();
}

double SyncViewCanvas::Length() const {
    const avsync::SyncState& sync = host_.Sync();
    return std::max(Seconds(sync.videoDuration), 1.0);
}

double SyncViewCanvas::Offset() const {
    return Seconds(host_.Sync().audioOffset);
}

int SyncViewCanvas::SoundRate() const {
    const auto picture = soundAnalysis_.Result();
    return picture ? picture->peaks.Rate() : 0;
}

double SyncViewCanvas::FinestSecondsPerPixel() const {
    const int rate = SoundRate() > 0 ? SoundRate() : 48000;
    return 1.0 / (rate * kPixelsPerSampleAtFinest);
}

void SyncViewCanvas::ZoomToAll() {
    axis_.secondsPerPixel = Length() / std::max(1, width());
    axis_.start = 0;
    update();
    emit Changed();
}

void SyncViewCanvas::ZoomBy(double factor) {
    const double x = axis_.XAt(Seconds(host_.VideoPosition()));
    axis_.Zoom(factor, x >= 0 && x <= width() ? x : width() / 2.0, FinestSecondsPerPixel(),
               2 * Length() / std::max(1, width()));
    update();
    emit Changed();
}

void SyncViewCanvas::SetOffset(REFERENCE_TIME offset) {
    host_.SetAudioOffset(offset);
    update();
    emit Changed();
}

void SyncViewCanvas::NudgeOffset(Step step, int direction) {
    const REFERENCE_TIME offset = host_.Sync().audioOffset;
    switch (step) {
    case Step::Sample: {
        const int rate = SoundRate();
        if (rate <= 0)
            return;
        // On the sample grid, one sample on.
        const std::int64_t samples = std::llround(double(offset) * rate / UNITS) + direction;
        SetOffset(std::llround(double(samples) * UNITS / rate));
        break;
    }
    case Step::Millisecond:
        SetOffset(offset + direction * (UNITS / 1000));
        break;
    case Step::Frame: {
        const auto frames = pictureAnalysis_.Frames();
        const REFERENCE_TIME frame =
            frames && frames->frameDuration > 0 ? frames->frameDuration : UNITS / 25;
        SetOffset(offset + direction * frame);
        break;
    }
    }
}

void SyncViewCanvas::StepFrame(int direction) {
    const auto frames = pictureAnalysis_.Frames();
    if (!frames || frames->starts.empty())
        return;
    const std::size_t now = frames->FrameAt(host_.VideoPosition());
    const std::size_t next =
        direction > 0 ? std::min(now + 1, frames->starts.size() - 1) : (now > 0 ? now - 1 : 0);
    host_.SeekTo(frames->starts[next]);
    axis_.Follow(Seconds(frames->starts[next]), width());
    update();
}

align::EventSearch SyncViewCanvas::EventSearchNow() const {
    align::EventSearch search;
    search.offset = host_.Sync().audioOffset;
    const auto frames = pictureAnalysis_.Frames();
    if (frames && frames->frameDuration > 0)
        search.frameDuration = frames->frameDuration;
    return search;
}

void SyncViewCanvas::Snap() {
    const auto picture = pictureAnalysis_.Events();
    const auto sound = soundAnalysis_.Result();
    if (!picture || !sound)
        return;
    align::EventSearch search = EventSearchNow();
    search.reach = Time(width() / 2.0 * axis_.secondsPerPixel);
    const std::optional<align::ProposedPoint> point =
        align::SnapToEvents(*picture, sound->onsets, host_.VideoPosition(), search);
    if (!point) {
        ui::MessageBox(this, Language().GetString(IDS_SYNC_VIEW_NOTHING_TO_SNAP),
                       Language().GetString(IDS_SYNC_VIEW_TITLE));
        return;
    }
    // The sound moves so that the pair lines up, and the point is offered.
    SetOffset(point->audio - point->video);
    align::Alignment found;
    found.matched = true;
    found.points.push_back(*point);
    found.offset = point->audio - point->video;
    host_.ProposePoints(found);
    update();
}

void SyncViewCanvas::FindPointsFromEvents() {
    const auto picture = pictureAnalysis_.Events();
    const auto sound = soundAnalysis_.Result();
    if (!picture || !sound)
        return;
    const align::Alignment found =
        align::PointsFromEvents(*picture, sound->onsets, EventSearchNow());
    if (!found.matched) {
        ui::MessageBox(this,
                       align::RefusalText(found) + ' ' +
                           Language().GetString(IDS_FIND_POINTS_NONE_ADDED),
                       Language().GetCommandText(IDM_FIND_POINTS_FROM_EVENTS));
        return;
    }
    host_.ProposePoints(found);
    update();
}

QString SyncViewCanvas::OffsetText() const {
    const REFERENCE_TIME offset = host_.Sync().audioOffset;
    const int rate = SoundRate();
    const QString samples = rate > 0 ? QString::number(std::llround(double(offset) * rate / UNITS))
                                     : QStringLiteral("-");
    return Language()
        .GetString(IDS_SYNC_VIEW_OFFSET)
        .arg(QString::asprintf("%+.3f", offset / 1e4), samples);
}

double SyncViewCanvas::AnalysisProgress() const {
    if (soundAnalysis_.Done() && pictureAnalysis_.Done())
        return 1;
    return (soundAnalysis_.Progress() + pictureAnalysis_.Progress()) / 2;
}

bool SyncViewCanvas::EventsReady() const {
    return pictureAnalysis_.Events() && soundAnalysis_.Result();
}

QString SyncViewCanvas::KeyHelp() {
    return Language().GetString(IDS_SYNC_VIEW_KEYS);
}

void SyncViewCanvas::Poll() {
    Analyse();
    const double progress = AnalysisProgress();
    const REFERENCE_TIME position = host_.VideoPosition();
    const REFERENCE_TIME offset = host_.Sync().audioOffset;
    const REFERENCE_TIME audio = host_.AudioPosition();
    if (progress != lastProgress_ || position != lastPosition_ || offset != lastOffset_ ||
        audio != lastAudio_) {
        // While the players run, the view keeps the picture's position in sight.
        if (position != lastPosition_ && drag_ == Drag::None)
            axis_.Follow(Seconds(position), width());
        lastProgress_ = progress;
        lastPosition_ = position;
        lastOffset_ = offset;
        lastAudio_ = audio;
        update();
        emit Changed();
    }
}

void SyncViewCanvas::resizeEvent(QResizeEvent*) {
    if (axis_.secondsPerPixel * width() > 2 * Length())
        ZoomToAll();
}

bool SyncViewCanvas::InSoundLane(int y) const {
    return y >= kSoundTop;
}

void SyncViewCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressX_ = int(event->position().x());
    moved_ = false;
    pressStart_ = axis_.start;
    pressOffset_ = host_.Sync().audioOffset;
    drag_ = InSoundLane(int(event->position().y())) ? Drag::Sound : Drag::Scroll;
}

void SyncViewCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == Drag::None)
        return;
    const int dx = int(event->position().x()) - pressX_;
    if (!moved_ && std::abs(dx) < kDragStart)
        return;
    moved_ = true;
    if (drag_ == Drag::Scroll) {
        axis_.start = pressStart_ - dx * axis_.secondsPerPixel;
        update();
        return;
    }
    // The sound follows the mouse: dragged right, it plays later against the picture.
    REFERENCE_TIME offset = pressOffset_ - Time(dx * axis_.secondsPerPixel);
    if (const int rate = SoundRate(); rate > 0)
        offset = std::llround(std::round(double(offset) * rate / UNITS) * UNITS / rate);
    SetOffset(offset);
}

void SyncViewCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || drag_ == Drag::None)
        return;
    drag_ = Drag::None;
    if (!moved_)
        host_.SeekTo(std::max<REFERENCE_TIME>(0, Time(axis_.TimeAt(event->position().x()))));
    update();
    emit Changed();
}

void SyncViewCanvas::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    axis_.Zoom(std::pow(kWheelFactor, notches), event->position().x(), FinestSecondsPerPixel(),
               2 * Length() / std::max(1, width()));
    update();
    emit Changed();
}

void SyncViewCanvas::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int direction = event->key() == Qt::Key_Right ? 1 : -1;
    // The sound lane moves the way the arrow points, as under a drag: to the right, the sound
    // plays later, which is a smaller offset.
    const int soundDirection = -direction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (modifiers & Qt::AltModifier)
            NudgeOffset(Step::Sample, soundDirection);
        else if ((modifiers & Qt::ControlModifier) && (modifiers & Qt::ShiftModifier))
            NudgeOffset(Step::Frame, soundDirection);
        else if (modifiers & Qt::ControlModifier)
            NudgeOffset(Step::Millisecond, soundDirection);
        else {
            axis_.start += direction * width() / 10.0 * axis_.secondsPerPixel;
            update();
        }
        return;
    case Qt::Key_Up:
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomBy(2);
        return;
    case Qt::Key_Down:
    case Qt::Key_Minus:
        ZoomBy(0.5);
        return;
    case Qt::Key_Home:
        ZoomToAll();
        return;
    case Qt::Key_Comma:
        StepFrame(-1);
        return;
    case Qt::Key_Period:
        StepFrame(1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace syncview
