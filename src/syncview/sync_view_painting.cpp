// The sync view canvas's drawing: the ruler, the picture lane, the sound lane and the markers.
#include "language/language.h"
#include "resources/resource.h"
#include "syncview/sync_view_canvas.h"
#include "syncview/sync_view_layout.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace syncview {

using namespace layout;

namespace {
// A tidy step for ruler ticks at least `minimum` seconds apart.
double TickStep(double minimum) {
    for (double step : {1e-4, 2e-4, 5e-4, 1e-3, 2e-3, 5e-3, 0.01,  0.02,  0.05,  0.1,    0.2,   0.5,
                        1.0,  2.0,  5.0,  10.0, 30.0, 60.0, 120.0, 300.0, 600.0, 1800.0, 3600.0})
        if (step >= minimum)
            return step;
    return 7200;
}
} // namespace

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
        // A label that would run past the right edge goes on the tick's other side.
        const QString label = QString::number(t, 'f', decimals);
        const int labelWidth = painter.fontMetrics().horizontalAdvance(label);
        const int labelX = x + 3 + labelWidth <= width() ? x + 3 : x - 3 - labelWidth;
        painter.drawText(labelX, kRulerHeight - 7, label);
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

    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto& [x, start] = shown[i];
        const QImage image = detail_->Thumbnail(start);
        // A frame that began left of the view still shows its picture and number at the edge,
        // up to where the next one begins, so the two never draw over each other.
        const int left = int(std::lround(std::max(x, 0.0)));
        const int right = i + 1 < shown.size() ? int(std::lround(shown[i + 1].first)) : width();
        painter.save();
        painter.setClipRect(left, top, std::max(0, right - left), kPictureLaneHeight);
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
        painter.restore();
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

    // One tick per pixel column in view: a long file has thousands of onsets, most of them
    // sharing a column when zoomed out or lying outside the view when zoomed in.
    const auto drawTicks = [&](const std::vector<REFERENCE_TIME>& times, const auto& toX, int top,
                               int bottom) {
        int last = -1;
        for (REFERENCE_TIME t : times) {
            const int x = toX(t);
            if (x < 0 || x >= width() || x == last)
                continue;
            painter.drawLine(x, top, x, bottom);
            last = x;
        }
    };
    painter.setPen(QPen(kEventColour, 2));
    if (const auto events = pictureAnalysis_.Events())
        drawTicks(*events, videoX, pictureBottom - 8, pictureBottom);
    if (const auto sound = soundAnalysis_.Result())
        drawTicks(sound->onsets, soundX, kSoundTop, kSoundTop + 8);

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

} // namespace syncview
