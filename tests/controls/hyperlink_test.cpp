#include "controls/hyperlink.h"
#include "support/desktop_fixtures.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kLinkColour(0, 0, 238);
const QColor kVisitedColour(85, 26, 139);

// Every click is answered by a recording shell and a desktop of the test's own, so no
// application of the machine ever starts.
class HyperLinkTest : public ::testing::Test {
  protected:
    HyperLinkTest() {
        auto recording = std::make_unique<testsupport::RecordingShell>();
        shell = recording.get();
        previous_ = ui::InstallShell(std::move(recording));
        link.SetURL("https://www.morvane.example/contact/");
        link.SetUnderline(CHyperLink::UnderlineAlways);
        window.show();
    }
    ~HyperLinkTest() override { ui::InstallShell(std::move(previous_)); }

    // Whether the link as drawn has a pixel of exactly this colour: its text and underline.
    bool Shows(const QColor& colour) {
        const QImage image = link.grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).rgb() == colour.rgb())
                    return true;
        return false;
    }
    void Click() { QTest::mouseClick(&link, Qt::LeftButton); }
    // Makes the desktop's default web-page application run this Exec line.
    void SetBrowser(const QString& exec) {
        desktop.InstallApplication("quillet-browser.desktop", exec);
        desktop.SetDefaultApplication("text/html", "quillet-browser.desktop");
    }

    testsupport::DesktopScope desktop;
    testsupport::PromptScope prompts;
    testsupport::RecordingShell* shell = nullptr;
    // In a window of its own, as in the About box.
    QWidget window;
    CHyperLink link{&window};

  private:
    std::unique_ptr<ui::Shell> previous_;
};

} // namespace

TEST_F(HyperLinkTest, AClickOpensTheAddressAndTurnsTheLinkVisited) {
    EXPECT_EQ(link.text(), "https://www.morvane.example/contact/");
    EXPECT_EQ(link.toolTip(), "https://www.morvane.example/contact/");
    EXPECT_TRUE(Shows(kLinkColour));
    Click();
    EXPECT_EQ(shell->opened, std::vector<QString>{"https://www.morvane.example/contact/"});
    EXPECT_TRUE(link.IsVisited());
    EXPECT_TRUE(Shows(kVisitedColour));
    EXPECT_FALSE(Shows(kLinkColour));
    EXPECT_TRUE(prompts.prompts.messages.empty());
}

TEST_F(HyperLinkTest, AFailureIsReportedWithItsReasonAndTheLinkStaysUnvisited) {
    shell->succeed = false;
    const std::pair<int, QString> failures[] = {
        {ui::SE_ERR_NOASSOC,
         "There is no application associated\nwith the given filename extension."},
        {ui::SE_ERR_FNF, "The specified file was not found."},
        {ui::SE_ERR_OUT_OF_RESOURCES, "The operating system is out\nof memory or resources."},
        {4, "Unknown Error (4) occurred."},
    };
    for (const auto& [code, reason] : failures) {
        shell->failure = code;
        prompts.prompts.messages.clear();
        Click();
        ASSERT_EQ(prompts.prompts.messages.size(), 1u) << code;
        EXPECT_EQ(prompts.prompts.messages[0].text, "Unable to open hyperlink:\n\n" + reason);
        EXPECT_EQ(prompts.prompts.messages[0].caption, "");
        EXPECT_EQ(prompts.prompts.messages[0].flags, unsigned(ui::MB_ICONEXCLAMATION));
        // The box belongs to the window, not to the link, whose look it would take on.
        EXPECT_EQ(prompts.prompts.messages[0].owner, link.window());
    }
    EXPECT_FALSE(link.IsVisited());
    EXPECT_TRUE(Shows(kLinkColour));
    EXPECT_FALSE(Shows(kVisitedColour));
}

TEST_F(HyperLinkTest, TheDefaultWebPageApplicationGetsTheAddressAsOneArgument) {
    const QString output = testsupport::TemporaryFolder() + "/arguments";
    const QString marker = testsupport::TemporaryFolder() + "/injected";
    SetBrowser('"' + testsupport::ArgumentRecorder(output) + "\" --new-window \"%u\" --tail");
    const QString address = "https://www.morvane.example/a b?q=\"x\" 'y';touch " + marker +
                            ";$(touch " + marker + ")`touch " + marker + "`&r=1|cat";
    link.SetURL(address);
    shell->succeed = false;
    Click();
    EXPECT_EQ(testsupport::RecordedArguments(output), QStringList({"--new-window", address}));
    EXPECT_FALSE(QFileInfo::exists(marker));
    EXPECT_TRUE(link.IsVisited());
    EXPECT_TRUE(prompts.prompts.messages.empty());
}

TEST_F(HyperLinkTest, WhatTheApplicationRunGivesReplacesTheDesktopsFailure) {
    const QString folder = testsupport::TemporaryFolder();
    testsupport::WriteTextFile(folder + "/not-a-program", "#!/bin/sh\n");
    shell->succeed = false;
    const std::pair<QString, QString> runs[] = {
        {folder + "/missing %u", "The specified file was not found."},
        {folder + "/not-a-program %u",
         "The operating system denied\naccess to the specified file."},
    };
    for (const auto& [exec, reason] : runs) {
        SetBrowser(exec);
        prompts.prompts.messages.clear();
        Click();
        ASSERT_EQ(prompts.prompts.messages.size(), 1u) << exec.toStdString();
        EXPECT_EQ(prompts.prompts.messages[0].text, "Unable to open hyperlink:\n\n" + reason);
    }
    EXPECT_FALSE(link.IsVisited());
}
