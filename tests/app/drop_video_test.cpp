// A video file dragged from the file manager onto the running main window opens as Open
// Video would; with points recorded it asks first. A file of sound only is offered as the
// separate sound, and a synchronization list loads as Load sync list loads it. The drag goes
// in through the window system layer, as a desktop delivers it.
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"
#include "sync/sync_list_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>
#include <qpa/qplatformdrag.h>
#include <qpa/qwindowsysteminterface.h>

namespace {

class DropVideoTest : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::UseTemporarySettings(); }

    // Drags the files over the window at a widget's centre and drops them; true when the
    // window took the drop.
    bool Drop(const QList<QUrl>& urls, int overId) {
        QMimeData data;
        data.setUrls(urls);
        QWidget* over = dlg.GetDlgItem(overId);
        const QPoint point = over->mapTo(&dlg, over->rect().center());
        QWindow* window = dlg.windowHandle();
        const auto drag = QWindowSystemInterface::handleDrag(window, &data, point, Qt::CopyAction,
                                                             Qt::LeftButton, {});
        if (!drag.isAccepted()) {
            // The pointer leaves again, as after a refused drag.
            QWindowSystemInterface::handleDrag(window, nullptr, point, Qt::CopyAction, {}, {});
            return false;
        }
        const auto drop = QWindowSystemInterface::handleDrop(window, &data, point, Qt::CopyAction,
                                                             Qt::LeftButton, {});
        return drop.isAccepted();
    }
    QString OpenedPath() const {
        return dlg.photoList.Count() ? QString::fromStdString(dlg.photoList[0].path) : QString();
    }
    bool WaitForOpened(const std::string& path) {
        return QTest::qWaitFor([&] { return OpenedPath() == QString::fromStdString(path); }, 10000);
    }
    // The dropped file is taken up after the drop's event, with its questions.
    bool WaitForMessages(std::size_t count) {
        return QTest::qWaitFor([&] { return scope.prompts.messages.size() >= count; }, 10000) &&
               scope.prompts.messages.size() == count;
    }
    bool DropFile(const std::string& path) {
        return Drop({QUrl::fromLocalFile(QString::fromStdString(path))}, IDC_STATIC_STATUS);
    }

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};

} // namespace

TEST_F(DropVideoTest, ADroppedVideoOpensAndOneDroppedOverPointsAsksFirst) {
    const std::string first = testsupport::PlainClip(320, 240, 25, 1);
    const std::string second = testsupport::PlainClip(176, 144, 25, 1);
    const QString folder = testsupport::TemporaryFolder();
    testsupport::RunModal(dlg, [&] {
        // Neither text nor a folder opens anything.
        EXPECT_FALSE(Drop({QUrl("https://example.org/clip.mp4")}, IDC_STATIC_STATUS));
        EXPECT_FALSE(Drop({QUrl::fromLocalFile(folder)}, IDC_STATIC_STATUS));

        ASSERT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(first))}, IDC_STATIC_STATUS));
        ASSERT_TRUE(WaitForOpened(first));
        EXPECT_TRUE(scope.prompts.messages.empty());
        EXPECT_EQ(dlg.nativeWidth, 320);

        dlg.syncState.syncPoints[0] = {UNITS, UNITS};
        dlg.syncState.syncPoints[1] = {2 * UNITS / 3, 2 * UNITS / 3};
        dlg.syncState.syncCount = 2;
        scope.prompts.answers = {ui::IDNO};
        ASSERT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(second))}, IDC_STATIC_STATUS));
        ASSERT_TRUE(WaitForMessages(1));
        EXPECT_EQ(scope.prompts.messages[0].text,
                  "Opening " + QString::fromStdString(second).section('/', -1) +
                      " replaces the 2 synchronization points of the video open now. Do you "
                      "want to open it?");
        // The drop was taken up, question and answer, before the message came; anything it
        // still left to do is due at once.
        QCoreApplication::processEvents();
        EXPECT_EQ(OpenedPath(), QString::fromStdString(first));
        EXPECT_EQ(dlg.syncState.syncCount, 2);

        // Dropped over a text box, the window takes it all the same.
        scope.prompts.answers = {ui::IDYES};
        ASSERT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(second))}, IDC_EDIT_VIDEO_START));
        ASSERT_TRUE(WaitForOpened(second));
        EXPECT_EQ(dlg.syncState.syncCount, 0);
        EXPECT_EQ(dlg.nativeWidth, 176);

        // While a conversion runs nothing opens, as Open Video is disabled then.
        dlg.converting = 1;
        EXPECT_FALSE(Drop({QUrl::fromLocalFile(QString::fromStdString(first))}, IDC_STATIC_STATUS));
        dlg.converting = 0;
    });
}

TEST_F(DropVideoTest, ADroppedSoundIsOfferedAsTheSeparateSoundAndADroppedListLoads) {
    const std::string video = testsupport::PlainClip(320, 240, 25, 1);
    const std::string sound = testsupport::Clip(testsupport::ClipKind::SoundOnly);
    const QString soundName = QFileInfo(QString::fromStdString(sound)).fileName();
    const QString videoName = QFileInfo(QString::fromStdString(video)).fileName();
    const std::vector<avsync::SyncPoint> listed = {{UNITS / 5, UNITS / 4}, {UNITS / 2, UNITS / 2}};
    const std::string list = (testsupport::TemporaryFolder() + "/dropped.ini").toStdString();
    ASSERT_TRUE(avsync::SaveSyncList(list, "out.avi", listed, {video, video}));
    testsupport::RunModal(dlg, [&] {
        // Without a video to go with them, a list is refused.
        EXPECT_FALSE(DropFile(list));
        ASSERT_TRUE(DropFile(video));
        ASSERT_TRUE(WaitForOpened(video));
        dlg.videoPlayer->currentPosition = UNITS / 10;
        QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_ADD_SYNC_POINT), Qt::LeftButton);
        const std::vector<avsync::SyncPoint> added = dlg.syncState.Points();
        ASSERT_EQ(added.size(), 1u);

        // Declined, nothing changes; taken, it asks about the points as the menu does.
        scope.prompts.answers = {ui::IDNO};
        ASSERT_TRUE(DropFile(sound));
        ASSERT_TRUE(WaitForMessages(1));
        EXPECT_EQ(scope.prompts.messages[0].text,
                  Language().GetString(IDS_DROPPED_SOUND_QUESTION).arg(soundName, videoName));
        EXPECT_EQ(dlg.musicList[0].path, video);
        scope.prompts.answers = {ui::IDYES, ui::IDNO};
        ASSERT_TRUE(DropFile(sound));
        ASSERT_TRUE(WaitForMessages(3));
        EXPECT_EQ(scope.prompts.messages[2].text,
                  Language().GetString(IDS_SEPARATE_SOUND_CLEAR_POINTS).arg(videoName, soundName));
        EXPECT_EQ(dlg.musicList[0].path, sound);
        EXPECT_EQ(dlg.audioPlayer->fileName, sound);
        EXPECT_EQ(dlg.syncState.Points(), added);

        // The unsaved point is asked about before the list replaces it.
        scope.prompts.messages.clear();
        scope.prompts.answers = {ui::IDNO};
        ASSERT_TRUE(DropFile(list));
        ASSERT_TRUE(WaitForMessages(1));
        EXPECT_EQ(scope.prompts.messages[0].text,
                  Language().GetString(IDS_MESSAGE_DISCARD_CHANGED_POINTS));
        EXPECT_EQ(dlg.syncState.Points(), added);
        scope.prompts.answers = {ui::IDYES};
        ASSERT_TRUE(DropFile(list));
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.syncState.Points() == listed; }, 10000));
        EXPECT_EQ(dlg.photoList[0].path, video);
    });
}
