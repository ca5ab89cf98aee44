// The sync view as the program runs it: opened from the main window's pop-up menu while the
// main window runs modally, on a clip whose flashes and clicks are known exactly; the keys, a
// drag of the sound, the zoom down to samples, a click, Snap, Add point here and Find points
// from events, each through the view's own widgets.
#include "app/point_proposals_dialog.h"
#include "resources/resource.h"
#include "sound_menu_fixture.h"
#include "support/drift_fixtures.h"
#include "support/modal_run.h"
#include "syncview/sync_view_window.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {

constexpr double kOffset = 0.3;
constexpr double kDrift = 0.01;
constexpr double kPointTolerance = 1e-4; // seconds
constexpr int kSoundLaneY = 150;         // inside the sound lane
constexpr int kPictureLaneY = 50;

double Seconds(REFERENCE_TIME t) {
    return double(t) / UNITS;
}
double Map(double video) {
    return kOffset + video * (1 + kDrift);
}

class SyncViewTest : public SoundMenuFixture {
  protected:
    // Opens the clip and the view, and waits for the view's analyses.
    syncview::SyncViewCanvas* OpenView() {
        OpenVideo(clip.path);
        EXPECT_TRUE(Pick(IDM_SYNC_VIEW));
        syncview::SyncViewWindow* view = dlg.SyncView();
        if (!view)
            return nullptr;
        EXPECT_TRUE(view->isVisible());
        // Snap and Find points from events wait for the events.
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->SnapButton()->isEnabled(); }, 30000));
        return view->Canvas();
    }
    // Clicks the view's picture lane at `seconds`.
    void ClickAt(syncview::SyncViewCanvas* canvas, double seconds) {
        const int x = int(std::lround(canvas->Axis().XAt(seconds)));
        QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(x, kPictureLaneY));
    }
    // Presses `button` and adds every point the proposals offer.
    std::vector<avsync::SyncPoint> AcceptProposals(QPushButton* button) {
        std::vector<avsync::SyncPoint> listed;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* proposals =
                    qobject_cast<PointProposalsDialog*>(QApplication::activeModalWidget())) {
                proposals->AddAllButton()->click();
                listed = proposals->Chosen();
            }
        });
        answer.start(10);
        button->click();
        return listed;
    }

    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(12, 25, {1.0, 4.0, 7.0, 10.0}, kOffset, kDrift);
};

} // namespace

TEST_F(SyncViewTest, KeysAndDragMoveTheSoundAndTheZoomReachesSamples) {
    testsupport::RunModal(dlg, [&] {
        syncview::SyncViewCanvas* canvas = OpenView();
        ASSERT_TRUE(canvas);
        const REFERENCE_TIME sample = UNITS / 48000;
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            REFERENCE_TIME offset; // after the key, from 0
        } steps[] = {
            // The sound moves the way the arrow points, as under a drag: right is later.
            {Qt::Key_Right, Qt::ControlModifier, -UNITS / 1000},
            {Qt::Key_Right, Qt::AltModifier, std::llround(-49 * 1e7 / 48000)},
            {Qt::Key_Left, Qt::AltModifier, -UNITS / 1000},
            {Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier, UNITS / 25 - UNITS / 1000},
        };
        for (const auto& step : steps) {
            QTest::keyClick(canvas, step.key, step.modifiers);
            EXPECT_EQ(dlg.syncState.audioOffset, step.offset) << step.key << " " << step.modifiers;
        }
        EXPECT_TRUE(dlg.SyncView()->OffsetLabel()->text().contains("+39.000 ms (1872 samples)"))
            << dlg.SyncView()->OffsetLabel()->text().toStdString();

        // Dragged 100 pixels right, the sound plays 100 pixels' time later against the picture:
        // the audio position for a picture instant moves back by as much.
        const REFERENCE_TIME before = dlg.syncState.audioOffset;
        const double moved = 100 * canvas->Axis().secondsPerPixel;
        QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(200, kSoundLaneY));
        for (int x = 210; x <= 300; x += 10)
            QTest::mouseMove(canvas, QPoint(x, kSoundLaneY));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(300, kSoundLaneY));
        EXPECT_NEAR(Seconds(dlg.syncState.audioOffset), Seconds(before) - moved, Seconds(sample));

        // Zoomed all the way in, a pixel is an eighth of a sample; no further.
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(canvas, Qt::Key_Up);
        EXPECT_DOUBLE_EQ(canvas->Axis().secondsPerPixel, canvas->FinestSecondsPerPixel());
        EXPECT_NEAR(canvas->FinestSecondsPerPixel(), 1.0 / 48000 / 8, 1e-12);
        QTest::keyClick(canvas, Qt::Key_Home);
        EXPECT_NEAR(canvas->Axis().secondsPerPixel * canvas->width(), 12, 0.1);

        // A click puts the picture there, the sound the offset away.
        ClickAt(canvas, 5.5);
        EXPECT_NEAR(Seconds(dlg.videoPlayer->currentPosition), 5.5, 0.05);
    });
}

TEST_F(SyncViewTest, SnapAddPointHereAndEventsGivePointsOnTheMap) {
    testsupport::RunModal(dlg, [&] {
        syncview::SyncViewCanvas* canvas = OpenView();
        ASSERT_TRUE(canvas);
        syncview::SyncViewWindow* view = dlg.SyncView();

        // Snap near the second flash: the pair lines up and its point is added.
        ClickAt(canvas, 4.1);
        std::vector<avsync::SyncPoint> snapped = AcceptProposals(view->SnapButton());
        ASSERT_EQ(snapped.size(), 1u);
        EXPECT_NEAR(Seconds(snapped[0].videoTime), 4.0, 1e-3);
        EXPECT_NEAR(Seconds(snapped[0].audioTime), Map(Seconds(snapped[0].videoTime)),
                    kPointTolerance);
        EXPECT_EQ(dlg.syncState.audioOffset, snapped[0].audioTime - snapped[0].videoTime);
        ASSERT_EQ(dlg.syncState.syncCount, 1);

        // Add point here: the picture's position and the offset in force.
        ClickAt(canvas, 6.0);
        const REFERENCE_TIME here = dlg.videoPlayer->currentPosition;
        view->AddPointButton()->click();
        ASSERT_EQ(dlg.syncState.syncCount, 2);
        EXPECT_EQ(dlg.syncState.syncPoints[1].videoTime, here);
        EXPECT_EQ(dlg.syncState.syncPoints[1].audioTime, here + dlg.syncState.audioOffset);

        // Every flash and click of the file: the first and last pairs, on the map.
        std::vector<avsync::SyncPoint> found = AcceptProposals(view->FindPointsButton());
        ASSERT_EQ(found.size(), 2u);
        for (const avsync::SyncPoint& point : found)
            EXPECT_NEAR(Seconds(point.audioTime), Map(Seconds(point.videoTime)), kPointTolerance);
        EXPECT_EQ(dlg.syncState.syncCount, 4);
    });
}
