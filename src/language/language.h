#pragma once
// The program-wide language object: finds the language files, loads the chosen one, and
// answers translated texts by number (falling back to the built-in English table), translates
// dialogs and menus, and keeps each language's dialog font.
#include "language/language_encoding.h"

#include <QFont>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QMenu;
class QWidget;

struct TextEntry {
    int id = 0;
    QString text;
};

class CLanguage {
  public:
    // Base name of the current language file; "english" until another one is loaded.
    QString currentLanguage = QStringLiteral("english");
    // Base names of the language files found, sorted byte-wise.
    QStringList languageNames;
    // The texts of sections "MENU", "STRING" and "DIALOG", in key-table order.
    std::vector<TextEntry> menuTexts;
    std::vector<TextEntry> stringTexts;
    std::vector<TextEntry> dialogTexts;
    // The folder that holds the "language" folder.
    QString baseDirectory;
    int primaryLanguage = 9;
    int subLanguage = 1;
    QString languageFilePath;
    LanguageEncoding encoding = LanguageEncoding::Ansi;
    // The font translated dialogs take; none until a language was loaded.
    std::optional<QFont> dialogFont;

    // The folder whose language/ holds English.ini: the parent of the program's folder, or
    // the installed data folder <parent>/share/quillet; else the program's folder.
    static QString FindBaseDirectory();
    static QString FindBaseDirectory(const QString& programFolder);
    // Finds the language files under baseDir and loads name; false when there is none.
    bool Init(const QString& baseDir, QString name);
    // Fills languageNames from <baseDirectory>/language/*.ini; false when nothing matched.
    bool FindLanguageFiles();
    // Makes name current and loads it; name comes back as the name actually loaded
    // ("english" when it is not listed).
    void SelectLanguage(QString& name);
    QString GetLanguageName(int index) const { return languageNames.value(index); }
    bool LoadLanguageFile(const QString& name);
    // The reading part of LoadLanguageFile: the encoding and locale the name tells, and the
    // file's texts appended to the three lists; the C locale and the font stay as they are.
    bool LoadLanguageTexts(const QString& name);
    // The platform locale of primaryLanguage and subLanguage (English when the platform has
    // no such language), for the texts the toolkit draws itself.
    QLocale Locale() const;
    // Sets primaryLanguage and subLanguage from the locale the name (without its encoding
    // word) names; otherwise warns, leaves them, and returns false.
    bool ResolveLocale(const QString& name);

    // The translated message text of string number id, else the built-in text, else "".
    QString GetString(int id) const;
    // The translated text of a dialog or control number, or "" (no fallback).
    QString GetDialogText(int id) const;
    // As GetDialogText, falling back to the built-in string of the same number.
    QString GetDialogTextOrString(int id) const;
    QString GetMenuText(int id) const;
    // A menu command's text, falling back to the built-in menu's.
    QString GetCommandText(int command) const;

    // Translate a dialog's or a menu's texts; false when there is no language file to
    // translate from, in which case nothing changes.
    bool TranslateDialog(QWidget* dialog, int dialogNumber) const;
    bool TranslateMenu(QMenu* menu, int menuNumber, bool topLevel);

    // The current language's stored font becomes dialogFont.
    bool LoadFont();
    // Stores font as the current language's font.
    bool SaveFont(const QFont& font);

  private:
    void TranslateChildren(QWidget* parent) const;
    void TranslateControl(QWidget* control) const;

    // Numbers the nested pop-ups of one menu walk, depth-first.
    int nestedPopupCounter_ = 0;
};

// The one language object of the program.
CLanguage& Language();
