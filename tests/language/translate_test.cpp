// Translating dialogs and menus from a loaded language file.
#include "language/language_menu.h"
#include "language_fixture.h"
#include "platform/settings/store.h"
#include "platform/ui/dialog.h"
#include "resources/menus.h"
#include "resources/resource.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <memory>

using languagetest::LanguageFixture;

namespace {

const std::string kGerman = "[DIALOG]\r\n"
                            "IDD_DIALOG_OUTPUT_OPTIONS=Ausgabe\r\n"
                            "IDC_STATIC_OUTPUT_FILE=Datei:\r\n"
                            "IDC_STATIC_RESOLUTION=Original\\nEigene\\n\r\n"
                            "IDC_BUTTON_PLAY=Abspielen\r\n"
                            "IDC_STATIC_GROUP_PLAY_CONTROL=Wiedergabe\r\n"
                            "IDC_BUTTON_BROWSE=Suchen\r\n"
                            "[STRING]\r\n"
                            "IDS_MESSAGE_RESTART_PROGRAM=Bitte neu starten\r\n"
                            "IDS_MESSAGE_WARNING=Warnung\r\n"
                            "[MENU]\r\n"
                            "IDM_SELECT_LANGUAGE=Sprache\r\n"
                            "IDM_POPUPMENU_FONT=Schrift\r\n"
                            "IDM_ABOUT=Info\r\n";

class TestDialog : public ui::Dialog {
  public:
    TestDialog() {
        setWindowTitle("Output options");
        label = Register(IDC_STATIC_OUTPUT_FILE, new QLabel("Output file:", this));
        edit = Register(IDC_BUTTON_BROWSE, new QLineEdit("typed", this));
        combo = Register(IDC_STATIC_RESOLUTION, new QComboBox(this));
        combo->addItems({"Original size", "Custom size"});
        ok = Register(IDOK_BUTTON, new QPushButton("OK", this));
        unnumbered = new QLabel("Note", this);
        group = Register(IDC_STATIC_GROUP_PLAY_CONTROL, new QGroupBox("Play control", this));
        play = Register(IDC_BUTTON_PLAY, new QPushButton("Play", group));
        stop = Register(IDC_BUTTON_STOP, new QPushButton("Stop", group));
    }
    QLabel* label;
    QLineEdit* edit;
    QComboBox* combo;
    QPushButton* ok;
    QLabel* unnumbered;
    QGroupBox* group;
    QPushButton* play;
    QPushButton* stop;
};

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace

TEST_F(LanguageFixture, ADialogTakesItsTranslatedTextsAndTheDialogFont) {
    WriteLanguageFile("German_Germany_utf-8.ini", kGerman);
    settings::Profile().WriteProfileInt("German_Germany_utf-8", "lfWeight", 700);
    Language().Init(base, "German_Germany_utf-8");
    ASSERT_TRUE(Language().dialogFont.has_value());
    EXPECT_TRUE(Language().dialogFont->bold());

    TestDialog dialog;
    const QFont templateFont = dialog.stop->font();
    EXPECT_TRUE(Language().TranslateDialog(&dialog, IDD_DIALOG_OUTPUT_OPTIONS));
    EXPECT_EQ(dialog.windowTitle(), "Ausgabe");
    EXPECT_EQ(dialog.label->text(), "Datei:");
    EXPECT_TRUE(dialog.label->font().bold());
    EXPECT_EQ(dialog.edit->text(), "typed");
    // A value ending in a line feed keeps its empty last item.
    EXPECT_EQ(Items(dialog.combo), QStringList({"Original", "Eigene", ""}));
    EXPECT_EQ(dialog.ok->text(), "OK");
    EXPECT_EQ(dialog.unnumbered->text(), "Note");
    EXPECT_EQ(dialog.group->title(), "Wiedergabe");
    EXPECT_EQ(dialog.play->text(), "Abspielen");
    EXPECT_TRUE(dialog.play->font().bold());
    EXPECT_EQ(dialog.stop->text(), "Stop");
    EXPECT_EQ(dialog.stop->font(), templateFont);
}

TEST_F(LanguageFixture, WithoutLanguageFilesDialogsAndMenusStayAsTheyAre) {
    Language().Init(base, "english");
    TestDialog dialog;
    EXPECT_FALSE(Language().TranslateDialog(&dialog, IDD_DIALOG_OUTPUT_OPTIONS));
    EXPECT_EQ(dialog.windowTitle(), "Output options");
    QMenu menu;
    menu.addAction("About")->setData(IDM_ABOUT);
    EXPECT_FALSE(Language().TranslateMenu(&menu, IDR_MENU_LANGUAGE, true));
    EXPECT_EQ(menu.actions()[0]->text(), "About");
}

TEST_F(LanguageFixture, TheLanguageMenuListsTheFilesAndIsTranslated) {
    WriteLanguageFile("German_Germany_utf-8.ini", kGerman);
    WriteLanguageFile("English.ini", "");
    Language().Init(base, "german_germany_UTF-8");

    const resources::MenuItem whole{
        resources::MenuItem::Kind::Popup, {}, 0, *resources::MenuTemplate(IDR_MENU_LANGUAGE)};
    const std::unique_ptr<QMenu> menu(resources::BuildMenu(whole, nullptr));
    QMenu* container = menu->actions()[0]->menu();
    QMenu* languages = container->actions()[0]->menu();
    language::FillLanguageMenu(languages);
    EXPECT_TRUE(Language().TranslateMenu(menu.get(), IDR_MENU_LANGUAGE, true));

    EXPECT_EQ(menu->actions()[0]->text(), "POPUP");
    QStringList texts;
    for (QAction* action : container->actions())
        texts << action->text();
    // Items the file has no text for keep their built-in English.
    EXPECT_EQ(texts, QStringList({"Sprache", "Schrift", "Info", "", "Open separate sound...",
                                  "Use the video's own sound", "Find points automatically",
                                  "Find points from events", "Sync view (V)"}));
    ASSERT_EQ(languages->actions().size(), 2);
    EXPECT_EQ(languages->actions()[0]->text(), "English");
    EXPECT_EQ(languages->actions()[0]->data().toInt(), 45400);
    EXPECT_FALSE(languages->actions()[0]->isChecked());
    EXPECT_EQ(languages->actions()[1]->text(), "German_Germany_utf-8");
    EXPECT_EQ(languages->actions()[1]->data().toInt(), 45401);
    EXPECT_TRUE(languages->actions()[1]->isChecked());
}

TEST_F(LanguageFixture, NestedPopupsAreNumberedDepthFirstFromTheMenuNumber) {
    WriteLanguageFile("English.ini", "[MENU]\r\nIDM_ABOUT=About us\r\n");
    Language().Init(base, "English");
    // Menu 0 numbers its pop-ups from 0: the first holds 100 pop-ups (1 to 100), so the
    // second is 101, the number IDM_ABOUT also serves.
    QMenu whole;
    QMenu* container = whole.addMenu("container");
    QMenu* first = container->addMenu("first");
    for (int i = 0; i < 100; ++i)
        first->addMenu(QString("inner %1").arg(i));
    container->addSeparator();
    QMenu* second = container->addMenu("second");
    QAction* command = second->addAction("old");
    command->setData(IDM_ABOUT);
    command->setCheckable(true);
    command->setChecked(true);
    command->setEnabled(false);
    QAction* other = second->addAction("kept");
    other->setData(IDM_PLAY);
    Language().TranslateMenu(&whole, 0, true);
    EXPECT_EQ(first->menuAction()->text(), "first");
    EXPECT_EQ(second->menuAction()->text(), "About us");
    EXPECT_EQ(command->text(), "About us");
    EXPECT_FALSE(command->isChecked());
    EXPECT_TRUE(command->isEnabled());
    EXPECT_EQ(other->text(), "kept");
}

TEST_F(LanguageFixture, ALanguageCommandSwitchesAndAsksForARestartInTheNewLanguage) {
    WriteLanguageFile("English.ini", "");
    WriteLanguageFile("German_Germany_utf-8.ini", kGerman);
    Language().Init(base, "English");
    TestDialog dialog;
    EXPECT_FALSE(language::OnLanguageCommand(&dialog, IDM_LANGUAGE_FIRST + 2));
    EXPECT_FALSE(language::OnLanguageCommand(&dialog, IDM_LANGUAGE_FIRST - 1));
    EXPECT_TRUE(scope.prompts.messages.empty());
    EXPECT_EQ(Language().currentLanguage, "English");

    // The other windows are translated in the new language, before the question.
    QString translatedIn;
    EXPECT_TRUE(language::OnLanguageCommand(&dialog, IDM_LANGUAGE_FIRST + 1, [&] {
        translatedIn = Language().GetString(IDS_MESSAGE_RESTART_PROGRAM);
        EXPECT_TRUE(scope.prompts.messages.empty());
    }));
    EXPECT_EQ(translatedIn, "Bitte neu starten");
    EXPECT_EQ(Language().currentLanguage, "German_Germany_utf-8");
    EXPECT_EQ(dialog.play->text(), "Abspielen");
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_EQ(scope.prompts.messages[0].text, "Bitte neu starten");
    EXPECT_EQ(scope.prompts.messages[0].caption, "Warnung");
}
