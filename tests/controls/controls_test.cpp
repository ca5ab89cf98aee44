#include "controls/bitmap_slider.h"
#include "controls/hyperlink.h"
#include "support/scripted_prompts.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ShellScope {
  public:
    ShellScope() {
        auto recording = std::make_unique<testsupport::RecordingShell>();
        shell = recording.get();
        previous_ = ui::InstallShell(std::move(recording));
    }
    ~ShellScope() { ui::InstallShell(std::move(previous_)); }
    testsupport::RecordingShell* shell;

  private:
    std::unique_ptr<ui::Shell> previous_;
};

} // namespace

TEST(HyperLink, ClickOpensTheAddressAndMarksTheLinkVisited) {
    ShellScope scope;
    testsupport::PromptScope prompts;
    CHyperLink link;
    link.SetURL("https://www.morvane.example/");
    EXPECT_EQ(link.text(), "https://www.morvane.example/");
    EXPECT_EQ(link.toolTip(), "https://www.morvane.example/");
    link.show();
    QTest::mouseClick(&link, Qt::LeftButton);
    ASSERT_EQ(scope.shell->opened.size(), 1u);
    EXPECT_EQ(scope.shell->opened[0], "https://www.morvane.example/");
    EXPECT_TRUE(link.IsVisited());
    EXPECT_TRUE(prompts.prompts.messages.empty());
}

TEST(HyperLink, AnAddressThatCannotBeOpenedSaysWhyAndStaysUnvisited) {
    ShellScope scope;
    scope.shell->succeed = false;
    testsupport::PromptScope prompts;
    CHyperLink link;
    link.setText("Support Email: Click here");
    link.SetURL("https://www.morvane.example/contact/");
    EXPECT_EQ(link.text(), "Support Email: Click here");
    link.show();
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_FALSE(link.IsVisited());
    ASSERT_EQ(prompts.prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.prompts.messages[0].text.startsWith("Unable to open hyperlink:\n\n"));
    EXPECT_EQ(prompts.prompts.messages[0].flags & 0xF0, unsigned(ui::MB_ICONEXCLAMATION));
}

TEST(BitmapSlider, HoldsTheDraggingFlagWhileTheLeftButtonIsDown) {
    int dragging = 0;
    CBitmapSlider slider(&dragging);
    slider.setRange(0, 600);
    slider.resize(300, 24);
    slider.show();
    QSignalSpy released(&slider, &CBitmapSlider::releasedCapture);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(150, 12));
    EXPECT_EQ(dragging, 1);
    EXPECT_EQ(released.count(), 0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(150, 12));
    EXPECT_EQ(dragging, 0);
    EXPECT_EQ(released.count(), 1);
    QTest::mousePress(&slider, Qt::RightButton, {}, QPoint(150, 12));
    EXPECT_EQ(dragging, 0);
}

TEST(BitmapSlider, AClickBesideTheHandleJumpsThereAndDragsOnFromThere) {
    int dragging = 0;
    CBitmapSlider slider(&dragging);
    slider.setRange(0, 600);
    slider.resize(300, 24);
    slider.show();
    QSignalSpy released(&slider, &CBitmapSlider::releasedCapture);
    // Three quarters along: there, not a page step of 10 towards it.
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(225, 12));
    EXPECT_NEAR(slider.value(), 450, 30);
    EXPECT_TRUE(slider.isSliderDown());
    QTest::mouseMove(&slider, QPoint(75, 12));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(75, 12));
    EXPECT_NEAR(slider.value(), 150, 30);
    EXPECT_EQ(released.count(), 1);
    // Other buttons leave the handle where it is.
    const int value = slider.value();
    QTest::mouseClick(&slider, Qt::RightButton, {}, QPoint(280, 12));
    EXPECT_EQ(slider.value(), value);
}
