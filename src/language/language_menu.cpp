#include "language/language_menu.h"

#include "language/language.h"
#include "language/toolkit_texts.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"

#include <QMenu>

namespace language {

void FillLanguageMenu(QMenu* languages) {
    const QList<QAction*> placeholders = languages->actions();
    if (!placeholders.isEmpty())
        delete placeholders.front();
    const CLanguage& language = Language();
    for (int i = 0; i < language.languageNames.size(); ++i) {
        QAction* item = languages->addAction(language.GetLanguageName(i));
        item->setData(IDM_LANGUAGE_FIRST + i);
        item->setCheckable(true);
        item->setChecked(item->text().compare(language.currentLanguage, Qt::CaseInsensitive) == 0);
    }
}

bool OnLanguageCommand(QWidget* mainWindow, int command,
                       const std::function<void()>& translateOthers) {
    CLanguage& language = Language();
    const int index = command - IDM_LANGUAGE_FIRST;
    if (index < 0 || index >= language.languageNames.size())
        return false;
    QString name = language.GetLanguageName(index);
    language.SelectLanguage(name);
    UseToolkitTexts(language.Locale());
    language.TranslateDialog(mainWindow, IDD_PROGRAM_CAPTION);
    // Every window speaks the new language before the question does.
    if (translateOthers)
        translateOthers();
    ui::MessageBox(mainWindow, language.GetString(IDS_MESSAGE_RESTART_PROGRAM),
                   language.GetString(IDS_MESSAGE_WARNING));
    return true;
}

} // namespace language
