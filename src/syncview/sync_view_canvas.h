#pragma once
// The sync view's drawing surface: a time ruler, the picture lane (frames as small pictures at
// their times, every frame with its number when zoomed in far enough), the sound lane (the
// waveform of the sound in use, shifted by the offset in force so that picture and sound line
// up as they will be composed; the samples themselves at the finest zoom) and the markers: the
// players' positions, the points, the four times and the events found in the file.
//
// The mouse: a click sets both players' position; dragging the sound lane moves the sound
// against the picture (the offset), dragging elsewhere scrolls; the wheel zooms. The keys are
// listed by KeyHelp(). Owned by the sync view window; everything runs on the window's thread,
// and the analyses and the close-up reader work on threads of their own.
#include "align/event_points.h"
#include "syncview/detail_reader.h"
#include "syncview/picture_analysis.h"
#include "syncview/sound_analysis.h"
#include "syncview/sync_view_host.h"
#include "syncview/time_axis.h"

#include <QTimer>
#include <QWidget>

#include <memory>

namespace syncview {

class SyncViewCanvas : public QWidget {
    Q_OBJECT
  public:
    SyncViewCanvas(SyncViewHost& host, QWidget* parent);
    ~SyncViewCanvas() override;

    // Starts the analyses of the files the host has in use; again whenever they change.
    void Analyse();

    enum class Step { Sample, Millisecond, Frame };
    // Moves the sound against the picture by one step, later (+1) or earlier (-1).
    void NudgeOffset(Step step, int direction);
    // Moves both players a frame on (+1) or back (-1).
    void StepFrame(int direction);
    void ZoomBy(double factor);
    // The whole file in view.
    void ZoomToAll();
    // Pairs the sound onset and the picture event nearest the picture's position, within the
    // half of the view around it, lines them up (the offset) and proposes the point they give.
    void Snap();
    void FindPointsFromEvents();

    const TimeAxis& Axis() const { return axis_; }
    // Seconds a pixel at the finest zoom: a few pixels a sample.
    double FinestSecondsPerPixel() const;
    // The offset in force in milliseconds and in samples of the sound in use.
    QString OffsetText() const;
    // 0..1 while the analyses run, 1 when both are done.
    double AnalysisProgress() const;
    bool EventsReady() const;
    static QString KeyHelp();

  signals:
    // The offset, the zoom or the analyses' progress changed: the window updates its texts.
    void Changed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Poll();
    void DrawRuler(class QPainter& painter) const;
    void DrawPicture(QPainter& painter);
    void DrawSound(QPainter& painter);
    void DrawMarkers(QPainter& painter) const;
    void SetOffset(REFERENCE_TIME offset);
    // The events are paired around the offset in force, to within the picture's frame.
    align::EventSearch EventSearchNow() const;
    int SoundRate() const;
    double Offset() const; // seconds
    double Length() const; // seconds
    bool InSoundLane(int y) const;

    SyncViewHost& host_;
    TimeAxis axis_;
    SoundAnalysis soundAnalysis_;
    PictureAnalysis pictureAnalysis_;
    std::unique_ptr<DetailReader> detail_;
    std::string analysedVideo_;
    std::string analysedSound_;
    QTimer poll_;
    double lastProgress_ = -1;
    REFERENCE_TIME lastPosition_ = -1;
    REFERENCE_TIME lastOffset_ = 0;
    REFERENCE_TIME lastAudio_ = -1;
    // A press: where, and what a drag from it moves.
    enum class Drag { None, Scroll, Sound } drag_ = Drag::None;
    int pressX_ = 0;
    bool moved_ = false;
    double pressStart_ = 0;
    REFERENCE_TIME pressOffset_ = 0;
};

} // namespace syncview
