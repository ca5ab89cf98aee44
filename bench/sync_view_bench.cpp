// The sync view's repaint, 1920 pixels wide, at zooms from the whole file to single samples:
// the view is opened on FILE (picture and sound), its analyses are awaited, and each zoom is
// painted into an image RUNS times while scrolling a little each time (median, milliseconds).
//
//   sync_view_bench FILE [RUNS]
// prints "ready_ms", "peaks_bytes" and "repaint_ms <seconds a pixel> <median>" lines.
#include "syncview/sync_view_canvas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The owner's part: a file, a still position, no points.
class BenchHost final : public syncview::SyncViewHost {
  public:
    explicit BenchHost(std::string path) : path_(std::move(path)) {}
    std::string VideoPath() const override { return path_; }
    std::string SoundPath() const override { return path_; }
    REFERENCE_TIME VideoPosition() const override { return position; }
    REFERENCE_TIME AudioPosition() const override { return position + sync.audioOffset; }
    const avsync::SyncState& Sync() const override { return sync; }
    void SeekTo(REFERENCE_TIME video) override { position = video; }
    void SetAudioOffset(REFERENCE_TIME offset) override { sync.audioOffset = offset; }
    void AddPointHere() override {}
    void ProposePoints(const align::Alignment&) override {}

    avsync::SyncState sync;
    REFERENCE_TIME position = 0;

  private:
    std::string path_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: sync_view_bench FILE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
    BenchHost host(argv[1]);
    syncview::FrameTimes frames;
    if (FAILED(syncview::ReadFrameTimes(argv[1], nullptr, &frames)) || frames.starts.empty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    host.sync.videoDuration = frames.EndOf(frames.starts.size() - 1);
    host.position = host.sync.videoDuration / 3;

    QElapsedTimer ready;
    ready.start();
    syncview::SyncViewCanvas canvas(host, nullptr);
    canvas.resize(1920, 260);
    canvas.Analyse();
    QTest::qWaitFor([&] { return canvas.EventsReady(); }, 3'600'000);
    std::printf("ready_ms %lld\n", static_cast<long long>(ready.elapsed()));

    QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    const double whole = double(host.sync.videoDuration) / UNITS / canvas.width();
    for (const double perPixel :
         {whole, 10.0 / 1920, 1.0 / 1920, 64.0 / 48000, canvas.FinestSecondsPerPixel()}) {
        canvas.ZoomToAll();
        while (canvas.Axis().secondsPerPixel > perPixel * 1.0001)
            canvas.ZoomBy(std::min(2.0, canvas.Axis().secondsPerPixel / perPixel));
        // The close-up reader fills in what this zoom shows, as it would while the user looks.
        canvas.render(&image);
        QTest::qWait(1500);
        std::vector<double> ms;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            canvas.render(&image);
            ms.push_back(timer.nsecsElapsed() / 1e6);
            QTest::keyClick(&canvas, run % 2 ? Qt::Key_Left : Qt::Key_Right);
        }
        std::printf("repaint_ms %.3g %.2f\n", canvas.Axis().secondsPerPixel, Median(ms));
    }
    return 0;
}
