#include "language/dialog_font.h"
#include "language/language.h"
#include "platform/settings/store.h"
#include "resources/menus.h"
#include "resources/resource.h"
#include "resources/strings.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Strings, LookupsFallBackToTheBuiltInEnglishTable) {
    EXPECT_EQ(Language().GetString(IDS_MESSAGE_RESTART_PROGRAM), "Please restart the program");
    EXPECT_EQ(Language().GetString(IDS_MESSAGE_UNKNOWN_ERROR), "Unknown error");
    EXPECT_EQ(
        Language().GetString(IDS_MESSAGE_NOT_OPEN_FILE),
        "Cannot open the file. You need to install appropriate decoders. Or the file is corrupt.");
    EXPECT_EQ(Language().GetString(IDOK_BUTTON), "OK"); // the standard buttons translate too
    EXPECT_EQ(Language().GetDialogText(IDC_STATIC_STATUS), "");
    EXPECT_EQ(Language().GetDialogTextOrString(IDS_BUTTON_STOP), "Stop");
    EXPECT_EQ(Language().GetDialogTextOrString(IDS_COLUMN_AUDIO_TIME), "Audio time(s)");
    EXPECT_TRUE(resources::BuiltInString(IDS_MESSAGE_GET_END_TIME_FROM_ONE_SYNC_POINT)
                    .endsWith("according to the start video and audio time?"));
}

TEST(Menus, TemplatesBuildWithTheirCommandNumbers) {
    QWidget owner;
    const auto* preview = resources::MenuTemplate(IDR_MENU_PREVIEW);
    ASSERT_TRUE(preview);
    std::unique_ptr<QMenu> menu(resources::BuildMenu(preview->front(), &owner));
    ASSERT_EQ(menu->actions().size(), 4);
    EXPECT_EQ(resources::FindCommand(menu.get(), IDM_FULL_SCREEN)->text(), "Full screen");
    EXPECT_EQ(resources::FindCommand(menu.get(), IDM_NORMAL_SIZE)->text(), "Normal size");
    EXPECT_TRUE(menu->actions()[2]->isSeparator());
    EXPECT_EQ(resources::FindCommand(menu.get(), IDM_CLOSE_PREVIEW)->text(), "Close");
    EXPECT_EQ(resources::FindCommand(menu.get(), IDM_PLAY), nullptr);
    EXPECT_EQ(resources::MenuTemplate(999), nullptr);
}

TEST(DialogFont, EachLanguageKeepsItsOwnFontWithDefaultsWhenNoneWasChosen) {
    testsupport::UseTemporarySettings();
    const LogFont defaults = ReadLogFont(settings::Profile(), "English");
    EXPECT_EQ(defaults.lfHeight, -11);
    EXPECT_EQ(defaults.lfWeight, 400);
    EXPECT_EQ(defaults.lfCharSet, 1);
    EXPECT_EQ(defaults.lfFaceName, "Microsoft Sans Serif");

    testsupport::PromptScope scope;
    QFont bold("DejaVu Sans");
    bold.setPixelSize(16);
    bold.setBold(true);
    scope.prompts.fontAnswers = {bold};
    QWidget window;
    OnFontCommand(&window);
    ASSERT_TRUE(Language().dialogFont.has_value());
    const LogFont stored = ReadLogFont(settings::Profile(), Language().currentLanguage);
    EXPECT_EQ(stored.lfHeight, -16);
    EXPECT_EQ(stored.lfWeight, 700);
    EXPECT_EQ(stored.lfFaceName, "DejaVu Sans");
    EXPECT_EQ(ReadLogFont(settings::Profile(), "German_Germany").lfWeight, 400);

    // Cancel changes nothing; byte fields are cut to a byte and long face names to 31.
    OnFontCommand(&window);
    EXPECT_EQ(ReadLogFont(settings::Profile(), Language().currentLanguage).lfHeight, -16);
    settings::Profile().WriteProfileInt("Other", "lfItalic", 257);
    settings::Profile().WriteProfileString("Other", "lfFaceName", QString(40, 'x'));
    const LogFont other = ReadLogFont(settings::Profile(), "Other");
    EXPECT_EQ(other.lfItalic, 1);
    EXPECT_EQ(other.lfFaceName.size(), kMaxFaceNameLength);
}
