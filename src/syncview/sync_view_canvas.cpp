#include "syncview/sync_view_canvas.h"

#include "align/align_text.h"
#include "align/event_points.h"
#include "language/language.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace syncview {

namespace {
constexpr int kRulerHeight = 22;
constexpr int kThumbnailHeight = 48;
constexpr int kPictureLaneHeight = kThumbnailHeight + 18;
constexpr int kSoundTop = kRulerHeight + kPictureLaneHeight + 4;
constexpr int kSoundLaneHeight = 120;
constexpr int kMinimumHeight = kSoundTop + kSoundLaneHeight + 4;
// A thumbnail's width when the frames are narrower than their pictures.
constexpr int kSlotWidth = kThumbnailHeight * 16 / 9;
// At the finest zoom a sample takes this many pixels.
constexpr double kPixelsPerSampleAtFinest = 8;
constexpr double kWheelFactor = 1.25;
constexpr int kDragStart = 3; // pixels before a press counts as a drag
constexpr int kPollMs = 50;

const QColor kPositionColour(220, 40, 40);
const QColor kPointColour(40, 110, 230);
const QColor kTimesColour(30, 150, 60);
const QColor kEventColour(240, 150, 0);
const QColor kWaveColour(60, 60, 60);

double Seconds(REFERENCE_TIME t) {
    return double(t) / UNITS;
}
REFERENCE_TIME Time(double seconds) {
    return std::llround(seconds * UNITS);
}

// A tidy step for ruler ticks at least `minimum` seconds apart.
double TickStep(double minimum) {
    for (double step : {1e-4, 2e-4, 5e-4, 1e-3, 2e-3, 5e-3, 0.01,  0.02,  0.05,  0.1,    0.2,   0.5,
                        1.0,  2.0,  5.0,  10.0, 30.0, 60.0, 120.0, 300.0, 600.0, 1800.0, 3600.0})
        if (step >= minimum)
            return step;
    return 7200;
}
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

void SyncViewCanvas::Snap() {
    const auto picture = pictureAnalysis_.Events();
    const auto sound = soundAnalysis_.Result();
    if (!picture || !sound)
        return;
    align::EventSearch search;
    search.offset = host_.Sync().audioOffset;
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
    align::EventSearch search;
    search.offset = host_.Sync().audioOffset;
    const auto frames = pictureAnalysis_.Frames();
    if (frames && frames->frameDuration > 0)
        search.frameDuration = frames->frameDuration;
    const align::Alignment found = align::PointsFromEvents(*picture, sound->onsets, search);
    if (!found.matched) {
        ui::MessageBox(this,
                       align::RefusalText(found) + ' ' +
                           Language().GetString(IDS_FIND_POINTS_NONE_ADDED),
                       Language().GetString(IDS_SYNC_VIEW_TITLE));
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

void SyncViewCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    DrawRuler(painter);
    DrawPicture(painter);
    DrawSound(painter);
    DrawMarkers(painter);
}

void SyncViewCanvas::DrawRuler(QPainter& painter) const {
    painter.setPen(palette().text().color());
    const double step = TickStep(90 * axis_.secondsPerPixel);
    const double first = std::ceil(axis_.TimeAt(0) / step) * step;
    const int decimals = std::clamp(int(std::ceil(-std::log10(step))), 0, 4);
    for (double t = first; axis_.XAt(t) < width(); t += step) {
        const int x = int(std::lround(axis_.XAt(t)));
        painter.drawLine(x, kRulerHeight - 6, x, kRulerHeight);
        painter.drawText(x + 3, kRulerHeight - 7, QString::number(t, 'f', decimals));
    }
    painter.drawLine(0, kRulerHeight, width(), kRulerHeight);
}

void SyncViewCanvas::DrawPicture(QPainter& painter) {
    const auto frames = pictureAnalysis_.Frames();
    const int top = kRulerHeight + 2;
    if (!frames || frames->starts.empty() || !detail_) {
        painter.drawText(6, top + kThumbnailHeight / 2,
                         Language()
                             .GetString(IDS_SYNC_VIEW_ANALYSING)
                             .arg(std::lround(pictureAnalysis_.Progress() * 100)));
        return;
    }
    const double frameSeconds =
        Seconds(frames->frameDuration > 0 ? frames->frameDuration : UNITS / 25);
    const bool everyFrame = frameSeconds / axis_.secondsPerPixel >= kSlotWidth;
    std::vector<REFERENCE_TIME> wanted;
    std::vector<std::pair<double, REFERENCE_TIME>> shown; // x and frame start
    if (everyFrame) {
        std::size_t i = frames->FrameAt(Time(axis_.TimeAt(0)));
        for (; i < frames->starts.size() && axis_.XAt(Seconds(frames->starts[i])) < width(); ++i)
            shown.push_back({axis_.XAt(Seconds(frames->starts[i])), frames->starts[i]});
    } else {
        // Slots on a grid fixed in time, so scrolling does not change which frames show.
        const double slot = kSlotWidth * axis_.secondsPerPixel;
        for (double t = std::floor(axis_.TimeAt(0) / slot) * slot; axis_.XAt(t) < width();
             t += slot)
            if (t >= 0 && t <= Length())
                shown.push_back({axis_.XAt(t), frames->starts[frames->FrameAt(Time(t))]});
    }
    // The frame nearest the picture's position first.
    const double here = axis_.XAt(Seconds(host_.VideoPosition()));
    std::vector<std::pair<double, REFERENCE_TIME>> byDistance = shown;
    std::sort(byDistance.begin(), byDistance.end(), [here](const auto& a, const auto& b) {
        return std::abs(a.first - here) < std::abs(b.first - here);
    });
    for (const auto& [x, start] : byDistance)
        wanted.push_back(start);
    detail_->WantFrames(std::move(wanted));

    for (const auto& [x, start] : shown) {
        const QImage image = detail_->Thumbnail(start);
        // A frame that began left of the view still shows its picture and number at the edge.
        const int left = int(std::lround(std::max(x, 0.0)));
        if (!image.isNull())
            painter.drawImage(left, top, image);
        else
            painter.fillRect(left, top, kSlotWidth - 2, kThumbnailHeight, palette().mid());
        if (everyFrame) {
            const std::size_t number = frames->FrameAt(start);
            painter.setPen(palette().text().color());
            painter.drawLine(left, top, left, top + kPictureLaneHeight - 4);
            painter.drawText(left + 3, top + kThumbnailHeight + 13, QString::number(number));
        }
    }
}

void SyncViewCanvas::DrawSound(QPainter& painter) {
    const int middle = kSoundTop + kSoundLaneHeight / 2;
    const double half = kSoundLaneHeight / 2.0 - 2;
    painter.setPen(palette().mid().color());
    painter.drawLine(0, middle, width(), middle);
    const auto picture = soundAnalysis_.Result();
    if (!picture) {
        painter.setPen(palette().text().color());
        painter.drawText(6, middle - 4,
                         Language()
                             .GetString(IDS_SYNC_VIEW_READING_SOUND)
                             .arg(std::lround(soundAnalysis_.Progress() * 100)));
        return;
    }
    if (FAILED(picture->status)) {
        painter.setPen(palette().text().color());
        painter.drawText(6, middle - 4,
                         Language()
                             .GetString(IDS_SYNC_VIEW_NO_SOUND)
                             .arg(QString::fromStdString(core::StatusText(picture->status))));
        return;
    }
    const int rate = picture->peaks.Rate();
    // The sound is drawn where it will play against the picture: shifted by the offset.
    const double first = (axis_.TimeAt(0) + Offset()) * rate;
    const double perColumn = axis_.secondsPerPixel * rate;
    painter.setPen(kWaveColour);
    if (perColumn >= PeakPyramid::kFinestSamples) {
        std::vector<PeakColumn> columns(std::size_t(std::max(0, width())));
        picture->peaks.Columns(first, perColumn, columns);
        std::vector<QLine> lines;
        lines.reserve(columns.size());
        for (std::size_t x = 0; x < columns.size(); ++x)
            if (columns[x].high > columns[x].low || columns[x].high != 0)
                lines.emplace_back(int(x), middle - int(columns[x].high * half), int(x),
                                   middle - int(columns[x].low * half));
        painter.drawLines(lines.data(), int(lines.size()));
        return;
    }
    const std::int64_t from = std::int64_t(std::floor(first)) - 1;
    const std::int64_t count = std::int64_t(std::ceil(width() * perColumn)) + 3;
    detail_->WantSamples(from, count);
    const SampleSpan span = detail_->Samples();
    if (span.samples.empty() || span.first > from ||
        span.first + std::int64_t(span.samples.size()) < from + count)
        return;
    QPolygonF wave;
    for (std::int64_t i = from; i < from + count; ++i) {
        const double x = (double(i) - first) / perColumn;
        wave << QPointF(x, middle - span.samples[std::size_t(i - span.first)] * half);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPolyline(wave);
    // Close enough to tell the samples apart, each is marked.
    if (1 / perColumn >= 4)
        for (const QPointF& point : wave)
            painter.drawEllipse(point, 2, 2);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void SyncViewCanvas::DrawMarkers(QPainter& painter) const {
    const avsync::SyncState& sync = host_.Sync();
    const int pictureTop = kRulerHeight;
    const int pictureBottom = kRulerHeight + kPictureLaneHeight;
    const int soundBottom = kSoundTop + kSoundLaneHeight;
    const auto soundX = [&](REFERENCE_TIME audio) {
        return int(std::lround(axis_.XAt(Seconds(audio) - Offset())));
    };
    const auto videoX = [&](REFERENCE_TIME video) {
        return int(std::lround(axis_.XAt(Seconds(video))));
    };

    painter.setPen(QPen(kEventColour, 2));
    if (const auto events = pictureAnalysis_.Events())
        for (REFERENCE_TIME t : *events)
            painter.drawLine(videoX(t), pictureBottom - 8, videoX(t), pictureBottom);
    if (const auto sound = soundAnalysis_.Result())
        for (REFERENCE_TIME t : sound->onsets)
            painter.drawLine(soundX(t), kSoundTop, soundX(t), kSoundTop + 8);

    // A point joins its video instant to its sound instant: upright when the offset in force
    // puts them together.
    painter.setPen(QPen(kPointColour, 2));
    for (int i = 0; i < sync.syncCount; ++i) {
        const avsync::SyncPoint& point = sync.syncPoints[i];
        painter.drawLine(videoX(point.videoTime), pictureTop, videoX(point.videoTime),
                         pictureBottom);
        painter.drawLine(videoX(point.videoTime), pictureBottom, soundX(point.audioTime),
                         kSoundTop);
        painter.drawLine(soundX(point.audioTime), kSoundTop, soundX(point.audioTime), soundBottom);
    }
    painter.setPen(QPen(kTimesColour, 2, Qt::DashLine));
    for (REFERENCE_TIME t : {sync.videoStart, sync.videoEnd})
        painter.drawLine(videoX(t), pictureTop, videoX(t), pictureBottom);
    for (REFERENCE_TIME t : {sync.audioStart, sync.audioEnd})
        painter.drawLine(soundX(t), kSoundTop, soundX(t), soundBottom);

    // The picture's position across both lanes, the sound's in its lane (the same place while
    // the players keep the offset apart).
    painter.setPen(QPen(kPositionColour, 1));
    const int video = videoX(host_.VideoPosition());
    painter.drawLine(video, 0, video, kSoundTop);
    const int audio = soundX(host_.AudioPosition());
    painter.drawLine(audio, kSoundTop, audio, soundBottom);
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
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (modifiers & Qt::AltModifier)
            NudgeOffset(Step::Sample, direction);
        else if ((modifiers & Qt::ControlModifier) && (modifiers & Qt::ShiftModifier))
            NudgeOffset(Step::Frame, direction);
        else if (modifiers & Qt::ControlModifier)
            NudgeOffset(Step::Millisecond, direction);
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
