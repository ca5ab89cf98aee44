// The main window's language pop-up: the language files it lists and switching to one.
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "resources/resource.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QDir>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class LanguageMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::UseTemporarySettings();
        const QString base = testsupport::TemporaryFolder();
        QDir(base).mkpath("language");
        testsupport::WriteFileBytes((base + "/language/English.ini").toStdString(), "");
        testsupport::WriteFileBytes((base + "/language/German_Germany_utf-8.ini").toStdString(),
                                    "[DIALOG]\r\nIDC_BUTTON_EXIT=Beenden\r\n"
                                    "IDC_STATIC_VIDEO_DURATION=Bilddauer\r\n"
                                    "[STRING]\r\nIDS_MESSAGE_RESTART_PROGRAM=Bitte neu starten\r\n"
                                    "IDS_MESSAGE_WARNING=Warnung\r\n"
                                    "[MENU]\r\nIDM_SELECT_LANGUAGE=Sprache\r\n");
        Language() = CLanguage();
        Language().Init(base, "ENGLISH");
    }
    void TearDown() override { Language() = CLanguage(); }
    testsupport::PromptScope scope;
};

} // namespace

TEST_F(LanguageMenuTest, ThePopupListsTheLanguagesAndSwitchingTranslatesTheWindow) {
    CVellumDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QString exitText = dlg.GetDlgItemText(IDC_BUTTON_EXIT);

    QTest::mouseRelease(dlg.GetDlgItem(IDC_STATIC_VIDEO_DURATION), Qt::RightButton);
    ASSERT_NE(dlg.PopupMenu(), nullptr);
    QMenu* languages = dlg.PopupMenu()->actions()[0]->menu();
    ASSERT_NE(languages, nullptr);
    ASSERT_EQ(languages->actions().size(), 2);
    EXPECT_EQ(languages->actions()[0]->text(), "English");
    EXPECT_TRUE(languages->actions()[0]->isChecked());
    QAction* german = languages->actions()[1];
    EXPECT_EQ(german->text(), "German_Germany_utf-8");
    EXPECT_EQ(german->data().toInt(), IDM_LANGUAGE_FIRST + 1);
    EXPECT_FALSE(german->isChecked());
    EXPECT_TRUE(scope.prompts.messages.empty());

    dlg.PopupMenu()->close();
    german->trigger();
    EXPECT_EQ(Language().currentLanguage, "German_Germany_utf-8");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_EXIT), "Beenden");
    EXPECT_NE(exitText, "Beenden");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_VIDEO_DURATION), "Bilddauer");
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_EQ(scope.prompts.messages[0].text, "Bitte neu starten");
    EXPECT_EQ(scope.prompts.messages[0].caption, "Warnung");

    // Shown again, the pop-up speaks the new language and checks it.
    QTest::mouseRelease(dlg.GetDlgItem(IDC_STATIC_VIDEO_DURATION), Qt::RightButton);
    EXPECT_EQ(dlg.PopupMenu()->actions()[0]->text(), "Sprache");
    EXPECT_TRUE(dlg.PopupMenu()->actions()[0]->menu()->actions()[1]->isChecked());
    dlg.PopupMenu()->close();
}
