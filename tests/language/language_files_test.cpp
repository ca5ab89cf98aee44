// Finding, selecting and loading language files, and the lookups they feed.
#include "language/language_tables.h"
#include "language_fixture.h"
#include "resources/resource.h"
#include "support/test_environment.h"

#include <QDir>

#include <clocale>
#include <cstdio>
#include <cstdlib>

using languagetest::LanguageFixture;

namespace {

const std::string kEnglish = "[STRING]\r\n"
                             "IDS_MESSAGE_WARNING=Careful\r\n"
                             "IDS_MESSAGE_RESTART_PROGRAM=\r\n"
                             "IDS_MESSAGE_ERROR=First line\\nSecond line\\tand a \\\\ and \\x\r\n"
                             "[DIALOG]\r\n"
                             "IDC_STATIC_UNIT_SECOND=sec.\r\n"
                             "IDD_PROGRAM_CAPTION=Sound fixer\r\n"
                             "[MENU]\r\n"
                             "IDM_ABOUT=About it\r\n";

} // namespace

TEST_F(LanguageFixture, FilesAreListedByteWiseWithUpperCaseFirst) {
    WriteLanguageFile("chs_unicode.ini", languagetest::Utf16LeWithBom("[STRING]\r\n"));
    WriteLanguageFile("English.ini", kEnglish);
    WriteLanguageFile("Zulu.INI", "");
    WriteLanguageFile("notes.txt", "");
    CLanguage& language = Language();
    EXPECT_TRUE(language.Init(base, "English"));
    EXPECT_EQ(language.languageNames, QStringList({"English", "Zulu", "chs_unicode"}));
    EXPECT_EQ(language.currentLanguage, "English");
    EXPECT_EQ(language.languageFilePath, base + "/language/English.ini");
    EXPECT_TRUE(scope.prompts.messages.empty());
}

TEST_F(LanguageFixture, WithoutLanguageFilesEverythingStaysEnglish) {
    CLanguage& language = Language();
    EXPECT_FALSE(language.Init(base + "/nowhere", "German"));
    EXPECT_TRUE(language.languageNames.isEmpty());
    EXPECT_EQ(language.currentLanguage, "english");
    EXPECT_FALSE(language.dialogFont.has_value());
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING), "Warning");
    EXPECT_EQ(language.GetDialogTextOrString(IDS_BUTTON_STOP), "Stop");
    EXPECT_EQ(language.GetDialogText(IDD_PROGRAM_CAPTION), "");
    EXPECT_FALSE(language.LoadLanguageFile("english"));
}

TEST_F(LanguageFixture, TheStoredNameMatchesIgnoringCaseAndKeepsItsLetters) {
    WriteLanguageFile("English.ini", kEnglish);
    CLanguage& language = Language();
    language.Init(base, "ENGLISH");
    EXPECT_EQ(language.currentLanguage, "ENGLISH");
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING), "Careful");
    EXPECT_EQ(language.primaryLanguage, 9);
    EXPECT_EQ(language.subLanguage, 1);
}

TEST_F(LanguageFixture, AnUnlistedNameFallsBackToEnglish) {
    WriteLanguageFile("English.ini", kEnglish);
    WriteLanguageFile("French_France.ini", "[STRING]\r\nIDS_MESSAGE_WARNING=Attention\r\n");
    CLanguage& language = Language();
    QString name = "Klingon";
    language.Init(base, name);
    EXPECT_EQ(language.currentLanguage, "english");
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING), "Careful");

    name = "french_france";
    language.SelectLanguage(name);
    EXPECT_EQ(name, "french_france");
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING), "Attention");
    name = "Klingon";
    language.SelectLanguage(name);
    EXPECT_EQ(name, "english");
    EXPECT_TRUE(scope.prompts.messages.empty());
}

TEST_F(LanguageFixture, ValuesAreUnescapedAndEmptyOrMissingTextsFallBack) {
    WriteLanguageFile("English.ini", kEnglish);
    CLanguage& language = Language();
    language.Init(base, "English");
    EXPECT_EQ(language.GetString(IDS_MESSAGE_ERROR), "First line\nSecond line\tand a \\\\ and \\x");
    EXPECT_EQ(language.GetString(IDS_MESSAGE_RESTART_PROGRAM), "Please restart the program");
    EXPECT_EQ(language.GetString(IDS_MESSAGE_UNKNOWN_ERROR), "Unknown error");
    EXPECT_EQ(language.GetString(IDCANCEL_BUTTON), "Cancel");
    EXPECT_EQ(language.GetDialogText(IDC_STATIC_STATUS), "");
    EXPECT_EQ(language.GetDialogTextOrString(IDS_COLUMN_AUDIO_TIME), "Audio time(s)");
    // One key serves every number it is listed with.
    for (int id : {1137, 1139, 1144, 1145})
        EXPECT_EQ(language.GetDialogText(id), "sec.");
    EXPECT_EQ(language.GetDialogText(IDD_PROGRAM_CAPTION), "Sound fixer");
    EXPECT_EQ(language.GetDialogText(IDC_STATIC_PROGRAM_CAPTION), "Sound fixer");
    EXPECT_EQ(language.GetMenuText(IDM_ABOUT), "About it");
    EXPECT_EQ(language.GetMenuText(IDS_ABOUTBOX), "About it");
    // Every key-table row has its entry, also when empty.
    EXPECT_EQ(language.menuTexts.size() + language.stringTexts.size() + language.dialogTexts.size(),
              language::LanguageKeyTable().size());
}

TEST_F(LanguageFixture, ALongValueIsCutToTheReadBufferInCharacters) {
    WriteLanguageFile("English.ini", "[STRING]\nIDS_MESSAGE_DONE=x\nIDS_MESSAGE_WARNING=" +
                                         std::string(3000, 'w') + "\n");
    // Cyrillic in its code page, and Chinese in UTF-16: two and three bytes a character once
    // decoded, yet the buffer holds as many of them as of Latin letters.
    WriteLanguageFile("Russian.ini",
                      "[STRING]\nIDS_MESSAGE_WARNING=" + std::string(3000, '\xC6') + "\n");
    const QString chinese = QString(3000, QChar(0x4E2D));
    WriteLanguageFile("chs_unicode.ini", languagetest::Utf16LeWithBom(
                                             "[STRING]\nIDS_MESSAGE_WARNING=" + chinese + "\n"));
    CLanguage& language = Language();
    language.Init(base, "English");
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING).size(), 2047);
    for (const auto& [name, character] :
         {std::pair("Russian", QChar(0x0416)), std::pair("chs_unicode", QChar(0x4E2D))}) {
        QString selected = name;
        language.SelectLanguage(selected);
        const QString warning = language.GetString(IDS_MESSAGE_WARNING);
        EXPECT_EQ(warning.size(), 2047) << name;
        EXPECT_EQ(warning.count(character), 2047) << name;
    }
}

TEST_F(LanguageFixture, ANameThatNamesNoLocaleWarnsButItsTextsAreUsed) {
    WriteLanguageFile("Deutsch.ini", "[STRING]\r\nIDS_MESSAGE_WARNING=Warnung\r\n");
    CLanguage& language = Language();
    language.Init(base, "Deutsch");
    ASSERT_EQ(scope.prompts.messages.size(), 1u);
    EXPECT_EQ(scope.prompts.messages[0].text,
              "Your language file name may be not proper,\n please read the help file!");
    EXPECT_EQ(scope.prompts.messages[0].caption, "deutsch");
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING), "Warnung");
    EXPECT_EQ(language.primaryLanguage, 9);
    EXPECT_EQ(language.subLanguage, 1);
}

TEST_F(LanguageFixture, AUtf8FileIsDecodedAndItsShortenedNameFindsTheLocale) {
    WriteLanguageFile("German_Germany_utf-8.ini",
                      "\xEF\xBB\xBF[STRING]\r\nIDS_MESSAGE_WARNING=Achtung: \xC3\xA4\r\n");
    CLanguage& language = Language();
    language.Init(base, "German_Germany_utf-8");
    EXPECT_EQ(language.encoding, LanguageEncoding::Utf8);
    EXPECT_EQ(language.primaryLanguage, 7);
    EXPECT_EQ(language.subLanguage, 1);
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING), QString::fromUtf8("Achtung: \xC3\xA4"));
    EXPECT_TRUE(scope.prompts.messages.empty());
}

TEST_F(LanguageFixture, AUnicodeFileIsUtf16AndItsAbbreviationFindsTheFirstRow) {
    const QString warning = QString::fromUtf8("\xE8\xAD\xA6\xE5\x91\x8A"); // "warning" in Chinese
    WriteLanguageFile(
        "chs_unicode.ini",
        languagetest::Utf16LeWithBom("[STRING]\r\nIDS_MESSAGE_WARNING=" + warning + "\r\n"));
    CLanguage& language = Language();
    language.Init(base, "chs_unicode");
    EXPECT_EQ(language.encoding, LanguageEncoding::Unicode);
    // Chinese_Peoples_Republic_of_China, 0x0804.
    EXPECT_EQ(language.primaryLanguage, 4);
    EXPECT_EQ(language.subLanguage, 2);
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING), warning);
}

TEST_F(LanguageFixture, AnAnsiFileIsReadInItsLanguagesCodePage) {
    WriteLanguageFile("German_Germany.ini", "[STRING]\r\nIDS_MESSAGE_WARNING=Gef\xE4hrlich\r\n");
    WriteLanguageFile("Russian.ini",
                      "[STRING]\r\nIDS_MESSAGE_WARNING=\xC2\xED\xE8\xEC\xE0\xED\xE8\xE5\r\n");
    CLanguage& language = Language();
    language.Init(base, "German_Germany");
    EXPECT_EQ(language.encoding, LanguageEncoding::Ansi);
    EXPECT_EQ(language.GetString(IDS_MESSAGE_WARNING), QString::fromUtf8("Gef\xC3\xA4hrlich"));
    QString name = "Russian";
    language.SelectLanguage(name);
    EXPECT_EQ(
        language.GetString(IDS_MESSAGE_WARNING),
        QString::fromUtf8("\xD0\x92\xD0\xBD\xD0\xB8\xD0\xBC\xD0\xB0\xD0\xBD\xD0\xB8\xD0\xB5"));
}

TEST_F(LanguageFixture, NumbersKeepTheirDecimalPointAfterALoad) {
    WriteLanguageFile("German_Germany.ini", "[STRING]\r\n");
    const char* previous = std::getenv("LC_ALL");
    const std::string saved = previous ? previous : "";
    setenv("LC_ALL", "C.UTF-8", 1);
    Language().Init(base, "German_Germany");
    if (previous)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", 2.5);
    EXPECT_STREQ(text, "2.50");
    EXPECT_DOUBLE_EQ(std::strtod("0.25", nullptr), 0.25);
}

TEST_F(LanguageFixture, TheBaseDirectoryIsTheParentOnlyWhenItHoldsEnglish) {
    // The program's layout, laid out again in a folder of the test's own.
    const QString programFolder = base + "/bin";
    QDir(base).mkpath("bin");
    EXPECT_EQ(CLanguage::FindBaseDirectory(programFolder), programFolder);
    WriteLanguageFile("English.ini", "[STRING]\r\n");
    EXPECT_EQ(CLanguage::FindBaseDirectory(programFolder), base);
    // Only the folder beside the program's own counts.
    EXPECT_EQ(CLanguage::FindBaseDirectory(base + "/bin/deeper"), base + "/bin/deeper");
}

TEST_F(LanguageFixture, AnInstalledProgramFindsItsDataFolderAndTheEnglishFileInAnyCase) {
    const QString prefix = testsupport::TemporaryFolder();
    QDir(prefix).mkpath("bin");
    QDir(prefix).mkpath("share/quillet/language");
    EXPECT_EQ(CLanguage::FindBaseDirectory(prefix + "/bin"), prefix + "/bin");
    testsupport::WriteFileBytes((prefix + "/share/quillet/language/english.INI").toStdString(),
                                "[STRING]\r\n");
    EXPECT_EQ(CLanguage::FindBaseDirectory(prefix + "/bin"), prefix + "/share/quillet");
    // A language folder beside the program's folder comes first.
    QDir(prefix).mkpath("language");
    testsupport::WriteFileBytes((prefix + "/language/ENGLISH.ini").toStdString(), "");
    EXPECT_EQ(CLanguage::FindBaseDirectory(prefix + "/bin"), prefix);
}

TEST_F(LanguageFixture, EveryLanguageLoadsItsOwnFont) {
    WriteLanguageFile("English.ini", kEnglish);
    WriteLanguageFile("German_Germany.ini", "[STRING]\r\n");
    CLanguage& language = Language();
    language.Init(base, "English");
    ASSERT_TRUE(language.dialogFont.has_value());
    EXPECT_EQ(language.dialogFont->family(), "Microsoft Sans Serif");
    EXPECT_EQ(language.dialogFont->pixelSize(), 11);
    EXPECT_FALSE(language.dialogFont->bold());

    QFont bold("DejaVu Sans");
    bold.setPixelSize(16);
    bold.setBold(true);
    EXPECT_TRUE(language.SaveFont(bold));
    QString name = "German_Germany";
    language.SelectLanguage(name);
    EXPECT_FALSE(language.dialogFont->bold());
    name = "English";
    language.SelectLanguage(name);
    EXPECT_TRUE(language.dialogFont->bold());
    EXPECT_EQ(language.dialogFont->pixelSize(), 16);
    EXPECT_EQ(language.dialogFont->family(), "DejaVu Sans");
}
