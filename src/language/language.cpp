#include "language/language.h"

#include "language/language_file.h"
#include "language/language_tables.h"
#include "platform/ui/prompts.h"
#include "resources/menus.h"
#include "resources/strings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <clocale>

namespace {

const QString kDefaultLanguage = QStringLiteral("english");

const char* SectionOf(const char* key) {
    const QByteArray prefix = QByteArray(key).left(3);
    if (prefix == "IDS")
        return "STRING";
    if (prefix == "IDM" || prefix == "IDR")
        return "MENU";
    return "DIALOG";
}

std::vector<TextEntry>* ListOf(CLanguage& language, const char* section) {
    if (qstrcmp(section, "STRING") == 0)
        return &language.stringTexts;
    if (qstrcmp(section, "MENU") == 0)
        return &language.menuTexts;
    return &language.dialogTexts;
}

QString FirstText(const std::vector<TextEntry>& entries, int id) {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [id](const TextEntry& entry) { return entry.id == id; });
    return found == entries.end() ? QString() : found->text;
}

// The C library of this platform knows no Windows locale abbreviations: every language uses
// the user's own locale, and numbers always keep their decimal point.
void ApplyLocale() {
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
}

int ShortenedLength(const QString& name, LanguageEncoding encoding) {
    switch (encoding) {
    case LanguageEncoding::Utf8:
        return std::max<int>(0, name.size() - 6);
    case LanguageEncoding::Unicode:
        return std::max<int>(0, name.size() - 8);
    case LanguageEncoding::Ansi:
        break;
    }
    return name.size();
}

} // namespace

QString CLanguage::FindBaseDirectory() {
    return FindBaseDirectory(QCoreApplication::applicationDirPath());
}

namespace {

// Whether the folder's language subfolder has the English file, its name matched as the
// language files' names are: in any letter case.
bool HoldsEnglishFile(const QString& folder) {
    const QStringList files = QDir(folder + "/language").entryList({QStringLiteral("*.ini")}, QDir::Files);
    return std::any_of(files.begin(), files.end(), [](const QString& file) {
        return file.compare(QStringLiteral("English.ini"), Qt::CaseInsensitive) == 0;
    });
}

} // namespace

QString CLanguage::FindBaseDirectory(const QString& programFolder) {
    const QString parent = QFileInfo(programFolder).path();
    if (HoldsEnglishFile(parent))
        return parent;
    // Installed: <prefix>/bin beside <prefix>/share/quillet.
    const QString installed = parent + "/share/quillet";
    if (HoldsEnglishFile(installed))
        return installed;
    return programFolder;
}

bool CLanguage::Init(const QString& baseDir, QString name) {
    baseDirectory = baseDir;
    languageNames.clear();
    FindLanguageFiles();
    if (languageNames.isEmpty())
        return false;
    SelectLanguage(name);
    return true;
}

bool CLanguage::FindLanguageFiles() {
    const QDir folder(baseDirectory + "/language");
    const QStringList matches =
        folder.entryList({QStringLiteral("*.ini")},
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& match : matches)
        languageNames.append(match.chopped(4));
    std::sort(languageNames.begin(), languageNames.end(),
              [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
    return !matches.isEmpty();
}

void CLanguage::SelectLanguage(QString& name) {
    menuTexts.clear();
    stringTexts.clear();
    dialogTexts.clear();
    currentLanguage = kDefaultLanguage;
    for (const QString& listed : languageNames) {
        if (listed.compare(name, Qt::CaseInsensitive) == 0) {
            currentLanguage = name;
            break;
        }
    }
    if (name != currentLanguage)
        name = kDefaultLanguage;
    LoadLanguageFile(name);
}

bool CLanguage::ResolveLocale(const QString& name) {
    const QString shortened = name.toLower().left(ShortenedLength(name, encoding));
    if (shortened == kDefaultLanguage) {
        primaryLanguage = 9;
        subLanguage = 1;
        return true;
    }
    for (const language::LocaleRow& row : language::LocaleTable()) {
        if (shortened == QString::fromLatin1(row.name).toLower() ||
            shortened == QString::fromLatin1(row.abbreviation).toLower()) {
            primaryLanguage = row.id & 0x3FF;
            subLanguage = row.id >> 10;
            return true;
        }
    }
    ui::MessageBox(nullptr,
                   QStringLiteral("Your language file name may be not proper,\n please read the "
                                  "help file!"),
                   shortened);
    return false;
}

bool CLanguage::LoadLanguageFile(const QString& name) {
    if (!LoadLanguageTexts(name))
        return false;
    ApplyLocale();
    LoadFont();
    return true;
}

bool CLanguage::LoadLanguageTexts(const QString& name) {
    if (languageNames.isEmpty())
        return false;
    encoding = language::GetEncoding(name);
    ResolveLocale(name);
    languageFilePath = baseDirectory + "/language/" + name + ".ini";
    const inifile::ParsedFile file = language::ReadLanguageFile(
        languageFilePath, encoding, language::LegacyCodePage(primaryLanguage, subLanguage));
    for (const language::LanguageKey& row : language::LanguageKeyTable()) {
        const char* section = SectionOf(row.key);
        ListOf(*this, section)
            ->push_back({row.id, language::Unescape(language::ReadValue(file, section, row.key))});
    }
    return true;
}

QString CLanguage::GetString(int id) const {
    const QString text = FirstText(stringTexts, id);
    return text.isEmpty() ? resources::BuiltInString(id) : text;
}

QString CLanguage::GetDialogText(int id) const {
    return FirstText(dialogTexts, id);
}

QString CLanguage::GetDialogTextOrString(int id) const {
    const QString text = GetDialogText(id);
    return text.isEmpty() ? resources::BuiltInString(id) : text;
}

QString CLanguage::GetMenuText(int id) const {
    return FirstText(menuTexts, id);
}

QString CLanguage::GetCommandText(int command) const {
    const QString text = GetMenuText(command);
    return text.isEmpty() ? resources::CommandText(command) : text;
}

CLanguage& Language() {
    static CLanguage language;
    return language;
}
