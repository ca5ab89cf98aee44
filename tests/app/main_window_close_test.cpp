#include "app/vellum_dlg.h"
#include "platform/core/clock.h"
#include "platform/settings/store.h"
#include "resources/resource.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kDay = 86'400;

class CloseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::UseTemporarySettings();
        auto recording = std::make_unique<testsupport::RecordingShell>();
        shell = recording.get();
        previousShell = ui::InstallShell(std::move(recording));
        core::SetNowSecondsSource([this] { return now; });
    }
    void TearDown() override {
        core::SetNowSecondsSource({});
        ui::InstallShell(std::move(previousShell));
    }
    // Opens a main window and asks it to close, as the title bar would.
    bool CloseWindow(int converting = 0, int previewing = 0) {
        CVellumDlg dlg;
        dlg.converting = converting;
        dlg.previewRunning = previewing;
        dlg.show();
        dlg.close();
        return !dlg.isVisible();
    }

    testsupport::PromptScope scope;
    testsupport::RecordingShell* shell = nullptr;
    std::unique_ptr<ui::Shell> previousShell;
    std::int64_t now = 1'700'000'000;
};

} // namespace

TEST_F(CloseTest, CloseIsRefusedWhileConvertingOrPreviewing) {
    EXPECT_FALSE(CloseWindow(1, 0));
    EXPECT_FALSE(CloseWindow(0, 1));
    ASSERT_EQ(scope.prompts.messages.size(), 2u);
    EXPECT_EQ(scope.prompts.messages[0].text, "Please first stop converting");
    EXPECT_EQ(scope.prompts.messages[0].caption, "Warning");
    EXPECT_EQ(scope.prompts.messages[1].text, "Please first stop Preview");
    EXPECT_EQ(scope.prompts.messages[1].caption, "");
    EXPECT_EQ(settings::Profile().GetProfileInt("Setup", "t_first_update", -1), -1);
}

TEST_F(CloseTest, UpdateReminderAsksAtMostOnceIn180Days) {
    EXPECT_TRUE(CloseWindow());
    EXPECT_TRUE(scope.prompts.messages.empty());
    EXPECT_EQ(settings::Profile().GetProfileInt("Setup", "t_first_update", 0), now);
    EXPECT_EQ(settings::Profile().GetProfileString("Option", "CurrentLanguage", ""), "english");

    now += 180 * kDay;
    EXPECT_TRUE(CloseWindow());
    EXPECT_TRUE(scope.prompts.messages.empty());

    now += kDay;
    scope.prompts.answers = {ui::IDYES};
    EXPECT_TRUE(CloseWindow());
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_EQ(scope.prompts.messages[0].text,
              "Do you want to check the lastest version on our website?");
    EXPECT_EQ(scope.prompts.messages[0].caption, "Update the program");
    ASSERT_EQ(shell->opened.size(), 1u);
    EXPECT_EQ(settings::Profile().GetProfileInt("Setup", "t_first_update", 0), now);

    now += kDay;
    EXPECT_TRUE(CloseWindow());
    EXPECT_EQ(scope.prompts.messages.size(), 1u);
}

TEST_F(CloseTest, ReminderAnsweredNoStillWaitsAnother180Days) {
    settings::Profile().WriteProfileInt("Setup", "t_first_update", static_cast<int>(now - 200 * kDay));
    scope.prompts.answers = {ui::IDNO};
    EXPECT_TRUE(CloseWindow());
    EXPECT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_TRUE(shell->opened.empty());
    EXPECT_TRUE(CloseWindow());
    EXPECT_EQ(scope.prompts.messages.size(), 1u);
}

TEST_F(CloseTest, UpdateAndHelpOpenThroughTheShell) {
    CVellumDlg dlg;
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_HELP), Qt::LeftButton);
    ASSERT_EQ(shell->opened.size(), 1u);
    EXPECT_EQ(shell->opened[0], QCoreApplication::applicationDirPath() + "/help/Introduction.html");

    shell->succeed = false;
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_HOMEPAGE), Qt::LeftButton);
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_TRUE(scope.prompts.messages[0].text.startsWith(
        "The Program does not launch your web browser to access https://"));
    EXPECT_TRUE(scope.prompts.messages[0].text.endsWith(
        " ,\nPlease launch your web browser and input the URL manually."));
    EXPECT_EQ(scope.prompts.messages[0].caption, "unknown errors");
}
