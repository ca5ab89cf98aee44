#pragma once
// The program-wide language object: translated texts by number, falling back to the
// built-in English table. Language files are not read yet: every lookup answers from the
// built-in table, and dialogs and menus keep their English texts.
#include <QFont>
#include <QString>

#include <optional>

class QMenu;
class QWidget;

class CLanguage {
  public:
    // Name of the language in use; "english" until another one is loaded.
    QString currentLanguage = QStringLiteral("english");
    // The font translated dialogs take; none until a font was loaded or chosen.
    std::optional<QFont> dialogFont;

    // The translated message text of string number id, else the built-in text, else "".
    QString GetString(int id) const;
    // The translated text of a dialog or control number, or "" (no fallback).
    QString GetDialogText(int id) const;
    // As GetDialogText, falling back to the built-in string of the same number.
    QString GetDialogTextOrString(int id) const;
    QString GetMenuText(int id) const;

    // Translate a dialog's or a menu's texts; false when there is no language file to
    // translate from, in which case nothing changes.
    bool TranslateDialog(QWidget* dialog, int dialogNumber) const;
    bool TranslateMenu(QMenu* menu, int menuNumber, bool topLevel) const;
};

// The one language object of the program.
CLanguage& Language();
