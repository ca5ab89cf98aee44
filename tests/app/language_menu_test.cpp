// The main window's language pop-up: the language files it lists and switching to one.
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "platform/settings/store.h"
#include "preview/preview_window.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"

#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class LanguageMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settingsRoot = testsupport::UseTemporarySettings();
        base = testsupport::TemporaryFolder();
        QDir(base).mkpath("language");
        testsupport::WriteFileBytes((base + "/language/English.ini").toStdString(), "");
        testsupport::WriteFileBytes((base + "/language/German_Germany_utf-8.ini").toStdString(),
                                    "[DIALOG]\r\nIDC_BUTTON_EXIT=Beenden\r\n"
                                    "IDC_STATIC_VIDEO_DURATION=Bilddauer\r\n"
                                    "[STRING]\r\nIDS_MESSAGE_RESTART_PROGRAM=Bitte neu starten\r\n"
                                    "IDS_MESSAGE_WARNING=Warnung\r\n"
                                    "IDS_PICTURE_WINDOW_PAUSED=(Pausiert)\r\n"
                                    "[MENU]\r\nIDM_SELECT_LANGUAGE=Sprache\r\n");
        Language() = CLanguage();
        Language().Init(base, "ENGLISH");
    }
    void TearDown() override { Language() = CLanguage(); }
    // What a message box's Yes button says now.
    static QString YesButtonText() {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes);
        return box.button(QMessageBox::Yes)->text();
    }
    // The popup menu's item with this text, or its Language submenu's.
    static QAction* MenuItem(CVellumDlg& dlg, const QString& text) {
        QTest::mouseRelease(dlg.GetDlgItem(IDC_STATIC_VIDEO_DURATION), Qt::RightButton);
        QMenu* popup = dlg.PopupMenu();
        if (!popup)
            return nullptr;
        QList<QAction*> items = popup->actions();
        items += popup->actions().front()->menu()->actions();
        for (QAction* item : items) {
            if (item->text() == text)
                return item;
        }
        return nullptr;
    }

    QString settingsRoot;
    QString base;
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
    EXPECT_EQ(YesButtonText(), "&Ja");

    // Shown again, the pop-up speaks the new language and checks it.
    QTest::mouseRelease(dlg.GetDlgItem(IDC_STATIC_VIDEO_DURATION), Qt::RightButton);
    EXPECT_EQ(dlg.PopupMenu()->actions()[0]->text(), "Sprache");
    EXPECT_TRUE(dlg.PopupMenu()->actions()[0]->menu()->actions()[1]->isChecked());
    dlg.PopupMenu()->close();

    // Back in English, the boxes' buttons are English again.
    MenuItem(dlg, "English")->trigger();
    EXPECT_EQ(YesButtonText(), "&Yes");
}

// The picture window is a window of its own: a switch retitles it along with the main window.
TEST_F(LanguageMenuTest, AnOpenPictureWindowFollowsTheSwitch) {
    CVellumDlg dlg;
    dlg.show();
    scope.prompts.fileAnswers = {
        QString::fromStdString(testsupport::Clip(testsupport::ClipKind::H264Aac))};
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_ADD_VIDEO), Qt::LeftButton);
    ASSERT_TRUE(dlg.videoPlayer && dlg.videoPlayer->m_hWnd);
    dlg.videoPlayer->Cue();
    const QWidget* picture = dlg.videoPlayer->m_hWnd;
    ASSERT_TRUE(picture->windowTitle().endsWith("  (Paused)"));
    QAction* german = MenuItem(dlg, "German_Germany_utf-8");
    ASSERT_NE(german, nullptr);
    dlg.PopupMenu()->close();
    german->trigger();
    EXPECT_TRUE(picture->windowTitle().endsWith("  (Pausiert)"))
        << picture->windowTitle().toStdString();
}

TEST_F(LanguageMenuTest, AFontChosenOnAFreshProfileSurvivesPickingTheLanguageByItsFileName) {
    // A fresh profile stores no language: the program starts with the default name.
    Language() = CLanguage();
    Language().Init(base,
                    settings::Profile().GetProfileString("Option", "CurrentLanguage", "english"));
    ASSERT_EQ(Language().currentLanguage, "english");
    QFont bold("DejaVu Sans");
    bold.setPixelSize(16);
    bold.setBold(true);
    scope.prompts.fontAnswers = {bold};

    CVellumDlg dlg;
    testsupport::RunModal(dlg, [&] {
        QAction* font = MenuItem(dlg, "Font");
        ASSERT_NE(font, nullptr);
        dlg.PopupMenu()->close();
        font->trigger();
        ASSERT_TRUE(Language().dialogFont->bold());
        QAction* english = MenuItem(dlg, "English");
        ASSERT_NE(english, nullptr);
        dlg.PopupMenu()->close();
        english->trigger();
        EXPECT_EQ(Language().currentLanguage, "English");
        EXPECT_TRUE(Language().dialogFont->bold());
        dlg.close();
    });
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(settings::Profile().GetProfileString("Option", "CurrentLanguage", ""), "English");

    // The next start reads the name the close stored, and the font is still there.
    Language() = CLanguage();
    Language().Init(base,
                    settings::Profile().GetProfileString("Option", "CurrentLanguage", "english"));
    ASSERT_TRUE(Language().dialogFont.has_value());
    EXPECT_TRUE(Language().dialogFont->bold());
    EXPECT_EQ(Language().dialogFont->pixelSize(), 16);
    EXPECT_EQ(Language().dialogFont->family(), "DejaVu Sans");
    // One section holds the font, not one per spelling.
    QSettings raw(settingsRoot + "/Morvane/quillet.conf", QSettings::IniFormat);
    EXPECT_EQ(raw.childGroups().filter("english", Qt::CaseInsensitive).size(), 1);
}

// Translating the pop-up enables every item it gives a text; the sound commands still wait
// for a video.
TEST_F(LanguageMenuTest, TheSoundCommandsAreTranslatedAndStayOffWithoutAVideo) {
    testsupport::WriteFileBytes((base + "/language/German_Germany_utf-8.ini").toStdString(),
                                "[MENU]\r\nIDM_OPEN_SEPARATE_SOUND=Separaten Ton \xC3\xB6"
                                "ffnen...\r\n"
                                "IDM_USE_VIDEO_SOUND=Eigenen Ton des Videos verwenden\r\n"
                                "IDM_FIND_POINTS=Punkte automatisch finden\r\n");
    Language() = CLanguage();
    Language().Init(base, "German_Germany_utf-8");
    CVellumDlg dlg;
    testsupport::RunModal(dlg, [&] {
        for (const QString& text : {QStringLiteral("Separaten Ton öffnen..."),
                                    QStringLiteral("Eigenen Ton des Videos verwenden"),
                                    QStringLiteral("Punkte automatisch finden")}) {
            QAction* item = MenuItem(dlg, text);
            ASSERT_NE(item, nullptr) << text.toStdString();
            EXPECT_FALSE(item->isEnabled()) << text.toStdString();
            dlg.PopupMenu()->close();
        }
    });
}
