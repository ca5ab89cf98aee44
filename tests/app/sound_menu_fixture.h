#pragma once
// The main window driven as a user drives it for the sound commands: a video opened with
// Open Video, then the window's pop-up menu (a right click on its background) and the file
// dialogs and message boxes answered by the scripted prompts. Run the steps inside
// testsupport::RunModal, as the program runs the window.
#include "app/vellum_dlg.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <string>

// Picks `command` from the window's pop-up menu, as a right click on its background shows it;
// false, with nothing done, when the menu has it disabled.
bool PickPopupCommand(CVellumDlg& dlg, int command);

class SoundMenuFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void Click(int id);
    // Opens the video and holds both players still.
    void OpenVideo(const std::string& path);
    // Whether the pop-up menu shows the command enabled.
    bool Enabled(int command);
    // Picks the command from the pop-up menu; false, with nothing done, when it is disabled.
    bool Pick(int command);
    // Open separate sound, with the file dialog answered by `path`.
    bool OpenSeparateSound(const std::string& path);

    testsupport::PromptScope scope;
    CVellumDlg dlg;
};
