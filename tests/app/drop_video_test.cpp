// A video file dragged from the file manager onto the running main window opens as Open
// Video would; with points recorded it asks first. The drag goes in through the window
// system layer, as a desktop delivers it.
#include "app/vellum_dlg.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

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
        ASSERT_EQ(scope.prompts.messages.size(), 1u);
        EXPECT_EQ(scope.prompts.messages[0].text,
                  "Opening " + QString::fromStdString(second).section('/', -1) +
                      " replaces the 2 synchronization points of the video open now. Do you "
                      "want to open it?");
        QTest::qWait(200);
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
