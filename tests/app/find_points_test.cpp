// Find points automatically, from the main window's pop-up menu, on dual-system material whose
// map is known: the search runs with a progress dialog that can cancel it, the proposals are
// listed before anything changes, the points kept are added by the rule of Add point and lie
// on the true map, and a search that finds nothing says why.
#include "align/dual_recording.h"
#include "align/flashing_dual_recording.h"
#include "align/scene_sound.h"
#include "app/find_points_progress.h"
#include "app/point_proposals_dialog.h"
#include "language/language.h"
#include "resources/resource.h"
#include "sound_menu_fixture.h"
#include "support/drift_fixtures.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/test_environment.h"
#include "sync/time_text.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

constexpr REFERENCE_TIME S = UNITS;
constexpr double kPointTolerance = 1e-4; // seconds

double Seconds(REFERENCE_TIME t) {
    return double(t) / UNITS;
}

class FindPointsTest : public SoundMenuFixture {
  protected:
    // Picks Find points and answers its dialogs as they come: `onProgress` while the search
    // runs (once), `onProposals` when the proposals are shown (nothing answered: the dialog
    // is cancelled).
    void FindPoints(const std::function<void(FindPointsProgress&)>& onProgress,
                    const std::function<void(PointProposalsDialog&)>& onProposals,
                    int command = IDM_FIND_POINTS) {
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* progress = qobject_cast<FindPointsProgress*>(modal);
                progress && !progressSeen) {
                progressSeen = true;
                if (onProgress)
                    onProgress(*progress);
            } else if (auto* proposals = qobject_cast<PointProposalsDialog*>(modal);
                       proposals && !proposalsSeen) {
                proposalsSeen = true;
                if (onProposals)
                    onProposals(*proposals);
                if (proposals->isVisible())
                    proposals->CancelButton()->click();
            }
        });
        answer.start(10);
        ASSERT_TRUE(Pick(command));
    }
    void OpenMaterial(const std::string& recording) {
        OpenVideo(truth.videoPath);
        ASSERT_TRUE(OpenSeparateSound(recording));
        ASSERT_TRUE(scope.prompts.messages.empty());
    }
    // Every point lies on the true map, and the table showed it.
    void ExpectOnTheMap(const std::vector<avsync::SyncPoint>& points) {
        for (const avsync::SyncPoint& point : points)
            EXPECT_NEAR(Seconds(point.audioTime), truth.RecordingAt(Seconds(point.videoTime)),
                        kPointTolerance)
                << "at video " << Seconds(point.videoTime);
    }
    static std::vector<avsync::SyncPoint> Listed(PointProposalsDialog& dialog) {
        std::vector<avsync::SyncPoint> listed;
        QTableWidget* table = dialog.Table();
        for (int row = 0; row < table->rowCount(); ++row)
            listed.push_back({avsync::TextToTime(table->item(row, 0)->text().toStdString()),
                              avsync::TextToTime(table->item(row, 1)->text().toStdString())});
        return listed;
    }

    const aligntest::FlashingDualRecording& truth = aligntest::MakeFlashingDualRecording();
    bool progressSeen = false;
    bool proposalsSeen = false;
};

} // namespace

TEST_F(FindPointsTest, TheProposalsAreListedAndThoseAddedLieOnTheTrueMap) {
    testsupport::RunModal(dlg, [&] {
        OpenMaterial(truth.recorderPath);
        // A point of the user's own stays, and the found ones take their places around it.
        dlg.videoPlayer->currentPosition = 30 * S;
        Click(IDC_BUTTON_ADD_SYNC_POINT);
        std::vector<avsync::SyncPoint> listed;
        QString summary;
        FindPoints(nullptr, [&](PointProposalsDialog& proposals) {
            listed = Listed(proposals);
            for (QLabel* label : proposals.findChildren<QLabel*>())
                summary += label->text();
            for (int row = 0; row < proposals.Table()->rowCount(); ++row) {
                const double confidence = proposals.Table()->item(row, 2)->text().toDouble();
                EXPECT_GT(confidence, 0.5);
                EXPECT_LE(confidence, 1.0);
            }
            proposals.AddAllButton()->click();
        });
        EXPECT_TRUE(progressSeen);
        ASSERT_TRUE(proposalsSeen);
        EXPECT_TRUE(scope.prompts.messages.empty()) << scope.prompts.messages[0].text.toStdString();
        ASSERT_GE(listed.size(), 3u);
        ExpectOnTheMap(listed);
        const QRegularExpressionMatch drift =
            QRegularExpression("Drift: (-?[0-9.]+) ppm").match(summary);
        ASSERT_TRUE(drift.hasMatch()) << summary.toStdString();
        EXPECT_NEAR(drift.captured(1).toDouble(), truth.driftPpm, 1.0);
        EXPECT_TRUE(summary.contains("No jump")) << summary.toStdString();

        std::vector<avsync::SyncPoint> expected = listed;
        // Added before them, the user's point comes first among points of the same video time.
        expected.insert(
            std::find_if(expected.begin(), expected.end(),
                         [](const avsync::SyncPoint& p) { return p.videoTime >= 30 * S; }),
            avsync::SyncPoint{30 * S, 30 * S});
        EXPECT_EQ(dlg.syncState.Points(), expected);
        EXPECT_EQ(dlg.Item<QTableWidget>(IDC_LIST_SYNC_POINTS)->rowCount(),
                  static_cast<int>(expected.size()));
    });
}

TEST_F(FindPointsTest, OnlyTheCheckedProposalsAreAdded) {
    testsupport::RunModal(dlg, [&] {
        OpenMaterial(truth.recorderPath);
        std::vector<avsync::SyncPoint> listed;
        FindPoints(nullptr, [&](PointProposalsDialog& proposals) {
            listed = Listed(proposals);
            proposals.Table()->item(1, 0)->setCheckState(Qt::Unchecked);
            proposals.AddCheckedButton()->click();
        });
        ASSERT_GE(listed.size(), 3u);
        listed.erase(listed.begin() + 1);
        EXPECT_EQ(dlg.syncState.Points(), listed);
        ExpectOnTheMap(dlg.syncState.Points());
    });
}

TEST_F(FindPointsTest, CancellingTheProposalsOrTheSearchAddsNoPoint) {
    testsupport::RunModal(dlg, [&] {
        OpenMaterial(truth.recorderPath);
        FindPoints(nullptr, nullptr);
        EXPECT_TRUE(proposalsSeen);
        EXPECT_EQ(dlg.syncState.syncCount, 0);

        progressSeen = proposalsSeen = false;
        FindPoints([](FindPointsProgress& progress) { progress.CancelButton()->click(); }, nullptr);
        EXPECT_TRUE(progressSeen);
        EXPECT_FALSE(proposalsSeen);
        EXPECT_EQ(dlg.syncState.syncCount, 0);
        EXPECT_TRUE(scope.prompts.messages.empty());
    });
}

// Each search that finds nothing says why in one message, and adds nothing.
TEST_F(FindPointsTest, EachRefusalIsOneMessageNamingItsCause) {
    const struct {
        const char* what;
        std::string video;
        std::string recording;
        int cause;
    } cases[] = {
        {"another scene", truth.videoPath, aligntest::UnrelatedShortRecording(),
         IDS_FIND_POINTS_NO_MATCH},
        {"a video without sound", testsupport::PlainClip(160, 120, 25, 2, false),
         truth.recorderPath, IDS_FIND_POINTS_VIDEO_NO_SOUND},
        {"a silent recorder", truth.videoPath,
         aligntest::WriteRecorderFile(std::vector<float>(aligntest::kSceneRate * 10), "silent"),
         IDS_FIND_POINTS_SOUND_SILENT},
    };
    testsupport::RunModal(dlg, [&] {
        for (const auto& refused : cases) {
            OpenVideo(refused.video);
            ASSERT_TRUE(OpenSeparateSound(refused.recording)) << refused.what;
            scope.prompts.messages.clear();
            proposalsSeen = false;
            FindPoints(nullptr, nullptr);
            EXPECT_FALSE(proposalsSeen) << refused.what;
            ASSERT_EQ(scope.prompts.messages.size(), 1u) << refused.what;
            EXPECT_EQ(scope.prompts.messages[0].text,
                      Language().GetString(refused.cause) + " " +
                          Language().GetString(IDS_FIND_POINTS_NONE_ADDED))
                << refused.what;
            EXPECT_EQ(scope.prompts.messages[0].caption, "Find points automatically");
            EXPECT_EQ(dlg.syncState.syncCount, 0) << refused.what;
        }
    });
}

// Without a separate sound, the clip's own clicks and flashes give the points; a clip without
// any says so.
TEST_F(FindPointsTest, FromEventsTheClipsOwnClicksAndFlashesGivePointsOnItsMap) {
    const double offset = 0.3, drift = 0.01;
    const testsupport::DriftingClip clip =
        testsupport::MakeDriftingClip(12, 25, {1.0, 4.0, 7.0, 10.0}, offset, drift);
    testsupport::RunModal(dlg, [&] {
        OpenVideo(clip.path);
        std::vector<avsync::SyncPoint> listed;
        QString heading, summary;
        FindPoints(
            nullptr,
            [&](PointProposalsDialog& proposals) {
                listed = Listed(proposals);
                heading = proposals.Table()->horizontalHeaderItem(1)->text();
                for (QLabel* label : proposals.findChildren<QLabel*>())
                    summary += label->text();
                proposals.AddAllButton()->click();
            },
            IDM_FIND_POINTS_FROM_EVENTS);
        ASSERT_TRUE(proposalsSeen);
        EXPECT_EQ(heading, Language().GetString(IDS_COLUMN_FOUND_OWN_SOUND_TIME));
        EXPECT_FALSE(summary.contains("jump")) << summary.toStdString();
        ASSERT_EQ(listed.size(), 2u);
        EXPECT_EQ(dlg.syncState.Points(), listed);
        for (const avsync::SyncPoint& point : listed)
            EXPECT_NEAR(Seconds(point.audioTime), offset + Seconds(point.videoTime) * (1 + drift),
                        kPointTolerance);

        OpenVideo(testsupport::MakeDriftingClip(4, 25, {}, 0, 0).path);
        scope.prompts.messages.clear();
        proposalsSeen = false;
        FindPoints(nullptr, nullptr, IDM_FIND_POINTS_FROM_EVENTS);
        EXPECT_FALSE(proposalsSeen);
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_EQ(scope.prompts.messages[0].text,
                  Language().GetString(IDS_EVENTS_NONE_IN_PICTURE) + " " +
                      Language().GetString(IDS_FIND_POINTS_NONE_ADDED));
        EXPECT_EQ(scope.prompts.messages[0].caption, "Find points from events");
        EXPECT_EQ(dlg.syncState.syncCount, 0);
    });
}

// A match as good as perfect has a drift that rounds to zero from either side: it shows no
// sign.
TEST(PointProposalsDialogTest, ShowsTheDriftWithoutANegativeZero) {
    const struct {
        double ppm;
        const char* shown;
    } cases[] = {{-0.0, "0.00"},    {-0.001, "0.00"},       {-0.004999, "0.00"}, {0.004, "0.00"},
                 {-0.006, "-0.01"}, {-12.345678, "-12.35"}, {80.5, "80.50"}};
    for (const auto& drift : cases) {
        align::Alignment found;
        found.matched = true;
        found.driftPpm = drift.ppm;
        found.offset = UNITS / 2;
        PointProposalsDialog dialog(found, IDS_COLUMN_FOUND_SOUND_TIME, true, nullptr);
        QString summary;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            summary += label->text();
        EXPECT_TRUE(summary.startsWith(
            QStringLiteral("Drift: %1 ppm     Offset: 0.5000000 s").arg(drift.shown)))
            << drift.ppm << ": " << summary.toStdString();
    }
}
